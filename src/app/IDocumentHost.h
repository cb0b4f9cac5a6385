#pragma once
// What documents and the application need of the main frame: a frame, view
// and tab per document, the new-data signals, and what the user is looking
// at. Headless programs have no host at all.

#include <cstdint>
#include <string_view>

namespace core {
class CTarvikDoc;
class ILogView;
}  // namespace core

namespace app {

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
    virtual core::ILogView* CreateDocumentFrame(core::CTarvikDoc& doc) = 0;
    virtual void DestroyDocumentFrame(core::CTarvikDoc& doc) = 0;

    virtual void CreateTab(core::CTarvikDoc& doc, std::u16string_view displayName,
                           std::u16string_view path) = 0;
    virtual void RemoveTab(core::CTarvikDoc& doc) = 0;

    // New-data signals.
    virtual void FlashTab(core::CTarvikDoc& doc) = 0;
    virtual void StopAllTabFlashing() = 0;
    virtual void BlinkTrayIcon() = 0;

    virtual bool IsActiveDocumentFrame(const core::CTarvikDoc& doc) const = 0;
    virtual bool IsApplicationActive() const = 0;
    virtual bool IsInTray() const = 0;

    // A host without tabs or tray has nothing flashing or blinking.
    virtual TabFlashState GetTabFlashState(const core::CTarvikDoc& /*doc*/) const { return {}; }
    virtual bool IsTrayBlinking() const { return false; }

    // The refresh rate changed: the monitoring timer starts again with the
    // new period. A host without a timer has nothing to restart.
    virtual void RestartRefreshTimer(std::uint32_t /*periodMs*/) {}
};

}  // namespace app
