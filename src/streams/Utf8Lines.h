#pragma once
// Bytes of UTF-8 text as they come from a pipe, made into whole lines, each
// ending in "\r\n" ("\n" and "\r\n" both end a line). A line or character
// cut off at the end of a piece waits for the next; an unfinished line
// longer than kLongestLineBytes is handed over as a line of its own, so a
// writer that never ends a line cannot grow it without bound.

#include <cstddef>
#include <string>
#include <string_view>

namespace streams {

class CUtf8Lines {
public:
    static constexpr std::size_t kLongestLineBytes = 1u << 20;

    // Appends the lines bytes complete to out; with flush, an unfinished
    // last line too.
    void Add(std::string_view bytes, std::u16string& out, bool flush = false);
    // Hands over an unfinished last line, if any.
    void Flush(std::u16string& out) { Add({}, out, true); }
    void Clear() { pending_.clear(); }
    std::size_t PendingBytes() const { return pending_.size(); }

private:
    std::string pending_;
};

}  // namespace streams
