#include "ModelFile.h"

namespace follow_test {

void ModelFile::Append(std::string_view bytes) {
    if (!exists_) NewFile({});
    bytes_ += bytes;
}

void ModelFile::OverwriteNuls(std::string_view bytes, std::size_t unitSize) {
    std::size_t end = bytes_.size();
    while (end > 0 && bytes_[end - 1] == '\0') --end;
    const std::size_t at = (end + unitSize - 1) / unitSize * unitSize;
    if (bytes_.size() < at + bytes.size()) bytes_.resize(at + bytes.size(), '\0');
    bytes_.replace(at, bytes.size(), bytes);
}

void ModelFile::Cut(std::size_t size) {
    if (size < bytes_.size()) bytes_.resize(size);
}

void ModelFile::ReplaceWith(std::string_view bytes) {
    Retire();
    NewFile(bytes);
}

void ModelFile::Rotate() {
    Retire();
    atRotatedName_ = identity_;
    NewFile({});
}

void ModelFile::CopyTruncate() {
    // Without a rotated file at PATH.1 the copy is a new file nobody holds.
    if (atRotatedName_ != 0) retired_[atRotatedName_] = bytes_;
    Cut(0);
}

void ModelFile::Delete() {
    Retire();
    exists_ = false;
    bytes_.clear();
}

const std::string& ModelFile::BytesOf(int identity) const {
    static const std::string kNone;
    if (exists_ && identity == identity_) return bytes_;
    const auto it = retired_.find(identity);
    return it == retired_.end() ? kNone : it->second;
}

void ModelFile::Retire() {
    if (exists_) retired_[identity_] = bytes_;
}

void ModelFile::CreateIfMissing() {
    if (!exists_) NewFile({});
}

void ModelFile::NewFile(std::string_view bytes) {
    exists_ = true;
    ++identity_;
    bytes_.assign(bytes);
}

std::u16string UnitsOf(std::string_view bytes) {
    std::u16string units(bytes.size() / 2, u'\0');
    for (std::size_t i = 0; i < units.size(); ++i) {
        units[i] = static_cast<char16_t>(static_cast<unsigned char>(bytes[2 * i]) |
                                         static_cast<unsigned char>(bytes[2 * i + 1]) << 8);
    }
    return units;
}

std::string BytesOf(std::u16string_view units) {
    std::string bytes;
    bytes.reserve(units.size() * 2);
    for (char16_t u : units) {
        bytes.push_back(static_cast<char>(u & 0xFF));
        bytes.push_back(static_cast<char>(u >> 8));
    }
    return bytes;
}

}  // namespace follow_test
