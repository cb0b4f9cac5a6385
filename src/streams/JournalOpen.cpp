#include "streams/JournalOpen.h"

#include <sys/stat.h>
#include <systemd/sd-journal.h>

#include <cerrno>
#include <cstdint>
#include <cstring>

#include "platform/CodePage.h"

namespace streams {

namespace {

std::u16string FolderProblem(const std::string& folder, const std::string& what) {
    return platform::Utf8ToUtf16("The journal folder \"" + folder + "\" " + what + ".");
}

}  // namespace

sd_journal* OpenJournalFiles(const std::string& folder, std::u16string& error) {
    sd_journal* journal = nullptr;
    int result = 0;
    if (folder.empty()) {
        result = sd_journal_open(&journal, SD_JOURNAL_LOCAL_ONLY);
    } else {
        struct stat status {};
        if (stat(folder.c_str(), &status) != 0) {
            error = FolderProblem(folder, "cannot be opened: " + std::string(std::strerror(errno)));
            return nullptr;
        }
        if (!S_ISDIR(status.st_mode)) {
            error = FolderProblem(folder, "is not a folder");
            return nullptr;
        }
        result = sd_journal_open_directory(&journal, folder.c_str(), 0);
    }
    if (result < 0) {
        std::string reason = std::strerror(-result);
        error = folder.empty()
                    ? platform::Utf8ToUtf16("The journal cannot be opened: " + reason + ".")
                    : FolderProblem(folder, "cannot be opened: " + reason);
        return nullptr;
    }
    return journal;
}

bool FolderHoldsJournals(sd_journal* journal, const std::string& folder, std::u16string& error) {
    if (folder.empty()) return true;
    std::uint64_t bytes = 0;
    if (sd_journal_get_usage(journal, &bytes) >= 0 && bytes > 0) return true;
    error = FolderProblem(folder, "holds no journal files this user can read");
    return false;
}

}  // namespace streams
