#pragma once
// One run of a cached SQLite statement of the settings store: binds the
// parameters in order, steps, reads columns, and resets the statement when
// it goes out of scope so the cache can hand it out again.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

struct sqlite3_stmt;

namespace platform {

class RegistryStatement {
public:
    // statement may be null (preparing failed): every step then fails.
    explicit RegistryStatement(sqlite3_stmt* statement) : statement_(statement) {}
    ~RegistryStatement();
    RegistryStatement(const RegistryStatement&) = delete;
    RegistryStatement& operator=(const RegistryStatement&) = delete;

    RegistryStatement& Bind(std::int64_t value);
    RegistryStatement& Bind(std::string_view text);
    RegistryStatement& BindBlob(const void* data, std::size_t size);

    // The SQLite result code of one step: SQLITE_ROW, SQLITE_DONE or an error.
    int Step();
    // Steps to the end; true when no step failed.
    bool Run();

    std::int64_t Int(int column) const;
    std::string Text(int column) const;
    std::vector<std::uint8_t> Blob(int column) const;
    std::size_t Bytes(int column) const;
    const void* BlobData(int column) const;

private:
    sqlite3_stmt* statement_;
    int nextParameter_ = 1;
    bool bindFailed_ = false;
};

}  // namespace platform
