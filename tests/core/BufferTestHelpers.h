#pragma once
// Small helpers shared by the text buffer tests.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include <gmock/gmock.h>

#include "core/CrystalTextBuffer.h"
#include "core/ITextBufferView.h"
#include "platform/CodePage.h"

namespace core::test {

// The buffer's lines as UTF-8, so that failures print readably.
inline std::vector<std::string> Lines(const CCrystalTextBuffer& buffer) {
    std::vector<std::string> lines;
    for (int i = 0; i < buffer.LineCount(); ++i) {
        lines.push_back(platform::Utf16ToUtf8(buffer.LineText(i)));
    }
    return lines;
}

// A reset buffer holding `text` (inserted without undo), not marked modified.
inline void Fill(CCrystalTextBuffer& buffer, std::u16string_view text) {
    buffer.ResetEmpty();
    TextPos end;
    buffer.InsertTextAt(nullptr, {0, 0}, text, end, 0, false, false);
    buffer.SetModified(false);
}

struct Update {
    ITextBufferView* source;
    std::uint32_t hints;
    int line;
    friend bool operator==(const Update&, const Update&) = default;
};

// A view that records every update it is sent.
class RecordingView : public ITextBufferView {
public:
    void UpdateView(ITextBufferView* source, const void*, std::uint32_t hints, int line) override {
        updates.push_back({source, hints, line});
    }
    std::vector<Update> updates;
};

}  // namespace core::test
