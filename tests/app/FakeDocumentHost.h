#pragma once
// A main frame without a screen for application tests: one counting view per
// document, and a record of the signals and requests it receives.

#include <cstdint>
#include <deque>
#include <vector>

#include "core/IDocumentHost.h"
#include "core/ILogView.h"

namespace app_test {

class CountingView final : public core::ILogView {
public:
    core::TextPos GetCursorPos() const override { return {}; }
    void SetCursorPos(core::TextPos) override {}
    void SetSelection(core::TextPos, core::TextPos) override {}
    void SetAnchor(core::TextPos) override {}
    int GetTopLine() const override { return 0; }
    int GetScreenLines() const override { return 50; }
    int GetFirstVisibleColumn() const override { return 0; }
    void GetVisibleRange(int& first, int& last) const override {
        first = 0;
        last = 49;
    }
    void ScrollTo(int, int) override {}
    void ScrollToEnd() override {}
    void PostGoToEnd() override { ++goToEndPosts; }
    void PostGoToLine(int) override {}
    void RedrawLines(int, int) override {}
    void Invalidate() override { ++invalidations; }

    int goToEndPosts = 0;
    int invalidations = 0;
};

class FakeDocumentHost final : public core::IDocumentHost {
public:
    core::ILogView* CreateDocumentFrame(core::CTarvikDoc&) override {
        return &views.emplace_back();
    }
    void DestroyDocumentFrame(core::CTarvikDoc&) override {}
    void CreateTab(core::CTarvikDoc&, std::u16string_view, std::u16string_view) override {}
    void RemoveTab(core::CTarvikDoc&) override {}
    void FlashTab(core::CTarvikDoc& doc) override { flashed.push_back(&doc); }
    void StopAllTabFlashing() override { ++flashStops; }
    void BlinkTrayIcon() override {}
    bool IsActiveDocumentFrame(const core::CTarvikDoc& doc) const override {
        return &doc == active;
    }
    bool IsApplicationActive() const override { return true; }
    bool IsInTray() const override { return false; }
    void RestartRefreshTimer(std::uint32_t periodMs) override { restarts.push_back(periodMs); }
    void DocumentTitleChanged(core::CTarvikDoc& doc) override { titled.push_back(&doc); }

    std::deque<CountingView> views;
    std::vector<const core::CTarvikDoc*> flashed;
    std::vector<const core::CTarvikDoc*> titled;
    const core::CTarvikDoc* active = nullptr;
    int flashStops = 0;
    std::vector<std::uint32_t> restarts;
};

}  // namespace app_test
