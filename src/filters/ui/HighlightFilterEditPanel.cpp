#include "filters/ui/HighlightFilterEditPanel.h"

#include <QApplication>
#include <QCheckBox>
#include <QEvent>
#include <QFileDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QSpinBox>
#include <QVBoxLayout>

#include "filters/HighlightFilterTakeOver.h"
#include "filters/ui/ColorChoice.h"
#include "filters/ui/RegexHelp.h"
#include "view/ColorRef.h"
#include "view/DialogParts.h"

namespace filters_ui {

namespace {

using filters::HighlightSetting;

QLabel* BuddyLabel(const QString& text, QWidget* buddy) {
    auto* label = new QLabel(text);
    label->setBuddy(buddy);
    return label;
}

// Dependent rows sit a little to the right of their check box.
QHBoxLayout* Indented(std::initializer_list<QWidget*> widgets) {
    auto* row = new QHBoxLayout;
    row->addSpacing(20);
    bool stretched = false;
    for (QWidget* widget : widgets) {
        const bool stretch = qobject_cast<QLineEdit*>(widget) != nullptr;
        row->addWidget(widget, stretch ? 1 : 0);
        stretched = stretched || stretch;
    }
    if (!stretched) row->addStretch(1);
    return row;
}

std::u16string Text(const QLineEdit* edit) {
    return edit->text().toStdU16String();
}

}  // namespace

CHighlightFilterEditPanel::CHighlightFilterEditPanel(QWidget* parent) : QWidget(parent) {
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->addWidget(BuildFilterGroup());
    // The actions scroll when the screen is too low for all of them, so OK
    // and Cancel stay on a small screen.
    QGroupBox* actions = BuildActionGroup();
    auto* scroll = new QScrollArea;
    scroll->setObjectName(QStringLiteral("ActionScroll"));
    scroll->setWidget(actions);
    scroll->setWidgetResizable(true);
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    scroll->setMinimumWidth(actions->minimumSizeHint().width() +
                            scroll->verticalScrollBar()->sizeHint().width());
    column->addWidget(scroll, 1);
    // A field that takes the focus (by key or after a refused OK) is shown.
    connect(qApp, &QApplication::focusChanged, scroll, [scroll](QWidget*, QWidget* now) {
        if (now && scroll->widget()->isAncestorOf(now)) scroll->ensureWidgetVisible(now);
    });
    Clear();
}

void CHighlightFilterEditPanel::Clear() {
    // Without a filter the colours are those of ordinary text.
    filters::HighlightFilter empty;
    empty.TextColor = view::ToColorRef(palette().color(QPalette::Text));
    empty.BkgColor = view::ToColorRef(palette().color(QPalette::Base));
    Load(&empty);
    Load(nullptr);
}

QCheckBox* CHighlightFilterEditPanel::Check(const QString& text, const char* name,
                                            HighlightSetting setting) {
    auto* box = new QCheckBox(text);
    box->setObjectName(QLatin1String(name));
    connect(box, &QCheckBox::toggled, this, [this, setting] {
        UpdateEnabling();
        if (!loading_) emit settingEdited(setting);
    });
    return box;
}

QLineEdit* CHighlightFilterEditPanel::Edit(const char* name, HighlightSetting setting) {
    auto* edit = new QLineEdit;
    edit->setObjectName(QLatin1String(name));
    view::AllowAnyLength(edit);
    connect(edit, &QLineEdit::textChanged, this, [this, setting] {
        if (!loading_) emit settingEdited(setting);
    });
    return edit;
}

QPushButton* CHighlightFilterEditPanel::Browser(const char* name, QLineEdit* target, bool save,
                                                const QString& filter) {
    QPushButton* button = view::DialogButton(QStringLiteral("..."), name);
    button->setMaximumWidth(button->fontMetrics().horizontalAdvance(QStringLiteral("MMMM")));
    connect(button, &QPushButton::clicked, this, [this, target, save, filter] {
        const QString path =
            save ? QFileDialog::getSaveFileName(this, QString(), target->text(), filter)
                 : QFileDialog::getOpenFileName(this, QString(), target->text(), filter);
        if (!path.isEmpty()) target->setText(path);
    });
    return button;
}

QGroupBox* CHighlightFilterEditPanel::BuildFilterGroup() {
    auto* group = new QGroupBox(tr("Selected filter"));
    auto* grid = new QGridLayout(group);
    phrase_ = Edit("HighlightPhrase", HighlightSetting::Phrase);
    // The phrase keeps its colours when it has the focus or is disabled.
    phrase_->setAutoFillBackground(true);
    QPushButton* help = view::DialogButton(tr("&?"), "RegexHelp");
    help->setMaximumWidth(help->fontMetrics().horizontalAdvance(QStringLiteral("MMM")));
    connect(help, &QPushButton::clicked, this, [this] { OpenRegexHelp(); });
    grid->addWidget(BuddyLabel(tr("&Highlight phrase:"), phrase_), 0, 0);
    grid->addWidget(phrase_, 0, 1, 1, 3);
    grid->addWidget(help, 0, 4);

    matchCase_ = Check(tr("&Match case"), "MatchCase", HighlightSetting::MatchCase);
    regularExpression_ =
        Check(tr("Reg&ular expression"), "RegularExpression", HighlightSetting::RegularExpression);
    enable_ = Check(tr("Ena&ble the filter"), "Enable", HighlightSetting::Enable);
    textColorButton_ = view::DialogButton(tr("&Text Color"), "TextColor");
    bkgColorButton_ = view::DialogButton(tr("Bac&kground Color"), "BkgColor");
    connect(textColorButton_, &QPushButton::clicked, this, [this] { ChooseFilterColor(true); });
    connect(bkgColorButton_, &QPushButton::clicked, this, [this] { ChooseFilterColor(false); });
    grid->addWidget(matchCase_, 1, 1);
    grid->addWidget(regularExpression_, 1, 2);
    grid->addWidget(enable_, 1, 3);
    auto* colors = new QHBoxLayout;
    colors->addWidget(textColorButton_);
    colors->addWidget(bkgColorButton_);
    colors->addStretch(1);
    grid->addLayout(colors, 2, 1, 1, 3);

    entireLine_ = Check(tr("Hi&ghlight entire line with same text and background colors"),
                        "HighlightEntireLine", HighlightSetting::HighlightEntireLine);
    grid->addWidget(entireLine_, 3, 1, 1, 3);
    replaceWith_ = Check(tr("Show as:"), "ReplaceWith", HighlightSetting::ReplaceWith);
    replaceText_ = Edit("ReplaceText", HighlightSetting::ReplaceText);
    grid->addWidget(replaceWith_, 4, 1);
    grid->addWidget(replaceText_, 4, 2, 1, 2);
    grid->setColumnStretch(3, 1);
    return group;
}

QGroupBox* CHighlightFilterEditPanel::BuildActionGroup() {
    auto* group = new QGroupBox(tr("While the phrase occurs"));
    auto* column = new QVBoxLayout(group);
    const QString anyFile = tr("All Files (*)");

    execute_ = Check(tr("&Execute a program"), "ExecuteProgram", HighlightSetting::ExecuteProgram);
    program_ = Edit("ExecutableProgram", HighlightSetting::ExecutableProgram);
    // Programs here carry no extension, so the filter shows every file.
    browseProgram_ = Browser("BrowseProgram", program_, false, tr("Executable File (*)"));
    column->addWidget(execute_);
    column->addLayout(
        Indented({BuddyLabel(tr("Comman&d Line:"), program_), program_, browseProgram_}));

    print_ = Check(tr("&Print matched line to the default printer"), "PrintLine",
                   HighlightSetting::Print);
    column->addWidget(print_);
    desktopNotice_ = Check(tr("Show a desktop not&ification"), "ShowDesktopNotification",
                           HighlightSetting::ShowDesktopNotification);
    column->addWidget(desktopNotice_);

    writeFile_ =
        Check(tr("&Write matched line to another file"), "WriteFile", HighlightSetting::WriteFile);
    writtenFile_ = Edit("WrittenFile", HighlightSetting::WrittenFile);
    browseWrittenFile_ = Browser("BrowseWrittenFile", writtenFile_, true, anyFile);
    timestamp_ =
        Check(tr("Write timestamp"), "IncludeTimestamp", HighlightSetting::IncludeTimestamp);
    fileName_ =
        Check(tr("Write log file name"), "IncludeFileName", HighlightSetting::IncludeFileName);
    column->addWidget(writeFile_);
    column->addLayout(
        Indented({BuddyLabel(tr("File:"), writtenFile_), writtenFile_, browseWrittenFile_}));
    column->addLayout(Indented({timestamp_, fileName_}));

    sendEmail_ = Check(tr("&Send a notification email"), "SendEmail", HighlightSetting::SendEmail);
    emails_ = Edit("Emails", HighlightSetting::Emails);
    auto* hint =
        new QLabel(tr("* ONLY email address, DO NOT include name.\n"
                      "* Use commas to separate multiple email addresses."));
    hint->setEnabled(false);
    attachPrevious_ = new QSpinBox;
    attachPrevious_->setObjectName(QStringLiteral("AttachPreviousLines"));
    attachPrevious_->setRange(0, filters::kMaxAttachPreviousLines);
    connect(attachPrevious_, &QSpinBox::valueChanged, this, [this] {
        if (!loading_) emit settingEdited(HighlightSetting::AttachPreviousLines);
    });
    // One long sentence: it wraps beside its box rather than widen the dialog,
    // and a click on it ticks the box as on a box's own text.
    firstOccurred_ = Check(QString(), "SendFirstOccured", HighlightSetting::SendFirstOccured);
    firstOccurredText_ =
        new QLabel(tr("Send email only the phrase first occurred. Future occurrences of the "
                      "phrase will be ignored until someone confirmed the email or the log file "
                      "was re-opened or Ostra Tarvik was restarted."));
    firstOccurredText_->setObjectName(QStringLiteral("SendFirstOccuredText"));
    firstOccurredText_->setWordWrap(true);
    firstOccurredText_->installEventFilter(this);
    firstOccurred_->setAccessibleName(firstOccurredText_->text());
    column->addWidget(sendEmail_);
    column->addLayout(Indented({BuddyLabel(tr("Emails:"), emails_), emails_}));
    column->addLayout(Indented({hint}));
    column->addLayout(Indented({BuddyLabel(tr("Attach pre&vious"), attachPrevious_),
                                attachPrevious_, new QLabel(tr("line(s)"))}));
    auto* firstOccurredRow = Indented({firstOccurred_});
    firstOccurredRow->addWidget(firstOccurredText_, 100);
    column->addLayout(firstOccurredRow);

    postWebHook_ = Check(tr("Post to a web hook"), "PostWebHook", HighlightSetting::PostWebHook);
    webHookUrl_ = Edit("WebHookUrl", HighlightSetting::WebHookUrl);
    webHookUrl_->setPlaceholderText(QStringLiteral("https://"));
    webHookBody_ = Edit("WebHookBody", HighlightSetting::WebHookBody);
    webHookBody_->setPlaceholderText(tr("Empty: the default JSON body"));
    webHookBody_->setToolTip(tr("The tags of the e-mail apply: %f %h %t %n %p"));
    column->addWidget(postWebHook_);
    column->addLayout(Indented({BuddyLabel(tr("URL:"), webHookUrl_), webHookUrl_}));
    column->addLayout(Indented({BuddyLabel(tr("Bod&y:"), webHookBody_), webHookBody_}));

    onlyForFile_ = Check(tr("All a&ctions above are only available for the following file"),
                         "ActionsOnlyAvailableInSpecialFile",
                         HighlightSetting::ActionsOnlyAvailableInSpecialFile);
    availableFile_ = Edit("AvailableFile", HighlightSetting::AvailableFile);
    browseAvailableFile_ = Browser("BrowseAvailableFile", availableFile_, false, anyFile);
    column->addWidget(onlyForFile_);
    column->addLayout(
        Indented({BuddyLabel(tr("File:"), availableFile_), availableFile_, browseAvailableFile_}));
    return group;
}

void CHighlightFilterEditPanel::Load(const filters::HighlightFilter* filter) {
    hasFilter_ = filter != nullptr;
    if (filter) {
        loading_ = true;
        phrase_->setText(QString::fromStdU16String(filter->phrase.text));
        matchCase_->setChecked(filter->phrase.matchCase);
        regularExpression_->setChecked(filter->phrase.regularExpression);
        textColor_ = filter->TextColor;
        bkgColor_ = filter->BkgColor;
        entireLine_->setChecked(filter->HighlightEntireLine);
        replaceWith_->setChecked(filter->ReplaceWith);
        replaceText_->setText(QString::fromStdU16String(filter->ReplaceText));
        enable_->setChecked(filter->Enable);
        execute_->setChecked(filter->ExecuteProgram);
        program_->setText(QString::fromStdU16String(filter->ExecutableProgram));
        print_->setChecked(filter->PrintLineToDefaultPrinter);
        writeFile_->setChecked(filter->WriteFile);
        writtenFile_->setText(QString::fromStdU16String(filter->WrittenFile));
        timestamp_->setChecked(filter->IncludeTimestamp);
        fileName_->setChecked(filter->IncludeFileName);
        sendEmail_->setChecked(filter->SendEmail);
        emails_->setText(QString::fromStdU16String(filter->Emails));
        attachPrevious_->setValue(filter->AttachPreviousLinesWithEmail);
        firstOccurred_->setChecked(filter->SendFirstOccured);
        desktopNotice_->setChecked(filter->ShowDesktopNotification);
        postWebHook_->setChecked(filter->PostWebHook);
        webHookUrl_->setText(QString::fromStdU16String(filter->WebHookUrl));
        webHookBody_->setText(QString::fromStdU16String(filter->WebHookBody));
        onlyForFile_->setChecked(filter->ActionsOnlyAvailableInSpecialFile);
        availableFile_->setText(QString::fromStdU16String(filter->AvailableFile));
        loading_ = false;
    }
    ShowColors();
    UpdateEnabling();
}

void CHighlightFilterEditPanel::Apply(HighlightSetting setting,
                                      filters::HighlightFilter& filter) const {
    switch (setting) {
        case HighlightSetting::Phrase:
        case HighlightSetting::MatchCase:
        case HighlightSetting::RegularExpression:
            filter.phrase.Assign(Text(phrase_), matchCase_->isChecked(),
                                 regularExpression_->isChecked());
            break;
        case HighlightSetting::Enable:
            filter.Enable = enable_->isChecked();
            break;
        case HighlightSetting::Colors:
            filter.TextColor = textColor_;
            filter.BkgColor = bkgColor_;
            break;
        case HighlightSetting::HighlightEntireLine:
            filter.HighlightEntireLine = entireLine_->isChecked();
            break;
        case HighlightSetting::ReplaceWith:
            filter.ReplaceWith = replaceWith_->isChecked();
            break;
        case HighlightSetting::ReplaceText:
            filter.ReplaceText = Text(replaceText_);
            break;
        case HighlightSetting::ExecuteProgram:
            filter.ExecuteProgram = execute_->isChecked();
            break;
        case HighlightSetting::ExecutableProgram:
            filter.ExecutableProgram = Text(program_);
            break;
        case HighlightSetting::Print:
            filter.PrintLineToDefaultPrinter = print_->isChecked();
            break;
        case HighlightSetting::WriteFile:
            filter.WriteFile = writeFile_->isChecked();
            break;
        case HighlightSetting::WrittenFile:
            filter.WrittenFile = Text(writtenFile_);
            break;
        case HighlightSetting::IncludeTimestamp:
            filter.IncludeTimestamp = timestamp_->isChecked();
            break;
        case HighlightSetting::IncludeFileName:
            filter.IncludeFileName = fileName_->isChecked();
            break;
        case HighlightSetting::SendEmail:
            filter.SendEmail = sendEmail_->isChecked();
            break;
        case HighlightSetting::Emails:
            filter.Emails = Text(emails_);
            break;
        case HighlightSetting::AttachPreviousLines:
            filter.AttachPreviousLinesWithEmail = attachPrevious_->value();
            break;
        case HighlightSetting::SendFirstOccured:
            filter.SendFirstOccured = firstOccurred_->isChecked();
            break;
        case HighlightSetting::ShowDesktopNotification:
            filter.ShowDesktopNotification = desktopNotice_->isChecked();
            break;
        case HighlightSetting::PostWebHook:
            filter.PostWebHook = postWebHook_->isChecked();
            break;
        case HighlightSetting::WebHookUrl:
            filter.WebHookUrl = Text(webHookUrl_);
            break;
        case HighlightSetting::WebHookBody:
            filter.WebHookBody = Text(webHookBody_);
            break;
        case HighlightSetting::ActionsOnlyAvailableInSpecialFile:
            filter.ActionsOnlyAvailableInSpecialFile = onlyForFile_->isChecked();
            break;
        case HighlightSetting::AvailableFile:
            filter.SetAvailableFile(Text(availableFile_));
            break;
    }
}

filters::HighlightFilter CHighlightFilterEditPanel::NewFilter() const {
    filters::HighlightFilter filter;
    filter.Enable = true;
    filter.TextColor = textColor_;
    filter.BkgColor = bkgColor_;
    filter.HighlightEntireLine = entireLine_->isChecked();
    filter.phrase.Assign(u"", matchCase_->isChecked(), regularExpression_->isChecked());
    return filter;
}

QWidget* CHighlightFilterEditPanel::FieldControl(filters::HighlightField field) const {
    switch (field) {
        case filters::HighlightField::Phrase:
            return phrase_;
        case filters::HighlightField::ShowAsText:
            return replaceText_;
        case filters::HighlightField::Program:
            return program_;
        case filters::HighlightField::WrittenFile:
            return writtenFile_;
        case filters::HighlightField::Emails:
            return emails_;
        case filters::HighlightField::AvailableFile:
            return availableFile_;
    }
    return phrase_;
}

void CHighlightFilterEditPanel::ChooseFilterColor(bool text) {
    std::uint32_t& color = text ? textColor_ : bkgColor_;
    if (!ChooseColor(this, text ? tr("Text Color") : tr("Background Color"), color)) return;
    ShowColors();
    emit settingEdited(HighlightSetting::Colors);
}

void CHighlightFilterEditPanel::ShowColors() {
    QPalette colors = phrase_->palette();
    for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        colors.setColor(group, QPalette::Text, view::ToQColor(textColor_));
        colors.setColor(group, QPalette::Base, view::ToQColor(bkgColor_));
    }
    phrase_->setPalette(colors);
    textColorButton_->setIcon(ColorSwatch(textColor_));
    bkgColorButton_->setIcon(ColorSwatch(bkgColor_));
}

