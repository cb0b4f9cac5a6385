// What a log view does: word and bound selection, next and previous
// highlight, bookmarks, red lines, go to line, the wheel, following the end
// of a growing document, find, margin clicks and the caret status text.

#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QLineEdit>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QWheelEvent>

#include "RealProgram.h"
#include "ViewTestFakes.h"
#include "app/TarvikApp.h"
#include "platform/Registry.h"
#include "uisupport/ViewHarnessWindow.h"
#include "view/GoToLineDialog.h"
#include "view/WordSelection.h"

using core::TextPos;
using viewtest::MakeView;

namespace {

QPoint CellPoint(const view::CCrystalTextView& v, int column, int row) {
    return {view::kMarginWidth + column * v.CharWidth() + 1, row * v.LineHeight() + 2};
}

void Wheel(view::CCrystalTextView& v, int delta, Qt::KeyboardModifiers modifiers = {},
           int deltaX = 0) {
    const QPointF at(100, 50);
    QWheelEvent event(at, v.viewport()->mapToGlobal(at.toPoint()), QPoint(), QPoint(deltaX, delta),
                      Qt::NoButton, modifiers, Qt::NoScrollPhase, false);
    QApplication::sendEvent(v.viewport(), &event);
}

QStringList Numbered(int count, const QString& prefix = QStringLiteral("line ")) {
    QStringList lines;
    for (int i = 0; i < count; ++i) lines << prefix + QString::number(i);
    return lines;
}

}  // namespace

class ViewBehaviourTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        QVERIFY(dir_.isValid());
        platform::registry_store::UsePath((dir_.path() + "/registry.db").toStdString());
    }

    void boundAndWordRanges() {
        const view::BoundPairs on{true, u"\"[(", u"\"])"};
        const view::BoundPairs off{false, u"\"[(", u"\"])"};
        const std::u16string_view quoted = u"say \"abc def\" now";
        QCOMPARE(view::WordOrBoundRange(quoted, 10, on), (view::CharRange{5, 12}));
        QCOMPARE(view::WordOrBoundRange(quoted, 10, off), (view::CharRange{9, 12}));
        // No closing parenthesis after the click: the range runs to the line end.
        QCOMPARE(view::WordOrBoundRange(u"(abc) def", 7, on), (view::CharRange{1, 9}));
        // Bounds do not nest: the nearest left bound wins.
        QCOMPARE(view::WordOrBoundRange(u"[a (b] c)", 5, on), (view::CharRange{4, 8}));
        QCOMPARE(view::WordOrBoundRange(u"foo_bar1 baz", 3, on), (view::CharRange{0, 8}));
        QCOMPARE(view::WordOrBoundRange(u"", 3, on), (view::CharRange{0, 0}));
    }

    void doubleClickAndCtrlClickSelectBetweenBounds() {
        settings::Options options;
        core::CCrystalTextBuffer buffer;
        viewtest::Fill(buffer, {"say \"abc def\" now", "(abc) def"});
        auto v = MakeView(options, buffer, nullptr);
        QTest::mouseDClick(v->viewport(), Qt::LeftButton, {}, CellPoint(*v, 10, 0));
        QCOMPARE(v->SelectedText(), QStringLiteral("abc def"));
        QCOMPARE(v->GetCursorPos(), (TextPos{12, 0}));
        QTest::mouseClick(v->viewport(), Qt::LeftButton, Qt::ControlModifier, CellPoint(*v, 7, 1));
        QCOMPARE(v->SelectedText(), QStringLiteral("abc) def"));
        options.SpecialSelect = false;
        QTest::mouseDClick(v->viewport(), Qt::LeftButton, {}, CellPoint(*v, 10, 0));
        QCOMPARE(v->SelectedText(), QStringLiteral("def"));
    }

    void nextHighlightWalksForwardAndWraps() {
        settings::Options options;
        core::CCrystalTextBuffer buffer;
        viewtest::Fill(buffer, {"x abc", "abc y abc z abc", "none", "abc"});
        viewtest::PhraseColorProvider colors(u"abc", options);
        auto v = MakeView(options, buffer, &colors);
        v->SetCursorPos({0, 1});
        const QList<TextPos> expected = {{0, 1}, {6, 1}, {12, 1}, {0, 3}, {2, 0}, {0, 1}};
        for (const TextPos& start : expected) {
            QVERIFY(v->OnCommand(view::kCmdNextHighlight));
            QCOMPARE(v->SelectionStart(), start);
            QCOMPARE(v->SelectionEnd(), (TextPos{start.ch + 3, start.line}));
            QCOMPARE(v->GetCursorPos(), v->SelectionEnd());
        }
    }

    void previousHighlightWalksBackAndWraps() {
        settings::Options options;
        core::CCrystalTextBuffer buffer;
        viewtest::Fill(buffer, {"x abc", "abc y abc z abc", "none", "abc"});
        viewtest::PhraseColorProvider colors(u"abc", options);
        auto v = MakeView(options, buffer, &colors);
        // The caret just after the third match: the second comes first, as
        // the caret ends after each match selected.
        v->SetCursorPos({15, 1});
        const QList<TextPos> expected = {{6, 1}, {0, 1}, {2, 0}, {0, 3}, {12, 1}};
        for (const TextPos& start : expected) {
            QVERIFY(v->OnCommand(view::kCmdPreviousHighlight));
            QCOMPARE(v->SelectionStart(), start);
        }
    }

    void wrapSkipsMatchesBeforeTheCaretOnItsOwnLine() {
        settings::Options options;
        core::CCrystalTextBuffer buffer;
        viewtest::Fill(buffer, {"plain", "abc abc", "plain"});
        viewtest::PhraseColorProvider colors(u"abc", options);
        auto v = MakeView(options, buffer, &colors);
        v->SetCursorPos({5, 1});
        v->OnCommand(view::kCmdNextHighlight);
        QVERIFY(!v->HasSelection());
        QCOMPARE(v->GetCursorPos(), (TextPos{5, 1}));

        viewtest::PhraseColorProvider none(u"", options);
        v->SetColorProvider(&none);
        QVERIFY(!v->IsCommandEnabled(view::kCmdNextHighlight));
    }

    void highlightJumpCopiesWithAutoCopy() {
        settings::Options options;
        options.AutoCopy = true;
        core::CCrystalTextBuffer buffer;
        viewtest::Fill(buffer, {"one abc two"});
        viewtest::PhraseColorProvider colors(u"abc", options);
        auto v = MakeView(options, buffer, &colors);
        QApplication::clipboard()->setText(QStringLiteral("before"));
        v->OnCommand(view::kCmdNextHighlight);
        QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("abc"));
        v->OnCommand(view::kCmdEditSelectAll);
        QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("one abc two"));
    }

    void numberedBookmarkMovesToTheNewLine() {
        settings::Options options;
        core::CCrystalTextBuffer buffer;
        viewtest::Fill(buffer, Numbered(10));
        auto v = MakeView(options, buffer, nullptr);
        const std::uint32_t three = core::NumberedBookmarkFlag(3);
        v->SetCursorPos({0, 2});
        v->OnCommand(view::kCmdToggleNumbered0 + 3);
        QCOMPARE(buffer.FindLineWithFlag(three), 2);
        v->SetCursorPos({0, 5});
        v->OnCommand(view::kCmdToggleNumbered0 + 3);
        QCOMPARE(buffer.LineFlags(2) & three, 0u);
        QCOMPARE(buffer.FindLineWithFlag(three), 5);

        v->SetCursorPos({3, 0});
        QVERIFY(v->JumpToNumberedBookmark(3));
        QCOMPARE(v->GetCursorPos(), (TextPos{0, 5}));
        QVERIFY(!v->JumpToNumberedBookmark(4));

        v->SetCursorPos({0, 5});
        v->OnCommand(view::kCmdToggleNumbered0 + 3);
        QCOMPARE(buffer.FindLineWithFlag(three), -1);

        v->OnCommand(view::kCmdToggleNumbered0 + 1);
        v->SetCursorPos({0, 7});
        v->OnCommand(view::kCmdToggleNumbered0 + 9);
        v->OnCommand(view::kCmdClearNumbered);
        for (int n = 0; n < core::kNumberedBookmarkCount; ++n) {
            QCOMPARE(buffer.FindLineWithFlag(core::NumberedBookmarkFlag(n)), -1);
        }
    }

    void bookmarksAndRedLinesAreVisitedInOrderWrapping() {
        settings::Options options;
        core::CCrystalTextBuffer buffer;
        viewtest::Fill(buffer, Numbered(20));
        auto v = MakeView(options, buffer, nullptr);
        QVERIFY(!v->IsCommandEnabled(view::kCmdNextBookmark));
        for (const int line : {3, 11, 17}) {
            v->SetCursorPos({2, line});
            v->OnCommand(view::kCmdToggleBookmark);
            buffer.SetLineFlag(line + 1, core::kRedLineFlag, true, false);
        }
        QVERIFY(v->IsCommandEnabled(view::kCmdNextBookmark));
        v->SetCursorPos({0, 0});
        QList<int> visited;
        for (int i = 0; i < 4; ++i) {
            v->OnCommand(view::kCmdNextBookmark);
            visited << v->GetCursorPos().line;
        }
        QCOMPARE(visited, (QList<int>{3, 11, 17, 3}));
        v->OnCommand(view::kCmdPreviousBookmark);
        QCOMPARE(v->GetCursorPos().line, 17);

        visited.clear();
        v->SetCursorPos({0, 0});
        for (int i = 0; i < 4; ++i) {
            v->OnCommand(view::kCmdNextRedLine);
            visited << v->GetCursorPos().line;
        }
        QCOMPARE(visited, (QList<int>{4, 12, 18, 4}));
        v->OnCommand(view::kCmdPreviousRedLine);
        QCOMPARE(v->GetCursorPos(), (TextPos{0, 18}));

        v->OnCommand(view::kCmdClearRedLines);
        QCOMPARE(buffer.FindLineWithFlag(core::kRedLineFlag), -1);
        v->OnCommand(view::kCmdClearBookmarks);
        QCOMPARE(buffer.FindLineWithFlag(core::kBookmarkFlag), -1);
    }

    void marginClicksSelectLinesAndToggleBookmarks() {
        settings::Options options;
        core::CCrystalTextBuffer buffer;
        viewtest::Fill(buffer, {"alpha", "beta", "gamma"});
        auto v = MakeView(options, buffer, nullptr);
        const int middle = v->LineHeight() + 2;
        QTest::mouseClick(v->viewport(), Qt::LeftButton, {}, QPoint(5, middle));
        QCOMPARE(v->SelectionStart(), (TextPos{0, 1}));
        QCOMPARE(v->SelectionEnd(), (TextPos{0, 2}));
        QTest::mouseClick(v->viewport(), Qt::LeftButton, Qt::ControlModifier, QPoint(5, middle));
        QCOMPARE(v->SelectedText(), QStringLiteral("alpha\r\nbeta\r\ngamma"));
        QTest::mouseDClick(v->viewport(), Qt::LeftButton, {}, QPoint(5, middle));
        QVERIFY(buffer.LineFlags(1) & core::kBookmarkFlag);
        QTest::mouseDClick(v->viewport(), Qt::LeftButton, {}, QPoint(5, middle));
        QCOMPARE(buffer.LineFlags(1) & core::kBookmarkFlag, 0u);
    }

    void goToLineDialogAcceptsTheLastLineAndRemembersIt() {
        settings::Options options;
        core::CCrystalTextBuffer buffer;
        viewtest::Fill(buffer, Numbered(50));
        auto v = MakeView(options, buffer, nullptr);
        QCOMPARE(v->LastGoToLine(), 1);
        QTimer::singleShot(0, [] {
            auto* dialog = qobject_cast<view::CGoToLineDialog*>(QApplication::activeModalWidget());
            QVERIFY(dialog);
            QCOMPARE(dialog->LineEdit()->text(), QStringLiteral("1"));
            dialog->LineEdit()->setText(QStringLiteral("50"));
            dialog->accept();
        });
        v->OnCommand(view::kCmdGoToLine);
        QCOMPARE(v->GetCursorPos(), (TextPos{0, 49}));
        QCOMPARE(v->LastGoToLine(), 50);
        QVERIFY(v->GetTopLine() <= 49 && 49 < v->GetTopLine() + v->GetScreenLines());
        QVERIFY(!view::CGoToLineDialog::ParseLine(QStringLiteral("0"), 50));
        QVERIFY(!view::CGoToLineDialog::ParseLine(QStringLiteral("51"), 50));
        QCOMPARE(view::CGoToLineDialog::RangeMessage(50),
                 QStringLiteral("Please enter a number between 1 and 50."));
    }

    void postedGoToLineAndEndClampIntoTheText() {
        settings::Options options;
        core::CCrystalTextBuffer buffer;
        viewtest::Fill(buffer, Numbered(30));
        auto v = MakeView(options, buffer, nullptr);
        v->PostGoToLine(1000);
        QCOMPARE(v->GetCursorPos(), (TextPos{0, 0}));
        QApplication::processEvents();
        QCOMPARE(v->GetCursorPos(), (TextPos{0, 29}));
        v->SetCursorPos({0, 0});
        v->SetSelection({0, 0}, {3, 2});
        v->OnCommand(view::kCmdGoToEndMenu);
        QApplication::processEvents();
        QCOMPARE(v->GetCursorPos(), (TextPos{7, 29}));
        QVERIFY(!v->HasSelection());
        QCOMPARE(v->CaretStatusText(), QStringLiteral("Ln 30, Col 8"));
    }

    void wheelScrollsTheConfiguredStepPerNotch() {
        settings::Options options;
        options.MouseWheelScrollLines = 4;
        options.MouseWheelScrollColumns = 12;
        core::CCrystalTextBuffer buffer;
        viewtest::Fill(buffer, Numbered(200, QString(400, u'x')));
        auto v = MakeView(options, buffer, nullptr);
        v->ResetView();
        Wheel(*v, -120);
        QCOMPARE(v->GetTopLine(), 4);
        // A fine wheel or a touchpad: three thirds of a notch make one notch.
        Wheel(*v, -40);
        Wheel(*v, -40);
        QCOMPARE(v->GetTopLine(), 4);
        Wheel(*v, -40);
        QCOMPARE(v->GetTopLine(), 8);
        Wheel(*v, 0);
        QCOMPARE(v->GetTopLine(), 8);
        // Half a notch back drops what was left of the other way.
        Wheel(*v, -60);
        Wheel(*v, 60);
        Wheel(*v, 60);
        QCOMPARE(v->GetTopLine(), 4);
        Wheel(*v, 240);
        QCOMPARE(v->GetTopLine(), 0);
        Wheel(*v, -120, Qt::ControlModifier);
        QCOMPARE(v->GetFirstVisibleColumn(), 12);
        QCOMPARE(v->GetTopLine(), 0);
        Wheel(*v, 120, Qt::ControlModifier);
        QCOMPARE(v->GetFirstVisibleColumn(), 0);
        // Sideways: the x axis, or Shift with the vertical wheel.
        Wheel(*v, 0, {}, -120);
        QCOMPARE(v->GetFirstVisibleColumn(), 12);
        QCOMPARE(v->GetTopLine(), 0);
        Wheel(*v, -120, Qt::ShiftModifier);
        QCOMPARE(v->GetFirstVisibleColumn(), 24);
        QCOMPARE(v->GetTopLine(), 0);
        Wheel(*v, 0, {}, 120);
        QCOMPARE(v->GetFirstVisibleColumn(), 12);
        for (int i = 0; i < 100; ++i) Wheel(*v, -120);
        QCOMPARE(v->GetTopLine(), 200 - v->GetScreenLines());
    }

    void scrollToEndFollowsAppends() {
        settings::Options options;
        core::CCrystalTextBuffer buffer;
        viewtest::Fill(buffer, Numbered(5));
        auto v = MakeView(options, buffer, nullptr);
        const int screen = v->GetScreenLines();
        QVERIFY(screen > 5);
        v->ScrollToEnd();
        QCOMPARE(v->GetTopLine(), 0);
        viewtest::Append(*v->Buffer(), QStringLiteral("\r\nmore").repeated(100));
        QCOMPARE(v->GetTopLine(), 0);
        v->ScrollToEnd();
        QCOMPARE(v->GetTopLine(), 105 - screen);
        int first = 0;
        int last = 0;
        v->GetVisibleRange(first, last);
        QCOMPARE(last, 104);
        // A reset returns to the top with the caret at the start.
        v->SetCursorPos({2, 50});
        buffer.ResetEmpty();
        QCOMPARE(v->GetTopLine(), 0);
        QCOMPARE(v->GetCursorPos(), (TextPos{0, 0}));
    }

    void documentFollowsItsGrowingFile() {
        app::CTarvikApp app;
        view::CViewHarnessWindow window(app);
        app.SetDocumentHost(&window);
        app.SetUserInterface(&window);
        window.resize(800, 400);
        window.show();
        const QString path = dir_.path() + "/grow.log";
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("first\nsecond\n");
        file.flush();
        core::CTarvikDoc* doc = app.OpenDocument(path.toStdU16String());
        QVERIFY(doc);
        QApplication::processEvents();
        view::CTarvikView* v = window.View();
        for (int i = 0; i < 300; ++i)
            file.write(QByteArray("appended line ") + QByteArray::number(i) + "\n");
        file.flush();
        app.OnRefreshTick();
        QApplication::processEvents();
        const int lines = v->Buffer()->LineCount();
        QVERIFY(lines > 300);
        QCOMPARE(v->GetTopLine(), std::max(0, lines - v->GetScreenLines()));
        app.CloseDocument(doc);
        app.SetDocumentHost(nullptr);
        app.SetUserInterface(nullptr);
    }

    void findNextSelectsMatchesAndWraps() {
        settings::Options options;
        core::CCrystalTextBuffer buffer;
        viewtest::Fill(buffer, {"Alpha beta", "gamma ALPHA", "alphabet"});
        auto v = MakeView(options, buffer, nullptr);
        view::FindRequest request;
        request.text = QStringLiteral("alpha");
        request.wholeWord = true;
        QVERIFY(v->FindNext(request));
        QCOMPARE(v->SelectionStart(), (TextPos{0, 0}));
        QVERIFY(v->FindNext(request));
        QCOMPARE(v->SelectionStart(), (TextPos{6, 1}));
        QVERIFY(v->FindNext(request));
        QCOMPARE(v->SelectionStart(), (TextPos{0, 0}));
        request.matchCase = true;
        request.wholeWord = false;
        QVERIFY(v->FindNext(request));
        QCOMPARE(v->SelectionStart(), (TextPos{0, 2}));
        request.down = false;
        request.text = QStringLiteral("a");
        QVERIFY(v->FindNext(request));
        QCOMPARE(v->SelectionStart(), (TextPos{4, 1}));
        request.regularExpression = true;
        request.text = QStringLiteral("(");
        QVERIFY(!v->FindNext(request));
    }

    void editsGoThroughTheBufferWithUndo() {
        settings::Options options;
        core::CCrystalTextBuffer buffer;
        viewtest::Fill(buffer, {"hello world"});
        auto v = MakeView(options, buffer, nullptr);
        v->SelectRange({6, 0}, {11, 0});
        v->OnCommand(view::kCmdEditCut);
        QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("world"));
        QCOMPARE(QString::fromStdU16String(std::u16string(buffer.LineText(0))),
                 QStringLiteral("hello "));
        v->OnCommand(view::kCmdEditPaste);
        v->OnCommand(view::kCmdEditPaste);
        QCOMPARE(QString::fromStdU16String(std::u16string(buffer.LineText(0))),
                 QStringLiteral("hello worldworld"));
        v->OnCommand(view::kCmdEditUndo);
        QCOMPARE(QString::fromStdU16String(std::u16string(buffer.LineText(0))),
                 QStringLiteral("hello world"));
        v->OnCommand(view::kCmdEditRedo);
        QCOMPARE(buffer.LineLength(0), 16);
    }

    void keyboardMovesAndExtendsTheSelection() {
        settings::Options options;
        core::CCrystalTextBuffer buffer;
        viewtest::Fill(buffer, {"one two", "\tx", "three"});
        auto v = MakeView(options, buffer, nullptr);
        v->setFocus();
        QTest::keyClick(v.get(), Qt::Key_Right, Qt::ControlModifier);
        QCOMPARE(v->GetCursorPos(), (TextPos{4, 0}));
        QTest::keyClick(v.get(), Qt::Key_Down, Qt::ShiftModifier);
        // Column 4 on a line starting with a tab is just after the tab.
        QCOMPARE(v->GetCursorPos(), (TextPos{1, 1}));
        QCOMPARE(v->SelectionStart(), (TextPos{4, 0}));
        QTest::keyClick(v.get(), Qt::Key_End);
        QCOMPARE(v->GetCursorPos(), (TextPos{2, 1}));
        QVERIFY(!v->HasSelection());
        QTest::keyClick(v.get(), Qt::Key_Home, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(v->SelectionStart(), (TextPos{0, 0}));
        QCOMPARE(v->SelectionEnd(), (TextPos{2, 1}));
        QCOMPARE(v->CaretStatusText(), QStringLiteral("Ln 1, Col 1"));
    }

    // Selecting by mouse or keyboard offers the text as the primary
    // selection (middle-click paste); the clipboard is left alone without
    // AutoCopy. Offscreen has no primary selection, so the test runs itself
    // again on a real X server.
    void selectingFillsThePrimarySelection() {
        if (!QApplication::clipboard()->supportsSelection()) {
            if (!realprogram::XServer::Available()) QSKIP("Xvfb is needed for a primary selection");
            realprogram::XServer server;
            QVERIFY(!server.Display().isEmpty());
            QProcess self;
            self.setProcessEnvironment(realprogram::XProgramEnvironment(
                server.Display(), dir_.filePath(QStringLiteral("x-registry.db")), dir_.path()));
            self.start(QCoreApplication::applicationFilePath(),
                       {QStringLiteral("selectingFillsThePrimarySelection")});
            QVERIFY(self.waitForFinished(60000));
            const QByteArray said = self.readAllStandardOutput() + self.readAllStandardError();
            QVERIFY2(self.exitCode() == 0, said.constData());
            QVERIFY2(!said.contains("SKIP"), said.constData());
            return;
        }
        QClipboard* clipboard = QApplication::clipboard();
        clipboard->setText(QStringLiteral("kept"));
        clipboard->setText(QStringLiteral("before"), QClipboard::Selection);
        settings::Options options;
        options.AutoCopy = false;
        core::CCrystalTextBuffer buffer;
        viewtest::Fill(buffer, {"alpha beta", "gamma"});
        auto v = MakeView(options, buffer, nullptr);
        v->setFocus();
        QTest::mouseDClick(v->viewport(), Qt::LeftButton, {}, CellPoint(*v, 7, 0));
        QCOMPARE(clipboard->text(QClipboard::Selection), QStringLiteral("beta"));
        QTest::keyClick(v.get(), Qt::Key_Home);
        QCOMPARE(clipboard->text(QClipboard::Selection), QStringLiteral("beta"));
        QTest::keyClick(v.get(), Qt::Key_Down, Qt::ShiftModifier);
        QCOMPARE(clipboard->text(QClipboard::Selection), QStringLiteral("alpha beta\r\n"));
        QCOMPARE(clipboard->text(), QStringLiteral("kept"));
    }

private:
    QTemporaryDir dir_;
};

QTEST_MAIN(ViewBehaviourTest)
#include "ViewBehaviourTest.moc"
