#include "platform/RegistryStatement.h"

#include <sqlite3.h>

namespace platform {

RegistryStatement::~RegistryStatement() {
    if (!statement_) return;
    sqlite3_reset(statement_);
    sqlite3_clear_bindings(statement_);
}

RegistryStatement& RegistryStatement::Bind(std::int64_t value) {
    if (statement_ && sqlite3_bind_int64(statement_, nextParameter_, value) != SQLITE_OK)
        bindFailed_ = true;
    ++nextParameter_;
    return *this;
}

RegistryStatement& RegistryStatement::Bind(std::string_view text) {
    if (statement_ && sqlite3_bind_text64(statement_, nextParameter_, text.data(), text.size(),
                                          SQLITE_TRANSIENT, SQLITE_UTF8) != SQLITE_OK)
        bindFailed_ = true;
    ++nextParameter_;
    return *this;
}

RegistryStatement& RegistryStatement::BindBlob(const void* data, std::size_t size) {
    if (statement_) {
        // A null pointer would bind SQL NULL; an empty value is a zero-length blob.
        const int rc = size == 0 ? sqlite3_bind_zeroblob(statement_, nextParameter_, 0)
                                 : sqlite3_bind_blob64(statement_, nextParameter_, data, size,
                                                       SQLITE_TRANSIENT);
        if (rc != SQLITE_OK) bindFailed_ = true;
    }
    ++nextParameter_;
    return *this;
}

int RegistryStatement::Step() {
    if (!statement_) return SQLITE_MISUSE;
    if (bindFailed_) return SQLITE_RANGE;
    return sqlite3_step(statement_);
}

bool RegistryStatement::Run() {
    int rc = Step();
    while (rc == SQLITE_ROW) rc = Step();
    return rc == SQLITE_DONE;
}

std::int64_t RegistryStatement::Int(int column) const {
    return sqlite3_column_int64(statement_, column);
}

std::string RegistryStatement::Text(int column) const {
    const auto* text = sqlite3_column_text(statement_, column);
    const int size = sqlite3_column_bytes(statement_, column);
    return text ? std::string(reinterpret_cast<const char*>(text), size) : std::string();
}

std::vector<std::uint8_t> RegistryStatement::Blob(int column) const {
    const auto* data = static_cast<const std::uint8_t*>(BlobData(column));
    const std::size_t size = Bytes(column);
    return data ? std::vector<std::uint8_t>(data, data + size) : std::vector<std::uint8_t>();
}

std::size_t RegistryStatement::Bytes(int column) const {
    sqlite3_column_blob(statement_, column);
    return static_cast<std::size_t>(sqlite3_column_bytes(statement_, column));
}

const void* RegistryStatement::BlobData(int column) const {
    return sqlite3_column_blob(statement_, column);
}

}  // namespace platform