bool CHighlightFilterEditPanel::eventFilter(QObject* watched, QEvent* event) {
    if (watched == firstOccurredText_ && event->type() == QEvent::MouseButtonRelease &&
        firstOccurred_->isEnabled()) {
        firstOccurred_->toggle();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void CHighlightFilterEditPanel::UpdateEnabling() {
    const bool on = hasFilter_;
    for (QWidget* control : std::initializer_list<QWidget*>{
             phrase_, matchCase_, regularExpression_, textColorButton_, bkgColorButton_,
             entireLine_, replaceWith_, enable_, execute_, print_, desktopNotice_, writeFile_,
             sendEmail_, postWebHook_, onlyForFile_}) {
        control->setEnabled(on);
    }
    replaceText_->setEnabled(on && replaceWith_->isChecked());
    for (QWidget* control :
         {static_cast<QWidget*>(program_), static_cast<QWidget*>(browseProgram_)}) {
        control->setEnabled(on && execute_->isChecked());
    }
    for (QWidget* control :
         std::initializer_list<QWidget*>{writtenFile_, browseWrittenFile_, timestamp_, fileName_}) {
        control->setEnabled(on && writeFile_->isChecked());
    }
    for (QWidget* control : std::initializer_list<QWidget*>{emails_, attachPrevious_}) {
        control->setEnabled(on && sendEmail_->isChecked());
    }
    // Web hooks follow the e-mail's first-occurrence rule.
    const bool notifies = sendEmail_->isChecked() || postWebHook_->isChecked();
    for (QWidget* control : std::initializer_list<QWidget*>{firstOccurred_, firstOccurredText_}) {
        control->setEnabled(on && notifies);
    }
    for (QWidget* control : std::initializer_list<QWidget*>{webHookUrl_, webHookBody_}) {
        control->setEnabled(on && postWebHook_->isChecked());
    }
    for (QWidget* control :
         {static_cast<QWidget*>(availableFile_), static_cast<QWidget*>(browseAvailableFile_)}) {
        control->setEnabled(on && onlyForFile_->isChecked());
    }
}

}  // namespace filters_ui
