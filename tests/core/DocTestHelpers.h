#pragma once
// Documents over real files in a temporary folder, with options, filters, a
// clock, a view and a user interface the tests control.

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "core/DocContext.h"
#include "core/ILogView.h"
#include "core/IUserInterface.h"
#include "core/TarvikDoc.h"
#include "filters/InExFilterList.h"
#include "platform/IClock.h"
#include "settings/Options.h"

namespace doc_test {

// Its tick count moves on by tickStepMs each time it is read (not at all by
// default), so that a poll budget is spent after as many looks as a test wants.
class FakeClock final : public platform::IClock {
public:
    std::uint64_t TickMs() const override { return tickMs += tickStepMs; }
    std::int64_t UnixTime() const override { return now; }
    platform::LocalTime Local() const override { return {}; }
    std::int64_t now = 1000;
    mutable std::uint64_t tickMs = 0;
    std::uint64_t tickStepMs = 0;
};

class FakeView final : public core::ILogView {
public:
    core::TextPos GetCursorPos() const override { return caret; }
    void SetCursorPos(core::TextPos pos) override { caret = pos; }
    void SetSelection(core::TextPos start, core::TextPos end) override {
        selectionStart = start;
        selectionEnd = end;
    }
    void SetAnchor(core::TextPos pos) override { anchor = pos; }
    int GetTopLine() const override { return topLine; }
    int GetScreenLines() const override { return screenLines; }
    int GetFirstVisibleColumn() const override { return firstColumn; }
    void GetVisibleRange(int& first, int& last) const override {
        first = topLine;
        last = topLine + screenLines - 1;
    }
    void ScrollTo(int top, int column) override {
        topLine = top;
        firstColumn = column;
    }
    void ScrollToEnd() override { ++scrollsToEnd; }
    void PostGoToEnd() override { ++goToEndPosts; }
    void PostGoToLine(int line) override { goToLine = line; }
    void RedrawLines(int, int) override {}
    void Invalidate() override { ++invalidations; }

    core::TextPos caret, selectionStart, selectionEnd, anchor;
    int topLine = 0, screenLines = 20, firstColumn = 0;
    int scrollsToEnd = 0, goToEndPosts = 0, goToLine = 0, invalidations = 0;
};

class FakeUi final : public core::IUserInterface {
public:
    core::MessageAnswer ShowMessage(std::u16string_view text, core::MessageIcon icon,
                                    core::MessageButtons) override {
        messages.emplace_back(text);
        icons.push_back(icon);
        return answer;
    }
    void BeginWaitCursor() override { ++waitDepth; }
    void EndWaitCursor() override { --waitDepth; }

    std::vector<std::u16string> messages;
    std::vector<core::MessageIcon> icons;
    core::MessageAnswer answer = core::MessageAnswer::Yes;
    int waitDepth = 0;
};

inline std::string Utf16Bytes(std::u16string_view text, bool bom = false) {
    std::string bytes = bom ? std::string("\xFF\xFE", 2) : std::string();
    for (char16_t ch : text) {
        bytes.push_back(static_cast<char>(ch & 0xFF));
        bytes.push_back(static_cast<char>(ch >> 8));
    }
    return bytes;
}

// A temporary folder, options, filters and a factory for documents.
class DocTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "tarvik-doc-test-XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        dir_ = pattern;
    }
    void TearDown() override {
        docs_.clear();
        std::error_code ignored;
        std::filesystem::remove_all(dir_, ignored);
    }

    std::string PathOf(const std::string& name) const { return (dir_ / name).string(); }
    std::u16string Path16(const std::string& name) const {
        const std::string path = PathOf(name);
        return std::u16string(path.begin(), path.end());
    }
    void Write(const std::string& name, std::string_view bytes) const {
        std::ofstream(PathOf(name), std::ios::binary | std::ios::trunc) << bytes;
    }
    void Append(const std::string& name, std::string_view bytes) const {
        std::ofstream(PathOf(name), std::ios::binary | std::ios::app) << bytes;
    }
    void Resize(const std::string& name, std::uintmax_t size) const {
        std::filesystem::resize_file(PathOf(name), size);
    }

    // A document opened on the file, with the fake view and interface.
    core::CTarvikDoc& Open(const std::string& name, bool withView = true) {
        docs_.push_back(std::make_unique<core::CTarvikDoc>(context));
        core::CTarvikDoc& doc = *docs_.back();
        if (withView) doc.SetView(&view);
        EXPECT_TRUE(doc.OnOpenDocument(Path16(name)));
        return doc;
    }
    core::CTarvikDoc& NewDoc() {
        docs_.push_back(std::make_unique<core::CTarvikDoc>(context));
        return *docs_.back();
    }

    // All lines joined with LF.
    static std::u16string Text(const core::CTarvikDoc& doc) {
        const auto& buffer = doc.Buffer();
        std::u16string text;
        for (int line = 0; line < buffer.LineCount(); ++line) {
            if (line > 0) text.push_back(u'\n');
            text.append(buffer.LineText(line));
        }
        return text;
    }

    void UseFilters(std::vector<std::u16string> include, std::vector<std::u16string> exclude) {
        const auto make = [](const std::vector<std::u16string>& phrases) {
            std::vector<filters::InExFilter> list;
            for (const auto& phrase : phrases) {
                filters::InExFilter filter;
                filter.phrase.Assign(phrase, false, false);
                list.push_back(std::move(filter));
            }
            return list;
        };
        inExFilters.Replace(make(include), make(exclude));
    }

    settings::Options options;
    filters::CInExFilters inExFilters;
    FakeClock clock;
    FakeView view;
    FakeUi ui;
    core::DocContext context{options, inExFilters, clock, nullptr, &ui};

private:
    std::filesystem::path dir_;
    std::vector<std::unique_ptr<core::CTarvikDoc>> docs_;
};

}  // namespace doc_test
