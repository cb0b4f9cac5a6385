#pragma once
// The one SQLite database behind every key of this process: where it lives,
// opening it (with recovery from a damaged file), cached statements, and the
// write transactions that group changes.
//
// Callers hold Mutex() while they use the connection. Writes go through
// BeginWrite()/EndWrite(): the outermost pair is one BEGIN IMMEDIATE ...
// COMMIT, so a writer in another process waits instead of losing a change.

#include <cstdint>
#include <map>
#include <mutex>
#include <string>

struct sqlite3;
struct sqlite3_stmt;

namespace platform {

class RegistryStore {
public:
    // Row ids of the two roots.
    static constexpr std::int64_t kCurrentUserId = 1;
    static constexpr std::int64_t kClassesRootId = 2;

    static RegistryStore& Instance();
    ~RegistryStore();

    std::recursive_mutex& Mutex() { return mutex_; }

    static std::string DefaultPath();
    void UsePath(const std::string& path);
    std::string CurrentPath();

    // The open connection, opening it on first use; null when the store
    // cannot be used. Reads do not try again after a failed open; the next
    // write does. Call with Mutex() held.
    sqlite3* Connection();
    // A cached statement, or null when it cannot be prepared.
    sqlite3_stmt* Prepare(const char* sql);

    // Starts (or joins) a write transaction, opening the store again when
    // an earlier open failed; false when nothing can be written in it.
    // Always pair with EndWrite().
    bool BeginWrite();
    // The current transaction must not commit.
    void MarkFailed() { failed_ = true; }
    // Leaves the transaction; the outermost commits, or rolls back when
    // something failed. False when the changes will not be kept.
    bool EndWrite();

private:
    enum class OpenResult { Ok, Damaged, Failed };

    RegistryStore() = default;
    void Close();
    bool Open();
    OpenResult TryOpen();
    OpenResult CheckContents(bool& ours);
    bool CreateSchema();
    bool Exec(const char* sql);
    void MoveAside();
    // Says once per store on standard error that changes are being lost.
    void ReportLostWrite();

    std::recursive_mutex mutex_;
    std::string path_;
    bool pathChosen_ = false;
    bool openAttempted_ = false;
    sqlite3* db_ = nullptr;
    std::map<std::string, sqlite3_stmt*> statements_;
    int depth_ = 0;
    bool began_ = false;
    bool failed_ = false;
    bool lossReported_ = false;
    bool damageReported_ = false;
};

}  // namespace platform
