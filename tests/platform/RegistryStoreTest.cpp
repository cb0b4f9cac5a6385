#include <sqlite3.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "platform/Registry.h"

namespace platform {
namespace {

namespace fs = std::filesystem;

class RegistryStoreTest : public ::testing::Test {
protected:
    void SetUp() override {
        char pattern[] = "/tmp/tarvik-store-XXXXXX";
        folder_ = mkdtemp(pattern);
        path_ = folder_ + "/config/ostra-tarvik/registry.db";
    }
    void TearDown() override {
        registry_store::UsePath(folder_ + "/closed.db");
        fs::permissions(folder_, fs::perms::owner_all, fs::perm_options::add);
        fs::remove_all(folder_);
    }

    static unsigned Mode(const std::string& path) {
        struct stat st {};
        if (stat(path.c_str(), &st) != 0) return 0;
        return st.st_mode & 0777;
    }

    // The files of the folder whose names start with prefix.
    int CountFiles(const std::string& folder, const std::string& prefix) {
        int count = 0;
        for (const auto& entry : fs::directory_iterator(folder))
            if (entry.path().filename().string().rfind(prefix, 0) == 0) ++count;
        return count;
    }

    static void WriteSetting(std::u16string_view name, DWORD value) {
        RegKey key;
        ASSERT_EQ(key.Create(RegRoot::CurrentUser, u"Software\\Ostra Tarvik\\Options"),
                  ERROR_SUCCESS);
        ASSERT_EQ(key.SetDWORD(name, value), ERROR_SUCCESS);
    }

    static LSTATUS ReadSetting(std::u16string_view name, DWORD& value) {
        RegKey key;
        LSTATUS status = key.Open(RegRoot::CurrentUser, u"Software\\Ostra Tarvik\\Options");
        return status == ERROR_SUCCESS ? key.QueryDWORD(name, value) : status;
    }

    std::string folder_;
    std::string path_;
};

TEST_F(RegistryStoreTest, CreatesPrivateFolderAndFiles) {
    registry_store::UsePath(path_);
    WriteSetting(u"TabSize", 8);
    EXPECT_EQ(Mode(folder_ + "/config/ostra-tarvik"), 0700u);
    EXPECT_EQ(Mode(folder_ + "/config"), 0700u);
    EXPECT_EQ(Mode(path_), 0600u);
    EXPECT_EQ(Mode(path_ + "-wal"), 0600u);
    EXPECT_EQ(Mode(path_ + "-shm"), 0600u);
    EXPECT_EQ(registry_store::CurrentPath(), path_);
}

// Sets an environment variable for the scope and restores it afterwards.
class ScopedVariable {
public:
    ScopedVariable(const char* name, const char* value) : name_(name) {
        if (const char* old = std::getenv(name)) saved_ = old, hadValue_ = true;
        if (value)
            setenv(name, value, 1);
        else
            unsetenv(name);
    }
    ~ScopedVariable() {
        if (hadValue_)
            setenv(name_, saved_.c_str(), 1);
        else
            unsetenv(name_);
    }

private:
    const char* name_;
    std::string saved_;
    bool hadValue_ = false;
};

TEST_F(RegistryStoreTest, DefaultPathFollowsTheEnvironment) {
    {
        ScopedVariable store("TARVIK_REGISTRY", "/somewhere/store.db");
        EXPECT_EQ(registry_store::DefaultPath(), "/somewhere/store.db");
    }
    ScopedVariable store("TARVIK_REGISTRY", nullptr);
    ScopedVariable home("HOME", "/home/someone");
    {
        ScopedVariable config("XDG_CONFIG_HOME", "/xdg");
        EXPECT_EQ(registry_store::DefaultPath(), "/xdg/ostra-tarvik/registry.db");
    }
    ScopedVariable config("XDG_CONFIG_HOME", "relative");
    EXPECT_EQ(registry_store::DefaultPath(), "/home/someone/.config/ostra-tarvik/registry.db");
}

TEST_F(RegistryStoreTest, TextFileIsMovedAsideAndAFreshStoreUsed) {
    fs::create_directories(fs::path(path_).parent_path());
    { std::ofstream(path_) << "this is not a database\n"; }
    registry_store::UsePath(path_);
    testing::internal::CaptureStderr();
    DWORD value = 42;
    EXPECT_EQ(ReadSetting(u"TabSize", value), ERROR_FILE_NOT_FOUND);
    const std::string message = testing::internal::GetCapturedStderr();
    EXPECT_EQ(value, 42u);
    EXPECT_NE(message.find(path_ + ".damaged-"), std::string::npos) << message;
    EXPECT_EQ(std::count(message.begin(), message.end(), '\n'), 1);

    const std::string folder = fs::path(path_).parent_path();
    ASSERT_EQ(CountFiles(folder, "registry.db.damaged-"), 1);
    for (const auto& entry : fs::directory_iterator(folder)) {
        if (entry.path().filename().string().rfind("registry.db.damaged-", 0) != 0) continue;
        std::ifstream kept(entry.path());
        std::string line;
        std::getline(kept, line);
        EXPECT_EQ(line, "this is not a database");
    }
    WriteSetting(u"TabSize", 8);
    ASSERT_EQ(ReadSetting(u"TabSize", value), ERROR_SUCCESS);
    EXPECT_EQ(value, 8u);
}

TEST_F(RegistryStoreTest, ForeignDatabaseIsMovedAsideUntouched) {
    fs::create_directories(fs::path(path_).parent_path());
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(path_.c_str(), &db), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(db, "CREATE TABLE songs(title TEXT); INSERT INTO songs VALUES('x');",
                           nullptr, nullptr, nullptr),
              SQLITE_OK);
    sqlite3_close(db);

