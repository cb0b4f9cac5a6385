#pragma once
// What a text buffer asks of a view that displays it: to update itself after
// a change. Views attach themselves to the buffer and detach before they go.

#include <cstdint>

namespace core {

// Hint bits telling a view what changed.
inline constexpr std::uint32_t kUpdateHorzRange = 0x0001;   // the longest line may have changed
inline constexpr std::uint32_t kUpdateVertRange = 0x0002;   // the number of lines changed
inline constexpr std::uint32_t kUpdateSingleLine = 0x0100;  // only the given line changed
inline constexpr std::uint32_t kUpdateFlagsOnly = 0x0200;   // only the given line's flags changed
inline constexpr std::uint32_t kUpdateReset = 0x1000;       // everything changed

// The combinations the buffer sends.
inline constexpr std::uint32_t kUpdateLineEdited = kUpdateSingleLine | kUpdateHorzRange;
inline constexpr std::uint32_t kUpdateLinesChanged = kUpdateVertRange | kUpdateHorzRange;
inline constexpr std::uint32_t kUpdateLineFlags = kUpdateFlagsOnly | kUpdateSingleLine;

class ITextBufferView {
public:
    virtual ~ITextBufferView() = default;

    // source: the view that made the change, or null when the buffer or its
    // document did. context: whatever the caller of NotifyViews passed, handed
    // on untouched (the buffer's own notifications pass null). line: the first
    // line the hint applies to.
    virtual void UpdateView(ITextBufferView* source, const void* context, std::uint32_t hints,
                            int line) = 0;
};

}  // namespace core
