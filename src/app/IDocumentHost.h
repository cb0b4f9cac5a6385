#pragma once
// What documents and the application need of the main frame: a frame, view
// and tab per document, the new-data signals, and what the user is looking
// at. Headless programs have no host at all.

#include <string_view>

namespace core {
class CTarvikDoc;
class ILogView;
}  // namespace core

namespace app {

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
};

}  // namespace app
