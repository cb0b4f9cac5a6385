#include "app/ui/TabStrip.h"

#include <QActionGroup>
#include <QContextMenuEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QTextDocument>

#include "app/ui/DialogText.h"
#include "app/ui/TabAliasDialog.h"

namespace app_ui {

namespace {

// Tab texts are shown with mnemonics, so a file name's own '&' is doubled.
QString EscapeMnemonic(const QString& text) {
    QString escaped = text;
    escaped.replace(QLatin1Char('&'), QStringLiteral("&&"));
    return escaped;
}

}  // namespace

CTabStrip::CTabStrip(QWidget* parent) : QTabBar(parent) {
    // The signals carry the key by its alias name, which spies and queued
    // connections look up.
    qRegisterMetaType<DocumentKey>("app_ui::DocumentKey");
    setIconSize(QSize(kTabImageWidth, kTabImageWidth));
    setExpanding(false);
    setUsesScrollButtons(true);
    setElideMode(Qt::ElideNone);
    setDocumentMode(true);
    flashTimer_.setInterval(kFlashPeriodMs);
    connect(&flashTimer_, &QTimer::timeout, this, &CTabStrip::FlashStep);
    connect(this, &QTabBar::currentChanged, this, &CTabStrip::OnCurrentChanged);
    setTabsClosable(true);
    setMovable(true);
    connect(this, &QTabBar::tabCloseRequested, this, [this](int index) {
        if (const DocumentKey key = KeyAt(index)) emit closeRequested(key);
    });
}

void CTabStrip::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::MiddleButton) {
        if (const DocumentKey key = KeyAt(tabAt(event->position().toPoint()))) {
            event->accept();
            emit closeRequested(key);
            return;
        }
    }
    QTabBar::mouseReleaseEvent(event);
}

void CTabStrip::SetAliasStore(AliasLoader load, AliasSaver save) {
    loadAlias_ = std::move(load);
    saveAlias_ = std::move(save);
}

void CTabStrip::SetLabelLimit(bool enabled, int maxLength) {
    limitEnabled_ = enabled;
    maxLength_ = maxLength;
}

void CTabStrip::SetFlashByDefault(bool flashByDefault) {
    flashByDefault_ = flashByDefault;
}

QString CTabStrip::CutLabel(const QString& text, bool enabled, int maxLength) {
    if (!enabled || maxLength < 0 || text.size() <= maxLength) return text;
    return text.left(maxLength);
}

QString CTabStrip::ToolTipFor(const QString& fullPath) {
    return fullPath.size() > kToolTipMax ? fullPath.left(kToolTipMax) : fullPath;
}

QString CTabStrip::FileNameOf(const QString& fullPath) {
    return fullPath.mid(fullPath.lastIndexOf(QLatin1Char('/')) + 1);
}

void CTabStrip::AddTab(DocumentKey key, const QString& label, const QString& fullPath) {
    if (!key || Find(key)) return;
    QString text = label;
    std::u16string alias;
    if (loadAlias_ && loadAlias_(ToU16(fullPath), alias) && !alias.empty()) {
        text = ToQString(alias);
    }
    TabRecord record;
    record.fullPath = fullPath;
    record.label = CutLabel(text, limitEnabled_, maxLength_);
    records_.emplace(key, record);
    selecting_ = true;
    const int index = addTab(EscapeMnemonic(record.label));
    selecting_ = false;
    setTabData(index, QVariant::fromValue(reinterpret_cast<quintptr>(key)));
    QString tip = ToolTipFor(fullPath);
    // A path that looks like markup shows as it is.
    if (Qt::mightBeRichText(tip)) tip = Qt::convertFromPlainText(tip, Qt::WhiteSpaceNoWrap);
    setTabToolTip(index, tip);
}

void CTabStrip::RemoveTab(DocumentKey key) {
    const int index = IndexOf(key);
    if (index < 0) return;
    if (contextKey_ == key) contextKey_ = nullptr;
    records_.erase(key);
    selecting_ = true;
    removeTab(index);
    selecting_ = false;
}

void CTabStrip::SelectTab(DocumentKey key) {
    const int index = IndexOf(key);
    if (index < 0) return;
    selecting_ = true;
    setCurrentIndex(index);
    selecting_ = false;
    StopTabFlash(key);
}

void CTabStrip::RefreshTabLabels() {
    for (auto& [key, record] : records_) {
        ApplyLabel(key, record, CutLabel(FileNameOf(record.fullPath), limitEnabled_, maxLength_));
    }
}

void CTabStrip::ApplyLabel(DocumentKey key, TabRecord& record, const QString& label) {
    if (record.label == label) return;
    record.label = label;
    setTabText(IndexOf(key), EscapeMnemonic(label));
}

