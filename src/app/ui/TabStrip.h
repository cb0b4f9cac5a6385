#pragma once
// The tab strip: one tab per open document, identified by an opaque document
// key the frame chooses (its child window, say). It shows each document's
// alias or file name (cut to the configured length), the full path as the
// tooltip, a colour mark, and flashes the tab of an inactive document that
// received new data. Right-clicks open the "TAB" menu over a tab and the
// "TAB2" menu beside the tabs; their commands leave as signals carrying the
// document key. Docking the strip at the top or bottom is the frame's job
// (a bottom strip may use QTabBar::RoundedSouth). Each tab has a close
// button, a middle click closes it too, and tabs can be dragged into another
// order, which is the order the frame's Next and Previous follow.

#include <QTabBar>
#include <QTimer>

#include <functional>
#include <string>
#include <string_view>
#include <unordered_map>

#include "app/ui/FrameIcons.h"
#include "core/IUserInterface.h"

class QMenu;

namespace app_ui {

using DocumentKey = const void*;

class CTabStrip : public QTabBar {
    Q_OBJECT
public:
    // Reads the alias stored for a full path; false when there is none.
    using AliasLoader = std::function<bool(std::u16string_view path, std::u16string& alias)>;
    // Stores an alias for a full path; false when it could not be stored.
    using AliasSaver = std::function<bool(std::u16string_view path, std::u16string_view alias)>;

    static constexpr int kFlashPeriodMs = 600;
    static constexpr int kToolTipMax = 79;

    explicit CTabStrip(QWidget* parent = nullptr);

    // Where aliases come from and go to (CTarvikApp::LoadAlias/SaveAlias).
    void SetAliasStore(AliasLoader load, AliasSaver save);
    // Shows the alias dialog's refusal; without one a message box does.
    void SetUserInterface(core::IUserInterface* ui) { ui_ = ui; }
    // EnableMaxTabItemLen and MaxTabItemLen: labels longer than the limit
    // are cut to it when enabled.
    void SetLabelLimit(bool enabled, int maxLength);
    // FlashTabItem: whether tabs flash unless disabled per tab, or only when
    // enabled per tab. The frame calls StopAllTabFlash() after a change.
    void SetFlashByDefault(bool flashByDefault);
    // Which side the frame docked the strip at, for the "TAB2" check marks.
    void SetDockedAtTop(bool top) { dockedAtTop_ = top; }

    // Appends a tab. The text is the stored alias of fullPath, else label,
    // cut to the length limit. A key already present is ignored.
    void AddTab(DocumentKey key, const QString& label, const QString& fullPath);
    void RemoveTab(DocumentKey key);
    // Selects the tab without announcing an activation and stops its flashing.
    void SelectTab(DocumentKey key);
    // Rebuilds every label from the file name of its full path (aliases are
    // not re-applied), cut to the length limit.
    void RefreshTabLabels();

    // Starts flashing (whether a tab may flash is the document's decision);
    // a flashing tab stays as is.
    // Selecting a tab stops its flashing.
    void StartTabFlash(DocumentKey key);
    void StopAllTabFlash();

    // Marks a tab with a colour (TabImage::Red..Cyan) or clears the mark
    // with TabImage::Blank. A flashing tab returns to the mark afterwards.
    void SetMark(DocumentKey key, TabImage mark);
    // Sets the alias as the tab's text, as entered, without the length limit.
    void SetAliasText(DocumentKey key, const QString& alias);
    // The "Set Tab Alias" dialog for the tab; stores the alias on OK.
    void EditAlias(DocumentKey key);

    // Queries, mostly for the frame's menus and for tests.
    DocumentKey KeyAt(int index) const;
    int IndexOf(DocumentKey key) const;
    DocumentKey CurrentKey() const { return KeyAt(currentIndex()); }
    // The key step tabs away from key in the strip's order, wrapping round;
    // null when key has no tab.
    DocumentKey KeyBeside(DocumentKey key, int step) const;
    QString LabelOf(DocumentKey key) const;
    QString FullPathOf(DocumentKey key) const;
    TabImage MarkOf(DocumentKey key) const;
    // The image the tab shows now; Blank also stands for no image at all.
    TabImage ShownImageOf(DocumentKey key) const;
    bool IsShowingImage(DocumentKey key) const;
    bool IsFlashing(DocumentKey key) const;
    bool IsFlashSuppressed(DocumentKey key) const;
    bool IsFlashRequested(DocumentKey key) const;
    bool IsFlashTimerRunning() const { return flashTimer_.isActive(); }
    DocumentKey ContextKey() const { return contextKey_; }

    // Builds the menu for a right-click at pos (strip coordinates): "TAB"
    // over a tab or between tabs, "TAB2" beside them. The caller owns it.
    QMenu* BuildContextMenu(const QPoint& pos);

    // The label rule, shared with the frame's titles if it wishes.
    static QString CutLabel(const QString& text, bool enabled, int maxLength);
    static QString ToolTipFor(const QString& fullPath);
    static QString FileNameOf(const QString& fullPath);

signals:
    // The user selected the tab of a document.
    void documentActivated(app_ui::DocumentKey key);
    void closeRequested(app_ui::DocumentKey key);
    void closeOthersRequested(app_ui::DocumentKey key);
    void aliasChanged(app_ui::DocumentKey key, const QString& alias);
    // "TAB2": show or hide the strip, dock it at the top or bottom.
    void toggleStripRequested();
    void dockTopRequested();
    void dockBottomRequested();

protected:
    void contextMenuEvent(QContextMenuEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    struct TabRecord {
        QString fullPath;
        QString label;
        bool hasImage = false;
        TabImage shown = TabImage::Blank;
        TabImage saved = TabImage::Blank;
        bool flashing = false;
        bool flashSuppressed = false;
        bool flashRequested = false;
    };

    TabRecord* Find(DocumentKey key);
    const TabRecord* Find(DocumentKey key) const;
    bool MayFlash(const TabRecord& record) const;
    void ShowImage(DocumentKey key, TabRecord& record, TabImage image);
    void ShowNoImage(DocumentKey key, TabRecord& record);
    void ShowSavedImage(DocumentKey key, TabRecord& record);
    void ApplyLabel(DocumentKey key, TabRecord& record, const QString& label);
    void FlashStep();
    void StopTabFlash(DocumentKey key);
    // Toggles the per-tab flash choice ("Disable &Flash" or "Enable &Flash");
    // a withdrawn choice stops a running flash.
    void ToggleFlashChoice(DocumentKey key);
    void OnCurrentChanged(int index);
    bool InsideTabSpan(const QPoint& pos) const;
    void AddTabCommands(QMenu& menu, DocumentKey key);
    void AddMarkCommands(QMenu& menu, DocumentKey key);
    void AddStripCommands(QMenu& menu);

    std::unordered_map<DocumentKey, TabRecord> records_;
    AliasLoader loadAlias_;
    AliasSaver saveAlias_;
    core::IUserInterface* ui_ = nullptr;
    QTimer flashTimer_;
    DocumentKey contextKey_ = nullptr;
    bool limitEnabled_ = false;
    int maxLength_ = 16;
    bool flashByDefault_ = true;
    bool dockedAtTop_ = true;
    bool selecting_ = false;
};

}  // namespace app_ui
