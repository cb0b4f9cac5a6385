#include "platform/RegistryStore.h"

#include <pwd.h>
#include <sqlite3.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <set>
#include <utility>

#include "platform/RegistryFiles.h"

namespace platform {

namespace {

constexpr int kBusyTimeoutMs = 10000;
constexpr const char* kSchemaMarker = "ostra-tarvik registry 1";

constexpr const char* kSchema = R"(
CREATE TABLE IF NOT EXISTS meta(name TEXT PRIMARY KEY, value TEXT NOT NULL);
CREATE TABLE IF NOT EXISTS keys(
    id INTEGER PRIMARY KEY AUTOINCREMENT,
    parent INTEGER NOT NULL,
    name TEXT NOT NULL,
    folded TEXT NOT NULL,
    UNIQUE(parent, folded));
CREATE TABLE IF NOT EXISTS vals(
    key INTEGER NOT NULL,
    name TEXT NOT NULL,
    folded TEXT NOT NULL,
    type INTEGER NOT NULL,
    data BLOB NOT NULL,
    PRIMARY KEY(key, folded));
INSERT OR IGNORE INTO keys(id, parent, name, folded) VALUES(1, 0, 'HKEY_CURRENT_USER', 'hkey_current_user');
INSERT OR IGNORE INTO keys(id, parent, name, folded) VALUES(2, 0, 'HKEY_CLASSES_ROOT', 'hkey_classes_root');
)";

bool IsDamage(int rc) {
    const int primary = rc & 0xFF;
    return primary == SQLITE_NOTADB || primary == SQLITE_CORRUPT;
}

std::string Environment(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}

std::string HomeFolder() {
    std::string home = Environment("HOME");
    if (!home.empty()) return home;
    if (const passwd* entry = getpwuid(getuid()); entry && entry->pw_dir) return entry->pw_dir;
    return ".";
}

}  // namespace

RegistryStore& RegistryStore::Instance() {
    static RegistryStore store;
    return store;
}

RegistryStore::~RegistryStore() {
    Close();
}

std::string RegistryStore::DefaultPath() {
    std::string path = Environment("TARVIK_REGISTRY");
    if (!path.empty()) return path;
    // Relative values of XDG_CONFIG_HOME are invalid and ignored.
    std::string config = Environment("XDG_CONFIG_HOME");
    if (config.empty() || config.front() != '/') config = HomeFolder() + "/.config";
    return config + "/ostra-tarvik/registry.db";
}

void RegistryStore::UsePath(const std::string& path) {
    std::lock_guard lock(mutex_);
    Close();
    path_ = path;
    pathChosen_ = true;
    openAttempted_ = false;
    lossReported_ = false;
    damageReported_ = false;
}

std::string RegistryStore::CurrentPath() {
    std::lock_guard lock(mutex_);
    if (!pathChosen_) {
        path_ = DefaultPath();
        pathChosen_ = true;
    }
    return path_;
}

sqlite3* RegistryStore::Connection() {
    if (!db_ && !openAttempted_) {
        openAttempted_ = true;
        if (!Open()) Close();
    }
    return db_;
}

void RegistryStore::Close() {
    if (depth_ > 0 && began_) Exec(failed_ ? "ROLLBACK" : "COMMIT");
    began_ = false;
    failed_ = depth_ > 0;
    for (auto& [sql, statement] : statements_) sqlite3_finalize(statement);
    statements_.clear();
    if (db_) sqlite3_close_v2(db_);
    db_ = nullptr;
}

bool RegistryStore::Open() {
    const std::string path = CurrentPath();
    if (!registry_files::EnsureParentFolder(path) || !registry_files::CreatePrivateFile(path))
        return false;
    OpenResult result = TryOpen();
    if (result == OpenResult::Damaged) {
        Close();
        MoveAside();
        if (!registry_files::CreatePrivateFile(path)) return false;
        result = TryOpen();
    }
    if (result != OpenResult::Ok) return false;
    registry_files::RestrictModes(path);
    return true;
}

void RegistryStore::MoveAside() {
    const std::string target = registry_files::MoveAside(path_);
    if (target.empty()) {
        // Every later write tries to open the store again; once is enough.
        if (std::exchange(damageReported_, true)) return;
        std::fprintf(stderr,
                     "tarvik: the settings store %s is damaged and could not be moved aside\n",
                     path_.c_str());
    } else {
        std::fprintf(stderr,
                     "tarvik: the settings store %s was damaged; it was moved to %s and a fresh "
                     "store is used\n",
                     path_.c_str(), target.c_str());
    }
}

RegistryStore::OpenResult RegistryStore::TryOpen() {
    const int flags = SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOMUTEX;
    if (sqlite3_open_v2(path_.c_str(), &db_, flags, nullptr) != SQLITE_OK)
        return OpenResult::Failed;
    sqlite3_extended_result_codes(db_, 1);
    sqlite3_busy_timeout(db_, kBusyTimeoutMs);
    bool ours = false;
    const OpenResult contents = CheckContents(ours);
    if (contents != OpenResult::Ok) return contents;
    // Switching to WAL needs a moment without other writers; the busy
    // handler does not cover every case, so try a few times.
    bool wal = false;
    for (int attempt = 0; attempt < 50 && !wal; ++attempt) {
        wal = Exec("PRAGMA journal_mode=WAL");
        if (!wal) usleep(20000);
    }
    // Our own store needs no schema write, so it opens while another
    // process holds the write lock (a long import).
    if (!wal || (!ours && !CreateSchema())) return OpenResult::Failed;
    return OpenResult::Ok;
}