bool CTabStrip::MayFlash(const TabRecord& record) const {
    return flashByDefault_ ? !record.flashSuppressed : record.flashRequested;
}

void CTabStrip::StartTabFlash(DocumentKey key) {
    TabRecord* record = Find(key);
    // A second start would save the new-data image as the one to return to.
    if (!record || record->flashing) return;
    record->flashing = true;
    if (!record->hasImage) {
        record->saved = TabImage::Blank;
        ShowImage(key, *record, TabImage::Blank);
    } else {
        record->saved = record->shown;
        ShowImage(key, *record, TabImage::NewData);
    }
    if (!flashTimer_.isActive()) flashTimer_.start();
}

void CTabStrip::FlashStep() {
    bool anyFlashing = false;
    for (auto& [key, record] : records_) {
        if (!record.flashing) continue;
        anyFlashing = true;
        if (record.hasImage && record.shown == TabImage::NewData) {
            ShowImage(key, record, record.saved);
        } else {
            ShowImage(key, record, TabImage::NewData);
        }
    }
    if (!anyFlashing) flashTimer_.stop();
}

void CTabStrip::StopTabFlash(DocumentKey key) {
    TabRecord* record = Find(key);
    if (!record || !record->flashing) return;
    record->flashing = false;
    ShowSavedImage(key, *record);
}

void CTabStrip::StopAllTabFlash() {
    for (auto& [key, record] : records_) {
        if (!record.flashing) continue;
        record.flashing = false;
        ShowSavedImage(key, record);
    }
    flashTimer_.stop();
}

void CTabStrip::ShowSavedImage(DocumentKey key, TabRecord& record) {
    if (record.saved == TabImage::Blank) {
        ShowNoImage(key, record);
    } else {
        ShowImage(key, record, record.saved);
    }
}

void CTabStrip::ToggleFlashChoice(DocumentKey key) {
    TabRecord* record = Find(key);
    if (!record) return;
    bool& choice = flashByDefault_ ? record->flashSuppressed : record->flashRequested;
    choice = !choice;
    if (!MayFlash(*record)) StopTabFlash(key);
}

void CTabStrip::SetMark(DocumentKey key, TabImage mark) {
    TabRecord* record = Find(key);
    if (!record) return;
    const TabImage image = IsTabMark(mark) ? mark : TabImage::Blank;
    if (record->flashing) record->saved = image;
    if (image == TabImage::Blank) {
        ShowNoImage(key, *record);
    } else {
        ShowImage(key, *record, image);
    }
}

void CTabStrip::ShowImage(DocumentKey key, TabRecord& record, TabImage image) {
    record.hasImage = true;
    record.shown = image;
    setTabIcon(IndexOf(key), TabImageIcon(image));
}

void CTabStrip::ShowNoImage(DocumentKey key, TabRecord& record) {
    record.hasImage = false;
    record.shown = TabImage::Blank;
    setTabIcon(IndexOf(key), QIcon());
}

void CTabStrip::SetAliasText(DocumentKey key, const QString& alias) {
    TabRecord* record = Find(key);
    if (!record) return;
    ApplyLabel(key, *record, alias);
}

void CTabStrip::EditAlias(DocumentKey key) {
    TabRecord* record = Find(key);
    if (!record) return;
    CTabAliasDialog dialog(record->fullPath, record->label, ui_, this);
    if (dialog.exec() != QDialog::Accepted) return;
    // The dialog is modal, so the tab may have been closed meanwhile.
    record = Find(key);
    if (!record) return;
    const QString alias = dialog.Alias();
    if (saveAlias_) saveAlias_(ToU16(record->fullPath), ToU16(alias));
    SetAliasText(key, alias);
    emit aliasChanged(key, alias);
}

DocumentKey CTabStrip::KeyAt(int index) const {
    if (index < 0 || index >= count()) return nullptr;
    return reinterpret_cast<DocumentKey>(tabData(index).value<quintptr>());
}

int CTabStrip::IndexOf(DocumentKey key) const {
    for (int index = 0; index < count(); ++index) {
        if (KeyAt(index) == key) return index;
    }
    return -1;
}

DocumentKey CTabStrip::KeyBeside(DocumentKey key, int step) const {
    const int index = IndexOf(key);
    if (index < 0) return nullptr;
    const int tabs = count();
    return KeyAt(((index + step) % tabs + tabs) % tabs);
}

CTabStrip::TabRecord* CTabStrip::Find(DocumentKey key) {
    auto found = records_.find(key);
    return found == records_.end() ? nullptr : &found->second;
}

const CTabStrip::TabRecord* CTabStrip::Find(DocumentKey key) const {
    auto found = records_.find(key);
    return found == records_.end() ? nullptr : &found->second;
}