    registry_store::UsePath(path_);
    testing::internal::CaptureStderr();
    WriteSetting(u"TabSize", 8);
    EXPECT_NE(testing::internal::GetCapturedStderr().find("damaged"), std::string::npos);

    const std::string folder = fs::path(path_).parent_path();
    ASSERT_EQ(CountFiles(folder, "registry.db.damaged-"), 1);
    for (const auto& entry : fs::directory_iterator(folder)) {
        if (entry.path().filename().string().rfind("registry.db.damaged-", 0) != 0) continue;
        ASSERT_EQ(sqlite3_open(entry.path().c_str(), &db), SQLITE_OK);
        EXPECT_EQ(sqlite3_exec(db, "SELECT title FROM songs", nullptr, nullptr, nullptr),
                  SQLITE_OK);
        sqlite3_close(db);
    }
    DWORD value = 0;
    EXPECT_EQ(ReadSetting(u"TabSize", value), ERROR_SUCCESS);
}

TEST_F(RegistryStoreTest, UnusableStoreGivesFailuresNotCrashes) {
    // A folder in place of the database file cannot be opened nor moved
    // aside as damaged; the store then answers with failure codes.
    fs::create_directories(path_);
    registry_store::UsePath(path_);
    DWORD value = 5;
    EXPECT_NE(ReadSetting(u"TabSize", value), ERROR_SUCCESS);
    EXPECT_EQ(value, 5u);
    RegKey key;
    EXPECT_EQ(key.Create(RegRoot::CurrentUser, u"Software"), ERROR_CANTWRITE);
    {
        RegTransaction group;
        EXPECT_EQ(key.Create(RegRoot::CurrentUser, u"Software"), ERROR_CANTWRITE);
    }
    EXPECT_TRUE(fs::is_directory(path_));
}

TEST_F(RegistryStoreTest, FailedOpenIsTriedAgainByTheNextWrite) {
    // A file where the store's folder belongs makes the first open fail.
    { std::ofstream(folder_ + "/config") << "in the way\n"; }
    registry_store::UsePath(path_);
    testing::internal::CaptureStderr();
    RegKey key;
    EXPECT_EQ(key.Create(RegRoot::CurrentUser, u"Software"), ERROR_CANTWRITE);
    EXPECT_EQ(key.Create(RegRoot::CurrentUser, u"Software"), ERROR_CANTWRITE);
    const std::string message = testing::internal::GetCapturedStderr();
    EXPECT_NE(message.find(path_), std::string::npos) << message;
    EXPECT_EQ(std::count(message.begin(), message.end(), '\n'), 1) << message;

    fs::remove(folder_ + "/config");
    WriteSetting(u"TabSize", 8);
    DWORD value = 0;
    ASSERT_EQ(ReadSetting(u"TabSize", value), ERROR_SUCCESS);
    EXPECT_EQ(value, 8u);
}

TEST_F(RegistryStoreTest, OpensWhileAnotherWriterHoldsTheStore) {
    registry_store::UsePath(path_);
    WriteSetting(u"TabSize", 8);
    sqlite3* importer = nullptr;
    ASSERT_EQ(sqlite3_open(path_.c_str(), &importer), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(importer, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr), SQLITE_OK);
    registry_store::UsePath(path_);  // opens afresh, as a program starting now
    DWORD value = 0;
    EXPECT_EQ(ReadSetting(u"TabSize", value), ERROR_SUCCESS);
    EXPECT_EQ(value, 8u);
    sqlite3_exec(importer, "COMMIT", nullptr, nullptr, nullptr);
    sqlite3_close(importer);
}

TEST_F(RegistryStoreTest, TamperedParentLinksAreReportedNotWalkedForever) {
    registry_store::UsePath(path_);
    WriteSetting(u"TabSize", 8);
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(path_.c_str(), &db), SQLITE_OK);
    const auto tamper = [db](const char* sql) {
        ASSERT_EQ(sqlite3_exec(db, sql, nullptr, nullptr, nullptr), SQLITE_OK);
    };
    RegKey software;
    ASSERT_EQ(software.Open(RegRoot::CurrentUser, u"Software"), ERROR_SUCCESS);
    // HKCU below its own grandchild: a loop.
    tamper(
        "UPDATE keys SET parent = (SELECT id FROM keys WHERE name = 'Ostra Tarvik') WHERE id = 1");
    EXPECT_EQ(software.DeleteTree(u"Ostra Tarvik"), ERROR_BADDB);
    EXPECT_EQ(software.DeleteTree(u""), ERROR_BADDB);
    // HKCR below Options: deleting Options would take that root with it.
    tamper("UPDATE keys SET parent = 0 WHERE id = 1");
    tamper("UPDATE keys SET parent = (SELECT id FROM keys WHERE name = 'Options') WHERE id = 2");
    EXPECT_EQ(software.DeleteTree(u"Ostra Tarvik\\Options"), ERROR_BADDB);
    sqlite3_close(db);
    DWORD value = 0;
    EXPECT_EQ(ReadSetting(u"TabSize", value), ERROR_SUCCESS);
    EXPECT_EQ(value, 8u);
}

