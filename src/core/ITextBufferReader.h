#pragma once
// The read-only side of a text buffer: what a view needs to paint lines and
// their marks. Views depend on this, so they can be tested against a fake.

#include <cstdint>
#include <string_view>

namespace core {

class ITextBufferReader {
public:
    virtual ~ITextBufferReader() = default;

    virtual int LineCount() const = 0;
    // Out-of-range lines read as empty lines without flags.
    virtual int LineLength(int line) const = 0;
    // Valid until the next modification of the buffer.
    virtual std::u16string_view LineText(int line) const = 0;
    virtual std::uint32_t LineFlags(int line) const = 0;
};

}  // namespace core