QString CTabStrip::LabelOf(DocumentKey key) const {
    const TabRecord* record = Find(key);
    return record ? record->label : QString();
}

QString CTabStrip::FullPathOf(DocumentKey key) const {
    const TabRecord* record = Find(key);
    return record ? record->fullPath : QString();
}

TabImage CTabStrip::MarkOf(DocumentKey key) const {
    const TabRecord* record = Find(key);
    if (!record) return TabImage::Blank;
    if (record->flashing) return IsTabMark(record->saved) ? record->saved : TabImage::Blank;
    return record->hasImage && IsTabMark(record->shown) ? record->shown : TabImage::Blank;
}

TabImage CTabStrip::ShownImageOf(DocumentKey key) const {
    const TabRecord* record = Find(key);
    return record && record->hasImage ? record->shown : TabImage::Blank;
}

bool CTabStrip::IsShowingImage(DocumentKey key) const {
    const TabRecord* record = Find(key);
    return record && record->hasImage;
}

bool CTabStrip::IsFlashing(DocumentKey key) const {
    const TabRecord* record = Find(key);
    return record && record->flashing;
}

bool CTabStrip::IsFlashSuppressed(DocumentKey key) const {
    const TabRecord* record = Find(key);
    return record && record->flashSuppressed;
}

bool CTabStrip::IsFlashRequested(DocumentKey key) const {
    const TabRecord* record = Find(key);
    return record && record->flashRequested;
}

void CTabStrip::OnCurrentChanged(int index) {
    if (selecting_ || index < 0) return;
    const DocumentKey key = KeyAt(index);
    StopTabFlash(key);
    emit documentActivated(key);
}

bool CTabStrip::InsideTabSpan(const QPoint& pos) const {
    if (count() == 0) return false;
    const QRect span = tabRect(0).united(tabRect(count() - 1));
    return span.contains(pos);
}

QMenu* CTabStrip::BuildContextMenu(const QPoint& pos) {
    auto* menu = new QMenu(this);
    if (!InsideTabSpan(pos)) {
        menu->setObjectName(QStringLiteral("TAB2"));
        AddStripCommands(*menu);
        return menu;
    }
    menu->setObjectName(QStringLiteral("TAB"));
    contextKey_ = KeyAt(tabAt(pos));
    AddTabCommands(*menu, contextKey_);
    return menu;
}

// The key is captured when the menu opens; a command for a tab closed in the
// meantime finds no record and does nothing.
void CTabStrip::AddTabCommands(QMenu& menu, DocumentKey key) {
    menu.addAction(tr("&Close"), this, [this, key] {
        if (Find(key)) emit closeRequested(key);
    });
    menu.addAction(tr("Close &Others"), this, [this, key] {
        if (Find(key)) emit closeOthersRequested(key);
    });
    menu.addSeparator();
    QAction* flash = menu.addAction(flashByDefault_ ? tr("Disable &Flash") : tr("Enable &Flash"),
                                    this, [this, key] { ToggleFlashChoice(key); });
    flash->setCheckable(true);
    flash->setChecked(flashByDefault_ ? IsFlashSuppressed(key) : IsFlashRequested(key));
    menu.addAction(tr("&Set Alias..."), this, [this, key] { EditAlias(key); });
    menu.addSeparator();
    AddMarkCommands(menu, key);
}

void CTabStrip::AddMarkCommands(QMenu& menu, DocumentKey key) {
    const TabImage current = MarkOf(key);
    for (int position = 0; position < kTabMarkCount; ++position) {
        const TabImage mark = TabMarkAt(position);
        QAction* action = menu.addAction(TabImageIcon(mark), tr(TabMarkName(position)), this,
                                         [this, key, mark] { SetMark(key, mark); });
        action->setCheckable(true);
        action->setChecked(key && current == mark);
    }
    menu.addAction(tr("Cl&ear Mark"), this, [this, key] { SetMark(key, TabImage::Blank); });
}

void CTabStrip::AddStripCommands(QMenu& menu) {
    QAction* show = menu.addAction(tr("&Show"), this, &CTabStrip::toggleStripRequested);
    show->setCheckable(true);
    show->setChecked(isVisible());
    auto* sides = new QActionGroup(&menu);
    QAction* top = menu.addAction(tr("&Top"), this, &CTabStrip::dockTopRequested);
    QAction* bottom = menu.addAction(tr("&Bottom"), this, &CTabStrip::dockBottomRequested);
    for (QAction* side : {top, bottom}) {
        side->setCheckable(true);
        sides->addAction(side);
    }
    (dockedAtTop_ ? top : bottom)->setChecked(true);
}

void CTabStrip::contextMenuEvent(QContextMenuEvent* event) {
    QMenu* menu = BuildContextMenu(event->pos());
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->popup(event->globalPos());
}

}  // namespace app_ui
