#include "streams/JournalAccess.h"

#include <grp.h>
#include <pwd.h>
#include <unistd.h>

#include <vector>

#include "platform/CodePage.h"

namespace streams {

namespace {

bool InGroup(const char* name, const std::vector<gid_t>& groups) {
    struct group entry {};
    struct group* found = nullptr;
    std::vector<char> buffer(16384);
    if (getgrnam_r(name, &entry, buffer.data(), buffer.size(), &found) != 0 || found == nullptr) {
        return false;
    }
    for (gid_t gid : groups) {
        if (gid == found->gr_gid) return true;
    }
    return false;
}

}  // namespace

bool ReadsAllJournals() {
    if (geteuid() == 0) return true;
    int count = getgroups(0, nullptr);
    std::vector<gid_t> groups(count > 0 ? count : 0);
    if (count > 0) groups.resize(std::max(0, getgroups(count, groups.data())));
    groups.push_back(getegid());
    return InGroup("systemd-journal", groups) || InGroup("adm", groups) || InGroup("wheel", groups);
}

std::u16string JournalAccessNotice() {
    if (ReadsAllJournals()) return {};
    return platform::Utf8ToUtf16(
        "Entries of other users and of the system may be missing: this user may read only "
        "its own entries. To see them all, add the user to the group \"systemd-journal\" "
        "and log in again.");
}

}  // namespace streams