TEST_F(RegistryStoreTest, TwoProcessesWritingAtOnceLoseNothing) {
    registry_store::UsePath(path_);
    WriteSetting(u"Start", 1);
    // No connection may cross the fork: each process opens its own.
    registry_store::UsePath(path_);
    constexpr int kWrites = 60;
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    const std::u16string prefix = child == 0 ? u"Child" : u"Parent";
    bool allWritten = true;
    for (int i = 0; i < kWrites; ++i) {
        RegKey key;
        const std::string number = std::to_string(i);
        allWritten &=
            key.Create(RegRoot::CurrentUser, u"Software\\Ostra Tarvik\\Options") == ERROR_SUCCESS &&
            key.SetDWORD(prefix + std::u16string(number.begin(), number.end()), i) == ERROR_SUCCESS;
    }
    if (child == 0) {
        registry_store::UsePath(folder_ + "/child-closed.db");
        _exit(allWritten ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    EXPECT_TRUE(allWritten);

    RegKey key;
    ASSERT_EQ(key.Open(RegRoot::CurrentUser, u"Software\\Ostra Tarvik\\Options"), ERROR_SUCCESS);
    DWORD count = 0;
    ASSERT_EQ(key.CountValues(count), ERROR_SUCCESS);
    EXPECT_EQ(count, 2u * kWrites + 1);
    DWORD last = 0;
    EXPECT_EQ(key.QueryDWORD(u"Child59", last), ERROR_SUCCESS);
    EXPECT_EQ(last, 59u);
}

}  // namespace
}  // namespace platform
