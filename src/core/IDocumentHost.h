#pragma once
// What documents and the application need of the main frame: a frame, view
// and tab per document, the new-data signals, and what the user is looking
// at. Headless programs have no host at all.

#include <cstdint>
#include <string_view>

namespace core {

class CTarvikDoc;
class ILogView;

// What the main frame keeps with a document's tab about flashing.
struct TabFlashState {
    // The tab is flashing now.
    bool flashing = false;
    // "Disable &Flash" while FlashTabItem is on.
    bool suppressed = false;
    // "Enable &Flash" while FlashTabItem is off.
    bool requested = false;
};

class IDocumentHost {
public:
    virtual ~IDocumentHost() = default;

    // The child frame and view that show a new document; null when the host
    // shows none. The frame goes with DestroyDocumentFrame.
    virtual ILogView* CreateDocumentFrame(CTarvikDoc& doc) = 0;
    virtual void DestroyDocumentFrame(CTarvikDoc& doc) = 0;

    virtual void CreateTab(CTarvikDoc& doc, std::u16string_view displayName,
                           std::u16string_view path) = 0;
    virtual void RemoveTab(CTarvikDoc& doc) = 0;

    // New-data signals.
    virtual void FlashTab(CTarvikDoc& doc) = 0;
    virtual void StopAllTabFlashing() = 0;
    virtual void BlinkTrayIcon() = 0;

    virtual bool IsActiveDocumentFrame(const CTarvikDoc& doc) const = 0;
    virtual bool IsApplicationActive() const = 0;
    virtual bool IsInTray() const = 0;

    // A host without tabs or tray has nothing flashing or blinking.
    virtual TabFlashState GetTabFlashState(const CTarvikDoc& /*doc*/) const { return {}; }
    virtual bool IsTrayBlinking() const { return false; }

    // A host without windows has nothing to show of these.
    // The document's title (path, size, bytes) changed: its window and, when
    // it is the active one, the main caption show the new one.
    virtual void DocumentTitleChanged(CTarvikDoc& /*doc*/) {}
    // The document finished opening, or its monitoring started or stopped:
    // the commands that depend on it refresh their states.
    virtual void DocumentStateChanged(CTarvikDoc& /*doc*/) {}

    // The refresh rate changed: the monitoring timer starts again with the
    // new period. A host without a timer has nothing to restart.
    virtual void RestartRefreshTimer(std::uint32_t /*periodMs*/) {}

    // Brings the document's frame to the front. A host without frames has
    // nothing to show.
    virtual void ActivateDocumentFrame(CTarvikDoc& /*doc*/) {}
};

}  // namespace core
