#pragma once
// What the followed path holds according to the writer's actions, kept in
// memory: its bytes, whether it exists, and which file it is (a new number
// whenever a new file takes the name, as a new inode would). Files that left
// the path keep their bytes, as a reader holding them open still sees them;
// the one renamed to PATH.1 is rewritten by a later copytruncate.

#include <cstddef>
#include <cstdint>
#include <map>
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
    // A new file takes the name: replacement by rename, re-creation.
    void ReplaceWith(std::string_view bytes);
    // Renamed to PATH.1, and a new empty file takes the name.
    void Rotate();
    // Copied into PATH.1 (rewriting the file there), then cut to nothing.
    void CopyTruncate();
    void Delete();
    void CreateIfMissing();

    // The bytes of the file with this identity, wherever it went.
    const std::string& BytesOf(int identity) const;

private:
    void NewFile(std::string_view bytes);
    void Retire();

    std::string bytes_;
    bool exists_ = false;
    int identity_ = 0;
    std::map<int, std::string> retired_;
    int atRotatedName_ = 0;
};

// The same bytes read as UTF-16LE units (an odd last byte left out).
std::u16string UnitsOf(std::string_view bytes);
std::string BytesOf(std::u16string_view units);

}  // namespace follow_test
