#include "app/ui/OptionsDialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include <algorithm>

#include "app/LogAssociation.h"
#include "app/TarvikApp.h"
#include "app/ui/BoundCharactersDialog.h"
#include "app/ui/DialogText.h"
#include "app/ui/GlobalHotKey.h"
#include "app/ui/StepRangeSpinBox.h"
#include "app/ui/TrayIcon.h"

namespace app_ui {

namespace {

using settings::Options;

constexpr int kMaxSpinValue = 32767;

// The arrangements of files reopened at start-up, in the order of their values.
const char* const kArrangements[] = {
    "Maximize",
    "Cascade",
    "Tile Horizontally",
    "Tile Horizontally Full Width",
    "Tile Vertically",
    "Tile Vertically Full Height",
    "Arrange using last viewed position",
};

const char* const kEncodings[] = {"Automatic", "UTF-16LE", "UTF-8"};

QHBoxLayout* Row(std::initializer_list<QWidget*> widgets) {
    auto* row = new QHBoxLayout;
    for (QWidget* widget : widgets) row->addWidget(widget);
    row->addStretch(1);
    return row;
}

QLabel* BuddyLabel(const QString& text, QWidget* buddy) {
    auto* label = new QLabel(text);
    label->setBuddy(buddy);
    return label;
}

// Dependent controls sit a little to the right of their master. A button
// keeps its own width; other controls take the row.
QHBoxLayout* Indented(QWidget* widget) {
    auto* row = new QHBoxLayout;
    row->addSpacing(20);
    const bool isButton = qobject_cast<QPushButton*>(widget) != nullptr;
    row->addWidget(widget, isButton ? 0 : 1);
    if (isButton) row->addStretch(1);
    return row;
}

QGroupBox* Group(const QString& title, QBoxLayout*& layout) {
    auto* group = new QGroupBox(title);
    layout = new QVBoxLayout(group);
    return group;
}

}  // namespace

COptionsDialog::COptionsDialog(app::CTarvikApp& app, core::IUserInterface* ui, QWidget* parent)
    : QDialog(parent),
      app_(app),
      ui_(ui),
      edited_(app.GetOptions()),
      associationShown_(app::IsLogAssociated(app::RunningProgramPath())) {
    setWindowTitle(tr("Options"));
    auto* columns = new QGridLayout;
    columns->addWidget(BuildGeneralGroup(), 0, 0);
    columns->addWidget(BuildStartupGroup(), 1, 0);
    columns->addWidget(BuildTrayGroup(), 2, 0);
    columns->addWidget(BuildCaptureGroup(), 3, 0);
    columns->addWidget(BuildViewGroup(), 0, 1, 2, 1);
    columns->addWidget(BuildTabGroup(), 2, 1);
    columns->addWidget(BuildPollingGroup(), 3, 1);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &COptionsDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &COptionsDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(columns);
    layout->addWidget(buttons);
    UpdateDependentControls();
}

QGroupBox* COptionsDialog::BuildGeneralGroup() {
    QBoxLayout* layout = nullptr;
    QGroupBox* group = Group(tr("General"), layout);
    AddCheck(layout, tr("Only one &instance"), "OnlyOneInstance",
             &settings::Options::OnlyOneInstance);
    associate_ = new QCheckBox(tr("&Associate with .log file"));
    associate_->setObjectName(QStringLiteral("AssociateLogFiles"));
    associate_->setChecked(associationShown_);
    layout->addWidget(associate_);
    AddCheck(layout, tr("&Display full path name of log file in window caption"), "DisplayFullPath",
             &settings::Options::DisplayFullPath);
    AddCheck(layout, tr("Display cloc&k in status bar"), "StatusbarClock",
             &settings::Options::StatusbarClock);
    AddCheck(layout, tr("&Clear window when opening a file"), "ClearWndWhenOpenFile",
             &settings::Options::ClearWndWhenOpenFile);
    AddCheck(layout, tr("Monitor file changes automatically when opening a file"), "AutoMonitor",
             &settings::Options::AutoMonitor);
    QComboBox* encoding = AddEncodingBox();
    layout->addLayout(Row({BuddyLabel(tr("Text &encoding of log files:"), encoding), encoding}));
    return group;
}

QGroupBox* COptionsDialog::BuildStartupGroup() {
    QBoxLayout* layout = nullptr;
    QGroupBox* group = Group(tr("Startup"), layout);
    QCheckBox* reopen = AddCheck(layout, tr("Re-&open recent files on startup"),
                                 "OpenFilesWhenStartup", &settings::Options::OpenFilesWhenStartup);
    QSpinBox* count = AddSpin("OpenFilesNumberWhenStartup",
                              &settings::Options::OpenFilesNumberWhenStartup, {0, 50, 1, 50});
    QLabel* countLabel = BuddyLabel(tr("Number of recent &files to open:"), count);
    QHBoxLayout* countRow = Indented(countLabel);
    countRow->addWidget(count);
    layout->addLayout(countRow);
    QCheckBox* clear = AddCheck(nullptr, tr("Clear &windows when re-opening files on startup"),
                                "ClearWndWhenOpenFileOnStartUp",
                                &settings::Options::ClearWndWhenOpenFileOnStartUp);
    layout->addLayout(Indented(clear));
    QComboBox* arrangement = AddArrangementBox();
    QLabel* arrangementLabel = BuddyLabel(tr("On &startup arrange re-opened files:"), arrangement);
    layout->addLayout(Indented(arrangementLabel));
    layout->addLayout(Indented(arrangement));
    for (QWidget* dependent : {static_cast<QWidget*>(count), static_cast<QWidget*>(countLabel),
                               static_cast<QWidget*>(clear), static_cast<QWidget*>(arrangement),
                               static_cast<QWidget*>(arrangementLabel)}) {
        Depend(reopen, dependent);
    }
    return group;
}

QGroupBox* COptionsDialog::BuildTrayGroup() {
    QBoxLayout* layout = nullptr;
    QGroupBox* group = Group(tr("System tray"), layout);
    QCheckBox* esc = AddCheck(layout, tr("Minimize to system tray when press &Esc"), "MinimizeEsc",
                              &settings::Options::MinimizeEsc);
    QCheckBox* minimized =
        AddCheck(layout, tr("&Minimize to system tray when main window minimized"),
                 "MinimizeWndMin", &settings::Options::MinimizeWndMin);
    QCheckBox* hotKey = AddCheck(
        layout, tr("Enable &hotkey Ctrl+Shift+H to show main window when minimized to systray"),
        "EnableHotkey", &settings::Options::EnableHotkey);
    const QString noHotKey = CGlobalHotKey::UnavailableReason(QGuiApplication::platformName());
    if (!noHotKey.isEmpty()) {
        auto* note = new QLabel(noHotKey);
        note->setObjectName(QStringLiteral("HotKeyNote"));
        note->setWordWrap(true);
        layout->addLayout(Indented(note));
    }
    QCheckBox* blink = AddCheck(
        layout, tr("Flash sys&tray icon to indicate new data arrived when minimized to systray"),
        "BlinkIcon", &settings::Options::BlinkIcon);
    // Without a tray these would hide the window for good; the values are
    // kept for a desktop that has one.
    if (!CTrayIcon::IsAvailable()) {
        for (QCheckBox* box : {esc, minimized, hotKey, blink}) {
            box->setEnabled(false);
            box->setToolTip(CTrayIcon::UnavailableReason());
        }
    }
    return group;
}

QGroupBox* COptionsDialog::BuildCaptureGroup() {
    QBoxLayout* layout = nullptr;
    QGroupBox* group = Group(tr("OutputDebugString"), layout);
    AddCheck(layout, tr("Capture OutputDebugString on startup"), "CaptureODSStartup",
             &settings::Options::CaptureODSStartup);
    QCheckBox* save =
        AddCheck(layout, tr("Save captured OutputDebugString to a file:"),
                 "SaveOutputDebugString2File", &settings::Options::SaveOutputDebugString2File);
    captureFile_ = new QLineEdit(ToQString(edited_.OutputDebugStringSavedFile));
    captureFile_->setObjectName(QStringLiteral("OutputDebugStringSavedFile"));
    auto* browse = new QPushButton(tr("Browse"));
    browse->setObjectName(QStringLiteral("BrowseCaptureFile"));
    connect(browse, &QPushButton::clicked, this, &COptionsDialog::BrowseCaptureFile);
    auto* fileRow = Indented(captureFile_);
    fileRow->addWidget(browse);
    layout->addLayout(fileRow);
    Depend(save, captureFile_);
    Depend(save, browse);
    return group;
}

QGroupBox* COptionsDialog::BuildViewGroup() {
    QBoxLayout* layout = nullptr;
    QGroupBox* group = Group(tr("View"), layout);
    AddCheck(layout, tr("Draw in&vert background and text color for selected text"),
             "InvertColorSelText", &settings::Options::InvertColorSelText);
    AddCheck(layout, tr("Cop&y to clipboard automatically when any text is selected"), "AutoCopy",
             &settings::Options::AutoCopy);
    QCheckBox* special =
        AddCheck(layout,
                 tr("Select te&xt between a couple of characters in a line when double-click or "
                    "Ctrl+click"),
                 "SpecialSelect", &settings::Options::SpecialSelect);
    auto* editBounds = new QPushButton(tr("Edit Bound Characters"));
    editBounds->setObjectName(QStringLiteral("EditBoundCharacters"));
    connect(editBounds, &QPushButton::clicked, this, &COptionsDialog::EditBoundCharacters);
    layout->addLayout(Indented(editBounds));
    Depend(special, editBounds);

    QCheckBox* redLine = AddCheck(layout, tr("Draw a &red line between old and new text"),
                                  "DrawRedLine", &settings::Options::DrawRedLine);
    QCheckBox* removePrevious =
        AddCheck(nullptr, tr("Remove the &previous red line when draw a new red line"),
                 "RemovePreRedLine", &settings::Options::RemovePreRedLine);
    layout->addLayout(Indented(removePrevious));
    Depend(redLine, removePrevious);

    const SpinRange wheel{-kMaxSpinValue, kMaxSpinValue, 1, kMaxSpinValue};
    QSpinBox* lines =
        AddSpin("MouseWheelScrollLines", &settings::Options::MouseWheelScrollLines, wheel);
    QSpinBox* columns =
        AddSpin("MouseWheelScrollColumns", &settings::Options::MouseWheelScrollColumns, wheel);
    layout->addLayout(Row({BuddyLabel(tr("Scrolling li&nes for mouse wheel: "), lines), lines,
                           BuddyLabel(tr("C&olumns (with Ctrl):"), columns), columns}));
    QSpinBox* tabSize =
        AddSpin("TabSize", &settings::Options::TabSize, {0, 99, 1, settings::kMaxTabSize});
    layout->addLayout(Row({BuddyLabel(tr("Tab si&ze:"), tabSize), tabSize}));
    AddCheck(layout, tr("Replace unprintable character with space"), "ShowSpaceForBadChar",
             &settings::Options::ShowSpaceForBadChar);
    layout->addStretch(1);
    return group;
}

QGroupBox* COptionsDialog::BuildTabGroup() {
    QBoxLayout* layout = nullptr;
    QGroupBox* group = Group(tr("Tabs"), layout);
    AddCheck(layout,
             tr("Flash ta&b item icon of inactive document when new data of the document was "
                "captured"),
             "FlashTabItem", &settings::Options::FlashTabItem);
    QCheckBox* limit = AddCheck(nullptr, tr("Limit max length of tab text to"),
                                "EnableMaxTabItemLen", &settings::Options::EnableMaxTabItemLen);
    QSpinBox* length = AddSpin("MaxTabItemLen", &settings::Options::MaxTabItemLen,
                               {0, kMaxSpinValue, 1, kMaxSpinValue});
    layout->addLayout(Row({limit, length, new QLabel(tr("characters"))}));
    Depend(limit, length);
    return group;
}

QGroupBox* COptionsDialog::BuildPollingGroup() {
    QBoxLayout* layout = nullptr;
    QGroupBox* group = Group(tr("Polling"), layout);
    forcePoll_ = new QRadioButton(tr("Force po&lling"));
    forcePoll_->setObjectName(QStringLiteral("ForcePoll"));
    auto* autoPoll = new QRadioButton(
        tr("Auto poll; However, stop pollin&g when one of the following actions occurs"));
    autoPoll->setObjectName(QStringLiteral("AutoPoll"));
    (edited_.ForcePoll ? forcePoll_ : autoPoll)->setChecked(true);
    layout->addWidget(forcePoll_);
    layout->addWidget(autoPoll);
    const std::pair<const char*, bool settings::Options::*> stops[] = {
        {"StopPollWhenVScrollUp", &settings::Options::StopPollWhenVScrollUp},
        {"StopPollWhenHScrollRight", &settings::Options::StopPollWhenHScrollRight},
        {"StopPollWhenMoveCaretNotAtEnd", &settings::Options::StopPollWhenMoveCaretNotAtEnd},
    };
    const QString texts[] = {tr("Vertical scrolling up"), tr("Horizontal scrolling right"),
                             tr("Move caret to other position instead of end of document")};
    for (std::size_t i = 0; i < std::size(stops); ++i) {
        QCheckBox* stop = AddCheck(nullptr, texts[i], stops[i].first, stops[i].second);
        layout->addLayout(Indented(stop));
        Depend(autoPoll, stop);
    }
    AddCheck(layout, tr("Show new lines at once (file events)"), "WatchFileEvents",
             &settings::Options::WatchFileEvents);
    return group;
}

// A check box bound to an option; added to layout when one is given.
QCheckBox* COptionsDialog::AddCheck(QBoxLayout* layout, const QString& text, const char* name,
                                    bool settings::Options::*option) {
    auto* box = new QCheckBox(text);
    box->setObjectName(QLatin1String(name));
    box->setChecked(edited_.*option);
    if (layout) layout->addWidget(box);
    checks_.emplace_back(box, option);
    return box;
}

QSpinBox* COptionsDialog::AddSpin(const char* name, std::int32_t settings::Options::*option,
                                  SpinRange range) {
    auto* spin =
        new CStepRangeSpinBox(range.typedMin, range.typedMax, range.stepMin, range.stepMax);
    spin->setObjectName(QLatin1String(name));
    // A stored value the checks would refuse is shown as the nearest good
    // one, so that a value in a greyed-out box cannot block OK. Negative
    // wheel values are good: they stand for 0.
    const int shownMin = range.typedMin < 0 ? range.typedMin : range.stepMin;
    spin->setValue(std::clamp(edited_.*option, shownMin, range.stepMax));
    spins_.emplace_back(spin, option);
    return spin;
}

QComboBox* COptionsDialog::AddArrangementBox() {
    arrangement_ = new QComboBox;
    arrangement_->setObjectName(QStringLiteral("ArrangeReopenedFile"));
    for (int i = 0; i < static_cast<int>(std::size(kArrangements)); ++i) {
        arrangement_->addItem(tr(kArrangements[i]), i);
    }
    arrangement_->setCurrentIndex(std::max(0, arrangement_->findData(edited_.ArrangeReopenedFile)));
    return arrangement_;
}

QComboBox* COptionsDialog::AddEncodingBox() {
    encoding_ = new QComboBox;
    encoding_->setObjectName(QStringLiteral("TextEncoding"));
    for (int i = 0; i < static_cast<int>(std::size(kEncodings)); ++i) {
        encoding_->addItem(tr(kEncodings[i]), i);
    }
    const int stored = static_cast<int>(edited_.TextEncoding);
    encoding_->setCurrentIndex(std::max(0, encoding_->findData(stored)));
    return encoding_;
}

void COptionsDialog::Depend(QAbstractButton* master, QWidget* dependent) {
    dependencies_.emplace_back(master, dependent);
    connect(master, &QAbstractButton::toggled, this, &COptionsDialog::UpdateDependentControls,
            Qt::UniqueConnection);
}

void COptionsDialog::UpdateDependentControls() {
    for (const auto& [master, dependent] : dependencies_)
        dependent->setEnabled(master->isChecked());
}

void COptionsDialog::EditBoundCharacters() {
    CBoundCharactersDialog dialog({edited_.LeftBounds, edited_.RightBounds}, this);
    if (dialog.exec() != QDialog::Accepted) return;
    const settings::BoundPairs pairs = dialog.Pairs();
    edited_.LeftBounds = pairs.left;
    edited_.RightBounds = pairs.right;
}

void COptionsDialog::BrowseCaptureFile() {
    const QString path = QFileDialog::getSaveFileName(
        this, tr("File for the captured OutputDebugString"), captureFile_->text(), QString(),
        nullptr, QFileDialog::DontConfirmOverwrite);
    if (!path.isEmpty()) captureFile_->setText(path);
}

settings::Options COptionsDialog::EditedOptions() const {
    settings::Options edited = edited_;
    for (const auto& [box, option] : checks_) edited.*option = box->isChecked();
    for (const auto& [spin, option] : spins_) {
        spin->interpretText();
        edited.*option = spin->value();
    }
    edited.ForcePoll = forcePoll_->isChecked();
    edited.ArrangeReopenedFile = arrangement_->currentData().toInt();
    edited.TextEncoding =
        static_cast<settings::TextEncodingChoice>(encoding_->currentData().toInt());
    edited.OutputDebugStringSavedFile = ToU16(captureFile_->text());
    return edited;
}

QWidget* COptionsDialog::FieldControl(app::OptionsDialogField field) const {
    switch (field) {
        case app::OptionsDialogField::ReopenCount:
            return findChild<QWidget*>(QStringLiteral("OpenFilesNumberWhenStartup"));
        case app::OptionsDialogField::MaxTabTextLength:
            return findChild<QWidget*>(QStringLiteral("MaxTabItemLen"));
        case app::OptionsDialogField::TabSize:
            return findChild<QWidget*>(QStringLiteral("TabSize"));
        case app::OptionsDialogField::CaptureFile:
            return captureFile_;
    }
    return nullptr;
}

void COptionsDialog::accept() {
    settings::Options edited = EditedOptions();
    if (const auto refusal = app::CheckOptionsDialog(edited)) {
        ShowRefusal(ui_, this, refusal->message);
        if (QWidget* control = FieldControl(refusal->field)) control->setFocus();
        return;
    }
    app::NormalizeOptionsDialog(edited);
    effects_ = app::ApplyOptionsDialog(
        app_, {std::move(edited), associationShown_, associate_->isChecked()});
    QDialog::accept();
}

}  // namespace app_ui
