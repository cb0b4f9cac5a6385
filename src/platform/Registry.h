#pragma once
// The settings store: a registry shaped after the Win32 calls the rest of the
// program is written against, kept in one SQLite database per user.
//
// Keys are addressed by backslash paths below one of two roots. Key and value
// names compare without regard to case. Values keep their type and raw bytes;
// a REG_SZ is stored as UTF-16LE with its terminating zero, so byte sizes are
// the ones the callers expect. Failures are status codes, never exceptions.

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

using DWORD = std::uint32_t;
using LSTATUS = long;

constexpr LSTATUS ERROR_SUCCESS = 0;
constexpr LSTATUS ERROR_FILE_NOT_FOUND = 2;  // key or value missing
constexpr LSTATUS ERROR_ACCESS_DENIED = 5;   // deleting a key that has subkeys
constexpr LSTATUS ERROR_INVALID_HANDLE = 6;
constexpr LSTATUS ERROR_INVALID_DATA = 13;       // a value of the wrong size for the reader
constexpr LSTATUS ERROR_INVALID_PARAMETER = 87;  // a bad path: name too long, key too deep
constexpr LSTATUS ERROR_MORE_DATA = 234;         // the caller's buffer is too small
constexpr LSTATUS ERROR_NO_MORE_ITEMS = 259;     // enumeration ended
constexpr LSTATUS ERROR_BADDB = 1009;            // the store is damaged (keys linked in a loop)
constexpr LSTATUS ERROR_CANTWRITE = 1013;        // the store could not be written
constexpr LSTATUS ERROR_KEY_DELETED = 1018;      // the open key was deleted meanwhile

constexpr DWORD REG_NONE = 0;
constexpr DWORD REG_SZ = 1;
constexpr DWORD REG_EXPAND_SZ = 2;
constexpr DWORD REG_BINARY = 3;
constexpr DWORD REG_DWORD = 4;

enum class RegRoot { CurrentUser, ClassesRoot };

// An open key. Cheap to move; closing is automatic. An empty RegKey is
// "not open" and every call on it answers ERROR_INVALID_HANDLE.
class RegKey {
public:
    RegKey() = default;

    // Opens an existing key (path relative to the root, backslash separated,
    // empty for the root itself).
    LSTATUS Open(RegRoot root, std::u16string_view path);
    // Opens a subkey of this key.
    LSTATUS Open(const RegKey& parent, std::u16string_view path);
    // Opens the key, creating it and every missing key on the way. A key
    // more than registry_names::kMaxKeyDepth levels below its root is refused.
    LSTATUS Create(RegRoot root, std::u16string_view path);
    LSTATUS Create(const RegKey& parent, std::u16string_view path);
    void Close();
    bool IsOpen() const { return id_ != 0; }

    // Win32 RegQueryValueEx: copies the value's bytes into data when *cbData
    // is large enough, whatever the stored type. Sets *type (if given) and
    // *cbData to the stored size. data == nullptr asks for the size only.
    // A buffer that is too small answers ERROR_MORE_DATA with *cbData set to
    // the size needed.
    LSTATUS QueryValue(std::u16string_view name, DWORD* type, void* data, DWORD* cbData) const;

    // Convenience readers. They follow the same rules as QueryValue: a value
    // of a different size is a failure (DWORD) and the field keeps its value.
    LSTATUS QueryDWORD(std::u16string_view name, DWORD& value) const;
    // Reads a string of any length; a missing terminator is tolerated and a
    // trailing terminator is dropped.
    LSTATUS QueryString(std::u16string_view name, std::u16string& value) const;
    LSTATUS QueryBinary(std::u16string_view name, std::vector<std::uint8_t>& value) const;

    // Win32 RegSetValueEx: stores the bytes as given, with the type given.
    LSTATUS SetValue(std::u16string_view name, DWORD type, const void* data, DWORD cbData);
    LSTATUS SetDWORD(std::u16string_view name, DWORD value);
    // Stores the text with its terminating zero (2 * length + 2 bytes).
    LSTATUS SetString(std::u16string_view name, std::u16string_view value);
    LSTATUS SetBinary(std::u16string_view name, const void* data, DWORD cbData);

    LSTATUS DeleteValue(std::u16string_view name);
    // Deletes a subkey that has no subkeys of its own (its values go with it).
    LSTATUS DeleteSubKey(std::u16string_view path);
    // Deletes a subkey with everything below it. ERROR_BADDB, deleting
    // nothing, when the parent links below it were tampered with.
    LSTATUS DeleteTree(std::u16string_view path);

    // Enumeration in a stable order (by name, without regard to case).
    LSTATUS EnumKey(DWORD index, std::u16string& name) const;
    LSTATUS EnumValue(DWORD index, std::u16string& name, DWORD* type = nullptr,
                      std::vector<std::uint8_t>* data = nullptr) const;
    LSTATUS CountSubKeys(DWORD& count) const;
    LSTATUS CountValues(DWORD& count) const;

private:
    std::int64_t id_ = 0;
};

// Groups writes into one transaction of the store. Nested scopes join the
// outermost one; the commit happens when the outermost scope ends.
class RegTransaction {
public:
    RegTransaction();
    ~RegTransaction();
    RegTransaction(const RegTransaction&) = delete;
    RegTransaction& operator=(const RegTransaction&) = delete;

    // Ends the scope now instead of at destruction. True when its changes
    // are kept: committed for the outermost scope, not spoiled so far for a
    // nested one.
    bool Commit();
    // Drops every change of the whole group: the outermost scope rolls back.
    void Cancel();

private:
    bool ended_ = false;
};

// The store behind all keys of this process.
namespace registry_store {
// Where the store lives: $TARVIK_REGISTRY, else
// $XDG_CONFIG_HOME/ostra-tarvik/registry.db, else ~/.config/ostra-tarvik/registry.db.
std::string DefaultPath();
// Uses the database at path from now on (closes the current one). Tests and
// tools call it; the program itself opens DefaultPath() on first use.
void UsePath(const std::string& path);
// The path of the store in use.
std::string CurrentPath();
}  // namespace registry_store

}  // namespace platform
