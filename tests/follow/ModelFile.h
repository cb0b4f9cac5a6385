#pragma once
// What the followed path holds according to the writer's actions, kept in
// memory: its bytes, whether it exists, and which file it is (a new number
// whenever a new file takes the name, as a new inode would).

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace follow_test {

class ModelFile {
public:
    bool Exists() const { return exists_; }
    int Identity() const { return identity_; }
    const std::string& Bytes() const { return bytes_; }
    std::uint64_t Size() const { return exists_ ? bytes_.size() : 0; }

    void Append(std::string_view bytes);
    // Writes where the trailing NUL bytes start, rounded up to a whole unit.
    void OverwriteNuls(std::string_view bytes, std::size_t unitSize);
    void Cut(std::size_t size);
    // A new file takes the name: rotation, replacement, re-creation.
    void ReplaceWith(std::string_view bytes);
    void Delete();
    void CreateIfMissing();

private:
    void NewFile(std::string_view bytes);

    std::string bytes_;
    bool exists_ = false;
    int identity_ = 0;
};

// The same bytes read as UTF-16LE units (an odd last byte left out).
std::u16string UnitsOf(std::string_view bytes);
std::string BytesOf(std::u16string_view units);

}  // namespace follow_test