// Ok for our own schema (ours set) or an empty database, Damaged for a file
// that is not a database, fails its quick check, or holds somebody else's
// tables.
RegistryStore::OpenResult RegistryStore::CheckContents(bool& ours) {
    std::set<std::string> tables;
    sqlite3_stmt* statement = nullptr;
    int rc = sqlite3_prepare_v2(db_, "SELECT name FROM sqlite_master WHERE type='table'", -1,
                                &statement, nullptr);
    while (rc == SQLITE_OK || rc == SQLITE_ROW) {
        rc = sqlite3_step(statement);
        if (rc == SQLITE_ROW)
            tables.insert(reinterpret_cast<const char*>(sqlite3_column_text(statement, 0)));
    }
    sqlite3_finalize(statement);
    if (rc != SQLITE_DONE) return IsDamage(rc) ? OpenResult::Damaged : OpenResult::Failed;
    if (tables.empty()) return OpenResult::Ok;
    if (!tables.count("meta") || !tables.count("keys") || !tables.count("vals"))
        return OpenResult::Damaged;

    std::string marker;
    std::string check;
    rc = sqlite3_prepare_v2(db_, "SELECT value FROM meta WHERE name='schema'", -1, &statement,
                            nullptr);
    if (rc == SQLITE_OK && (rc = sqlite3_step(statement)) == SQLITE_ROW)
        marker = reinterpret_cast<const char*>(sqlite3_column_text(statement, 0));
    sqlite3_finalize(statement);
    if (IsDamage(rc)) return OpenResult::Damaged;
    if (marker != kSchemaMarker) return OpenResult::Damaged;

    rc = sqlite3_prepare_v2(db_, "PRAGMA quick_check", -1, &statement, nullptr);
    if (rc == SQLITE_OK && (rc = sqlite3_step(statement)) == SQLITE_ROW)
        check = reinterpret_cast<const char*>(sqlite3_column_text(statement, 0));
    sqlite3_finalize(statement);
    if (IsDamage(rc) || (rc == SQLITE_ROW && check != "ok")) return OpenResult::Damaged;
    ours = rc == SQLITE_ROW;
    return ours ? OpenResult::Ok : OpenResult::Failed;
}

bool RegistryStore::CreateSchema() {
    if (!Exec("BEGIN IMMEDIATE")) return false;
    const std::string marker =
        std::string("INSERT OR IGNORE INTO meta(name, value) VALUES('schema', '") + kSchemaMarker +
        "')";
    if (Exec(kSchema) && Exec(marker.c_str()) && Exec("COMMIT")) return true;
    Exec("ROLLBACK");
    return false;
}

bool RegistryStore::Exec(const char* sql) {
    return db_ && sqlite3_exec(db_, sql, nullptr, nullptr, nullptr) == SQLITE_OK;
}

sqlite3_stmt* RegistryStore::Prepare(const char* sql) {
    if (!Connection()) return nullptr;
    auto found = statements_.find(sql);
    if (found != statements_.end()) return found->second;
    sqlite3_stmt* statement = nullptr;
    if (sqlite3_prepare_v3(db_, sql, -1, SQLITE_PREPARE_PERSISTENT, &statement, nullptr) !=
        SQLITE_OK) {
        sqlite3_finalize(statement);
        return nullptr;
    }
    statements_.emplace(sql, statement);
    return statement;
}

bool RegistryStore::BeginWrite() {
    if (depth_++ > 0) return !failed_;
    // An open that failed (the lock held too long, the folder missing for a
    // moment) is tried again, so one bad moment does not lose every later
    // change of the run.
    if (!db_) openAttempted_ = false;
    began_ = false;
    failed_ = !Connection() || !Exec("BEGIN IMMEDIATE");
    began_ = !failed_;
    if (failed_) ReportLostWrite();
    return began_;
}

bool RegistryStore::EndWrite() {
    if (depth_ == 0) return false;
    if (--depth_ > 0) return !failed_;
    const bool wasBegun = began_;
    began_ = false;
    if (!wasBegun) return false;
    if (!failed_ && Exec("COMMIT")) return true;
    if (!failed_) ReportLostWrite();
    Exec("ROLLBACK");
    return false;
}

void RegistryStore::ReportLostWrite() {
    if (std::exchange(lossReported_, true)) return;
    const char* reason = db_ ? sqlite3_errmsg(db_) : "it could not be opened";
    std::fprintf(stderr,
                 "tarvik: a change of settings was not saved: the settings store %s cannot be "
                 "written (%s)\n",
                 path_.c_str(), reason);
}

}  // namespace platform
