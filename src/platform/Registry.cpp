#include "platform/Registry.h"

#include <sqlite3.h>

#include <cstring>

#include "platform/CodePage.h"
#include "platform/RegistryNames.h"
#include "platform/RegistryStatement.h"
#include "platform/RegistryStore.h"

namespace platform {

namespace {

using registry_names::Fold;
using registry_names::UpToTerminator;

// Runs a read under the store's lock. A store that cannot be opened reads as
// empty, so callers fall back to their defaults.
template <class Operation>
LSTATUS Read(Operation&& operation) {
    RegistryStore& store = RegistryStore::Instance();
    std::lock_guard lock(store.Mutex());
    if (!store.Connection()) return ERROR_FILE_NOT_FOUND;
    return operation(store);
}

// Runs a change inside a write transaction (its own, or the caller's
// RegTransaction). A failed statement spoils the whole transaction so the
// store never keeps half of a change.
template <class Operation>
LSTATUS Write(Operation&& operation) {
    RegistryStore& store = RegistryStore::Instance();
    std::lock_guard lock(store.Mutex());
    LSTATUS status = ERROR_CANTWRITE;
    if (store.BeginWrite()) status = operation(store);
    if (status == ERROR_CANTWRITE) store.MarkFailed();
    const bool kept = store.EndWrite();
    return status == ERROR_SUCCESS && !kept ? ERROR_CANTWRITE : status;
}

std::int64_t RootId(RegRoot root) {
    return root == RegRoot::ClassesRoot ? RegistryStore::kClassesRootId
                                        : RegistryStore::kCurrentUserId;
}

// ERROR_SUCCESS when the key row still exists.
LSTATUS KeyAlive(RegistryStore& store, std::int64_t id) {
    RegistryStatement query(store.Prepare("SELECT 1 FROM keys WHERE id = ?"));
    const int rc = query.Bind(id).Step();
    if (rc == SQLITE_ROW) return ERROR_SUCCESS;
    return rc == SQLITE_DONE ? ERROR_KEY_DELETED : ERROR_CANTWRITE;
}

// Finds the child key by name; 0 when there is none, -1 on a store failure.
std::int64_t FindChild(RegistryStore& store, std::int64_t parent, std::u16string_view name) {
    RegistryStatement query(store.Prepare("SELECT id FROM keys WHERE parent = ? AND folded = ?"));
    const int rc = query.Bind(parent).Bind(Fold(name)).Step();
    if (rc == SQLITE_ROW) return query.Int(0);
    return rc == SQLITE_DONE ? 0 : -1;
}

std::int64_t AddChild(RegistryStore& store, std::int64_t parent, std::u16string_view name) {
    RegistryStatement insert(
        store.Prepare("INSERT INTO keys(parent, name, folded) VALUES(?, ?, ?)"));
    if (!insert.Bind(parent).Bind(Utf16ToUtf8(name)).Bind(Fold(name)).Run()) return -1;
    return sqlite3_last_insert_rowid(store.Connection());
}

// How many names below its root the key lies. ERROR_BADDB when its parent
// links go deeper than any key the store accepts: they were tampered with.
LSTATUS Depth(RegistryStore& store, std::int64_t id, std::size_t& depth) {
    for (depth = 0; depth <= registry_names::kMaxKeyDepth; ++depth) {
        if (id == RegistryStore::kCurrentUserId || id == RegistryStore::kClassesRootId)
            return ERROR_SUCCESS;
        RegistryStatement query(store.Prepare("SELECT parent FROM keys WHERE id = ?"));
        const int rc = query.Bind(id).Step();
        if (rc != SQLITE_ROW) return rc == SQLITE_DONE ? ERROR_KEY_DELETED : ERROR_CANTWRITE;
        id = query.Int(0);
    }
    return ERROR_BADDB;
}

// Walks path below start; with create set, missing keys are added unless the
// deepest of them would lie more than kMaxKeyDepth levels below the root.
LSTATUS Resolve(RegistryStore& store, std::int64_t start, std::u16string_view path, bool create,
                std::int64_t& id) {
    std::vector<std::u16string> parts;
    if (!registry_names::SplitPath(path, parts)) return ERROR_INVALID_PARAMETER;
    if (LSTATUS alive = KeyAlive(store, start); alive != ERROR_SUCCESS) return alive;
    id = start;
    bool depthChecked = false;
    for (std::size_t i = 0; i < parts.size(); ++i) {
        std::int64_t child = FindChild(store, id, parts[i]);
        if (child == 0 && create && !depthChecked) {
            std::size_t depth = 0;
            if (LSTATUS found = Depth(store, id, depth); found != ERROR_SUCCESS) return found;
            if (depth + parts.size() - i > registry_names::kMaxKeyDepth)
                return ERROR_INVALID_PARAMETER;
            depthChecked = true;
        }
        if (child == 0 && create) child = AddChild(store, id, parts[i]);
        if (child < 0) return ERROR_CANTWRITE;
        if (child == 0) return ERROR_FILE_NOT_FOUND;
        id = child;
    }
    return ERROR_SUCCESS;
}

// The key ?1 and every key below it, each once even where tampered parent
// links go round in a loop.
constexpr std::string_view kSubtree =
    "WITH RECURSIVE sub(id) AS (SELECT ?1 UNION SELECT keys.id FROM keys JOIN sub ON "
    "keys.parent = sub.id) ";

// Every key hangs below one of the two roots (?2, ?3), and the roots below
// nothing. A subtree holding the parent of its own top (a loop), or another
// root, shows tampered links; deleting it would take a root with it.
LSTATUS CheckSubtree(RegistryStore& store, std::int64_t id) {
    static const std::string kDamaged =
        std::string(kSubtree) +
        "SELECT 1 FROM keys WHERE id IN (SELECT id FROM sub) AND ((id IN (?2, ?3) AND id <> ?1) "
        "OR (id = ?1 AND parent IN (SELECT id FROM sub))) LIMIT 1";
    RegistryStatement query(store.Prepare(kDamaged.c_str()));
    const int rc = query.Bind(id)
                       .Bind(RegistryStore::kCurrentUserId)
                       .Bind(RegistryStore::kClassesRootId)
                       .Step();
    if (rc == SQLITE_ROW) return ERROR_BADDB;
    return rc == SQLITE_DONE ? ERROR_SUCCESS : ERROR_CANTWRITE;
}

// Removes the values and subkeys of the subtree below id, and the key id
// itself when withRoot is set (its values go in either case).
LSTATUS RemoveTree(RegistryStore& store, std::int64_t id, bool withRoot) {
    static const std::string kDeleteValues =
        std::string(kSubtree) + "DELETE FROM vals WHERE key IN (SELECT id FROM sub)";
    static const std::string kDeleteKeys =
        std::string(kSubtree) +
        "DELETE FROM keys WHERE id IN (SELECT id FROM sub) AND (?2 OR id <> ?1)";
    if (LSTATUS checked = CheckSubtree(store, id); checked != ERROR_SUCCESS) return checked;
    RegistryStatement values(store.Prepare(kDeleteValues.c_str()));
    if (!values.Bind(id).Run()) return ERROR_CANTWRITE;
    RegistryStatement keys(store.Prepare(kDeleteKeys.c_str()));
    if (!keys.Bind(id).Bind(std::int64_t{withRoot}).Run()) return ERROR_CANTWRITE;
    return ERROR_SUCCESS;
}

LSTATUS HasChildren(RegistryStore& store, std::int64_t id, bool& children) {
    RegistryStatement query(store.Prepare("SELECT 1 FROM keys WHERE parent = ? LIMIT 1"));
    const int rc = query.Bind(id).Step();
    children = rc == SQLITE_ROW;
    return rc == SQLITE_ROW || rc == SQLITE_DONE ? ERROR_SUCCESS : ERROR_CANTWRITE;
}

// A missing row is either the end of the list or a key deleted meanwhile.
LSTATUS NoRow(RegistryStore& store, std::int64_t id, int rc, LSTATUS whenAlive) {
    if (rc != SQLITE_DONE) return ERROR_CANTWRITE;
    const LSTATUS alive = KeyAlive(store, id);
    return alive == ERROR_SUCCESS ? whenAlive : alive;
}

LSTATUS Count(std::int64_t id, const char* sql, DWORD& count) {
    if (id == 0) return ERROR_INVALID_HANDLE;
    return Read([&](RegistryStore& store) {
        if (LSTATUS alive = KeyAlive(store, id); alive != ERROR_SUCCESS) return alive;
        RegistryStatement query(store.Prepare(sql));
        if (query.Bind(id).Step() != SQLITE_ROW) return ERROR_CANTWRITE;
        count = static_cast<DWORD>(query.Int(0));
        return ERROR_SUCCESS;
    });
}

}  // namespace

LSTATUS RegKey::Open(RegRoot root, std::u16string_view path) {
    std::int64_t found = 0;
    const LSTATUS status = Read(
        [&](RegistryStore& store) { return Resolve(store, RootId(root), path, false, found); });
    id_ = status == ERROR_SUCCESS ? found : 0;
    return status;
}

LSTATUS RegKey::Open(const RegKey& parent, std::u16string_view path) {
    const std::int64_t start = parent.id_;
    if (start == 0) return ERROR_INVALID_HANDLE;
    std::int64_t found = 0;
    const LSTATUS status =
        Read([&](RegistryStore& store) { return Resolve(store, start, path, false, found); });
    id_ = status == ERROR_SUCCESS ? found : 0;
    return status;
}

LSTATUS RegKey::Create(RegRoot root, std::u16string_view path) {
    std::int64_t found = 0;
    const LSTATUS status = Write(
        [&](RegistryStore& store) { return Resolve(store, RootId(root), path, true, found); });
    id_ = status == ERROR_SUCCESS ? found : 0;
    return status;
}

LSTATUS RegKey::Create(const RegKey& parent, std::u16string_view path) {
    const std::int64_t start = parent.id_;
    if (start == 0) return ERROR_INVALID_HANDLE;
    std::int64_t found = 0;
    const LSTATUS status =
        Write([&](RegistryStore& store) { return Resolve(store, start, path, true, found); });
    id_ = status == ERROR_SUCCESS ? found : 0;
    return status;
}

void RegKey::Close() {
    id_ = 0;
}

LSTATUS RegKey::QueryValue(std::u16string_view name, DWORD* type, void* data, DWORD* cbData) const {
    if (id_ == 0) return ERROR_INVALID_HANDLE;
    if (data && !cbData) return ERROR_INVALID_PARAMETER;
    return Read([&](RegistryStore& store) {
        RegistryStatement query(
            store.Prepare("SELECT type, data FROM vals WHERE key = ? AND folded = ?"));
        const int rc = query.Bind(id_).Bind(Fold(name)).Step();
        if (rc != SQLITE_ROW) return NoRow(store, id_, rc, ERROR_FILE_NOT_FOUND);
        const std::size_t size = query.Bytes(1);
        if (size > 0xFFFFFFFFu) return ERROR_MORE_DATA;
        if (type) *type = static_cast<DWORD>(query.Int(0));
        if (!cbData) return ERROR_SUCCESS;
        const DWORD room = *cbData;
        *cbData = static_cast<DWORD>(size);
        if (!data) return ERROR_SUCCESS;
        if (room < size) return ERROR_MORE_DATA;
        if (size > 0) std::memcpy(data, query.BlobData(1), size);
        return ERROR_SUCCESS;
    });
}

LSTATUS RegKey::QueryDWORD(std::u16string_view name, DWORD& value) const {
    DWORD read = 0;
    DWORD size = sizeof read;
    const LSTATUS status = QueryValue(name, nullptr, &read, &size);
    if (status != ERROR_SUCCESS) return status;
    if (size != sizeof read) return ERROR_INVALID_DATA;
    value = read;
    return ERROR_SUCCESS;
}

LSTATUS RegKey::QueryBinary(std::u16string_view name, std::vector<std::uint8_t>& value) const {
    if (id_ == 0) return ERROR_INVALID_HANDLE;
    return Read([&](RegistryStore& store) {
        RegistryStatement query(
            store.Prepare("SELECT data FROM vals WHERE key = ? AND folded = ?"));
        const int rc = query.Bind(id_).Bind(Fold(name)).Step();
        if (rc != SQLITE_ROW) return NoRow(store, id_, rc, ERROR_FILE_NOT_FOUND);
        value = query.Blob(0);
        return ERROR_SUCCESS;
    });
}

LSTATUS RegKey::QueryString(std::u16string_view name, std::u16string& value) const {
    std::vector<std::uint8_t> bytes;
    const LSTATUS status = QueryBinary(name, bytes);
    if (status != ERROR_SUCCESS) return status;
    std::u16string text(bytes.size() / 2, u'\0');
    for (std::size_t i = 0; i < text.size(); ++i)
        text[i] = static_cast<char16_t>(bytes[2 * i] | (bytes[2 * i + 1] << 8));
    // A stored string ends at its first zero, as the calling code reads it.
    value = std::u16string(UpToTerminator(text));
    return ERROR_SUCCESS;
}

LSTATUS RegKey::SetValue(std::u16string_view name, DWORD type, const void* data, DWORD cbData) {
    if (id_ == 0) return ERROR_INVALID_HANDLE;
    if (!data && cbData > 0) return ERROR_INVALID_PARAMETER;
    return Write([&](RegistryStore& store) {
        if (LSTATUS alive = KeyAlive(store, id_); alive != ERROR_SUCCESS) return alive;
        // An existing value keeps the spelling of its name.
        RegistryStatement upsert(store.Prepare(
            "INSERT INTO vals(key, name, folded, type, data) VALUES(?, ?, ?, ?, ?) "
            "ON CONFLICT(key, folded) DO UPDATE SET type = excluded.type, data = excluded.data"));
        const std::u16string_view cleanName = UpToTerminator(name);
        upsert.Bind(id_).Bind(Utf16ToUtf8(cleanName)).Bind(Fold(cleanName));
        upsert.Bind(std::int64_t{type}).BindBlob(data, cbData);
        return upsert.Run() ? ERROR_SUCCESS : ERROR_CANTWRITE;
    });
}

LSTATUS RegKey::SetDWORD(std::u16string_view name, DWORD value) {
    std::uint8_t bytes[4];
    for (int i = 0; i < 4; ++i) bytes[i] = static_cast<std::uint8_t>(value >> (8 * i));
    return SetValue(name, REG_DWORD, bytes, sizeof bytes);
}

LSTATUS RegKey::SetString(std::u16string_view name, std::u16string_view value) {
    std::vector<std::uint8_t> bytes;
    bytes.reserve(2 * value.size() + 2);
    for (char16_t c : value) {
        bytes.push_back(static_cast<std::uint8_t>(c & 0xFF));
        bytes.push_back(static_cast<std::uint8_t>(c >> 8));
    }
    bytes.push_back(0);
    bytes.push_back(0);
    if (bytes.size() > 0xFFFFFFFFu) return ERROR_INVALID_PARAMETER;
    return SetValue(name, REG_SZ, bytes.data(), static_cast<DWORD>(bytes.size()));
}

LSTATUS RegKey::SetBinary(std::u16string_view name, const void* data, DWORD cbData) {
    return SetValue(name, REG_BINARY, data, cbData);
}

LSTATUS RegKey::DeleteValue(std::u16string_view name) {
    if (id_ == 0) return ERROR_INVALID_HANDLE;
    return Write([&](RegistryStore& store) {
        if (LSTATUS alive = KeyAlive(store, id_); alive != ERROR_SUCCESS) return alive;
        RegistryStatement remove(store.Prepare("DELETE FROM vals WHERE key = ? AND folded = ?"));
        if (!remove.Bind(id_).Bind(Fold(name)).Run()) return ERROR_CANTWRITE;
        return sqlite3_changes(store.Connection()) > 0 ? ERROR_SUCCESS : ERROR_FILE_NOT_FOUND;
    });
}

LSTATUS RegKey::DeleteSubKey(std::u16string_view path) {
    if (id_ == 0) return ERROR_INVALID_HANDLE;
    std::vector<std::u16string> parts;
    if (!registry_names::SplitPath(path, parts)) return ERROR_INVALID_PARAMETER;
    if (parts.empty()) return ERROR_INVALID_PARAMETER;
    return Write([&](RegistryStore& store) {
        std::int64_t target = 0;
        if (LSTATUS found = Resolve(store, id_, path, false, target); found != ERROR_SUCCESS)
            return found;
        bool children = false;
        if (LSTATUS checked = HasChildren(store, target, children); checked != ERROR_SUCCESS)
            return checked;
        if (children) return ERROR_ACCESS_DENIED;
        return RemoveTree(store, target, true);
    });
}

LSTATUS RegKey::DeleteTree(std::u16string_view path) {
    if (id_ == 0) return ERROR_INVALID_HANDLE;
    std::vector<std::u16string> parts;
    if (!registry_names::SplitPath(path, parts)) return ERROR_INVALID_PARAMETER;
    // An empty path empties this key but keeps it.
    const bool withRoot = !parts.empty();
    return Write([&](RegistryStore& store) {
        std::int64_t target = 0;
        if (LSTATUS found = Resolve(store, id_, path, false, target); found != ERROR_SUCCESS)
            return found;
        return RemoveTree(store, target, withRoot);
    });
}

LSTATUS RegKey::EnumKey(DWORD index, std::u16string& name) const {
    if (id_ == 0) return ERROR_INVALID_HANDLE;
    return Read([&](RegistryStore& store) {
        RegistryStatement query(store.Prepare(
            "SELECT name FROM keys WHERE parent = ? ORDER BY folded LIMIT 1 OFFSET ?"));
        const int rc = query.Bind(id_).Bind(std::int64_t{index}).Step();
        if (rc != SQLITE_ROW) return NoRow(store, id_, rc, ERROR_NO_MORE_ITEMS);
        name = Utf8ToUtf16(query.Text(0));
        return ERROR_SUCCESS;
    });
}

LSTATUS RegKey::EnumValue(DWORD index, std::u16string& name, DWORD* type,
                          std::vector<std::uint8_t>* data) const {
    if (id_ == 0) return ERROR_INVALID_HANDLE;
    return Read([&](RegistryStore& store) {
        RegistryStatement query(store.Prepare(
            "SELECT name, type, data FROM vals WHERE key = ? ORDER BY folded LIMIT 1 OFFSET ?"));
        const int rc = query.Bind(id_).Bind(std::int64_t{index}).Step();
        if (rc != SQLITE_ROW) return NoRow(store, id_, rc, ERROR_NO_MORE_ITEMS);
        name = Utf8ToUtf16(query.Text(0));
        if (type) *type = static_cast<DWORD>(query.Int(1));
        if (data) *data = query.Blob(2);
        return ERROR_SUCCESS;
    });
}

LSTATUS RegKey::CountSubKeys(DWORD& count) const {
    return Count(id_, "SELECT count(*) FROM keys WHERE parent = ?", count);
}

LSTATUS RegKey::CountValues(DWORD& count) const {
    return Count(id_, "SELECT count(*) FROM vals WHERE key = ?", count);
}

RegTransaction::RegTransaction() {
    RegistryStore& store = RegistryStore::Instance();
    store.Mutex().lock();
    store.BeginWrite();
}

RegTransaction::~RegTransaction() {
    Commit();
}

bool RegTransaction::Commit() {
    if (ended_) return false;
    ended_ = true;
    RegistryStore& store = RegistryStore::Instance();
    const bool kept = store.EndWrite();
    store.Mutex().unlock();
    return kept;
}

void RegTransaction::Cancel() {
    if (ended_) return;
    RegistryStore& store = RegistryStore::Instance();
    std::lock_guard lock(store.Mutex());
    store.MarkFailed();
}

namespace registry_store {

std::string DefaultPath() {
    return RegistryStore::DefaultPath();
}

void UsePath(const std::string& path) {
    RegistryStore::Instance().UsePath(path);
}

std::string CurrentPath() {
    return RegistryStore::Instance().CurrentPath();
}

}  // namespace registry_store

}  // namespace platform
