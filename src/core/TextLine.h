#pragma once
// One line of a text buffer: its UTF-16 code units (without the line break)
// in one owned allocation, and its flag word.
//
// The capacity is always a multiple of 16 and greater than the length, so a
// terminator would always fit; it grows to (length / 16 + 1) * 16 when the
// storage is reallocated. A line that never held text owns no storage yet and
// reports the capacity its first allocation will have, which keeps an appended
// log line at one allocation. Lines that arrive together may share one block
// of storage (see LineTextBlock.h), each owning its slot there.

#include <cstdint>
#include <string>
#include <string_view>

namespace core {

class CLineTextBlock;

class CTextLine {
public:
    static constexpr int kCapacityStep = 16;

    static constexpr int CapacityFor(int length) {
        return (length / kCapacityStep + 1) * kCapacityStep;
    }

    CTextLine() = default;
    explicit CTextLine(std::u16string_view text);
    // The text in a slot of `block` sized for a line of `reserve` units (at
    // least the text's length); on its own storage when the block is full.
    CTextLine(std::u16string_view text, int reserve, CLineTextBlock& block);
    ~CTextLine();

    CTextLine(CTextLine&& other) noexcept;
    CTextLine& operator=(CTextLine&& other) noexcept;
    CTextLine(const CTextLine&) = delete;
    CTextLine& operator=(const CTextLine&) = delete;

    int Length() const { return length_; }
    int Capacity() const { return capacity_; }
    std::u16string_view Text() const { return {text_, static_cast<std::size_t>(length_)}; }
    std::uint32_t Flags() const { return flags_; }
    void SetFlags(std::uint32_t flags) { flags_ = flags; }

    void Append(std::u16string_view text);
    // Removes the units from `from` to the end and returns them.
    std::u16string CutTail(int from);
    // Shortens the line; the storage is kept.
    void Truncate(int length);
    // Removes `count` units at `pos` and closes the gap; the storage is kept.
    void Erase(int pos, int count);

private:
    void Reallocate(int capacity);
    void ReleaseStorage();

    char16_t* text_ = nullptr;
    // The shared block text_ lies in; none for storage of its own.
    CLineTextBlock* block_ = nullptr;
    std::int32_t length_ = 0;
    std::int32_t capacity_ = kCapacityStep;
    std::uint32_t flags_ = 0;
};

}  // namespace core
