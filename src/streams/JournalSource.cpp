#include "streams/JournalSource.h"

#include <sys/stat.h>
#include <systemd/sd-id128.h>
#include <systemd/sd-journal.h>

#include <cstdlib>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/CodePage.h"
#include "streams/JournalAccess.h"
#include "streams/JournalEntryText.h"
#include "streams/JournalOpen.h"

namespace streams {

namespace {}  // namespace

CJournalSource::CJournalSource(JournalQuery query) : query_(std::move(query)) {}

CJournalSource::~CJournalSource() {
    Close();
}

std::u16string CJournalSource::Name() const {
    return FormatJournalName(query_);
}

void CJournalSource::Close() {
    if (journal_ != nullptr) sd_journal_close(journal_);
    journal_ = nullptr;
    wakeFd_ = -1;
    cursor_.clear();
    onUnread_ = false;
    ready_.Clear();
}

bool CJournalSource::Open(std::size_t tailUnits, std::u16string& error) {
    Close();
    if (!OpenJournal(error)) {
        Close();
        return false;
    }
    if (!noticeGiven_ && query_.folder.empty()) notice_ = JournalAccessNotice();
    scratch_ = JournalLineScratch{};
    ReadTail(tailUnits);
    FindPlace();
    return true;
}

bool CJournalSource::Restart(std::size_t tailUnits, std::u16string& error) {
    return Open(tailUnits, error);
}

bool CJournalSource::OpenJournal(std::u16string& error) {
    journal_ = OpenJournalFiles(query_.folder, error);
    if (journal_ == nullptr) return false;
    sd_journal_set_data_threshold(journal_, kMessageLimit);
    if (!AddMatches()) {
        error = platform::Utf8ToUtf16("The journal cannot select the entries of " +
                                      platform::Utf16ToUtf8(Name()) + ".");
        return false;
    }
    // Asked before the first read, so that every file opened is watched.
    wakeFd_ = std::max(-1, sd_journal_get_fd(journal_));
    return FolderHoldsJournals(journal_, query_.folder, error);
}

bool CJournalSource::AddMatches() {
    std::vector<std::string> matches;
    for (const std::string& unit : query_.units) matches.push_back("_SYSTEMD_UNIT=" + unit);
    for (const std::string& id : query_.identifiers) matches.push_back("SYSLOG_IDENTIFIER=" + id);
    for (int priority = 0; priority <= query_.maxPriority && priority <= 7; ++priority) {
        matches.push_back("PRIORITY=" + std::to_string(priority));
    }
    if (!query_.host.empty()) matches.push_back("_HOSTNAME=" + query_.host);
    if (query_.thisBoot) {
        sd_id128_t boot{};
        char text[SD_ID128_STRING_MAX];
        if (sd_id128_get_boot(&boot) < 0) return false;
        matches.push_back(std::string("_BOOT_ID=") + sd_id128_to_string(boot, text));
    }
    // Matches of one field are any of them, matches of different fields all.
    for (const std::string& match : matches) {
        if (sd_journal_add_match(journal_, match.data(), match.size()) < 0) return false;
    }
    return true;
}

void CJournalSource::ReadTail(std::size_t tailUnits) {
    if (sd_journal_seek_tail(journal_) < 0) return;
    // Entries newest first, one after another; starts[i] is where the i-th begins.
    std::u16string newestFirst;
    std::vector<std::size_t> starts;
    // Every entry shown takes at least a unit, so the walk past entries
    // without a message ends too.
    for (std::size_t walked = 0; walked <= tailUnits && sd_journal_previous(journal_) > 0;
         ++walked) {
        if (cursor_.empty()) KeepCursor();
        const std::size_t start = newestFirst.size();
        if (!AppendCurrent(newestFirst)) continue;
        if (newestFirst.size() > tailUnits) {
            newestFirst.resize(start);
            break;
        }
        starts.push_back(start);
    }
    ready_.Text().reserve(newestFirst.size());
    std::size_t end = newestFirst.size();
    for (auto it = starts.rbegin(); it != starts.rend(); ++it) {
        ready_.Text().append(newestFirst, *it, end - *it);
        end = *it;
    }
}

void CJournalSource::FindPlace() {
    onUnread_ = false;
    if (cursor_.empty()) {
        sd_journal_seek_head(journal_);
        return;
    }
    if (sd_journal_seek_cursor(journal_, cursor_.c_str()) < 0) {
        sd_journal_seek_tail(journal_);
        return;
    }
    if (sd_journal_next(journal_) <= 0) return;
    // The entry read last may be gone (vacuumed); then the one found is new.
    if (sd_journal_test_cursor(journal_, cursor_.c_str()) <= 0) onUnread_ = true;
}

void CJournalSource::KeepCursor() {
    char* cursor = nullptr;
    if (sd_journal_get_cursor(journal_, &cursor) >= 0 && cursor != nullptr) cursor_ = cursor;
    std::free(cursor);
}

bool CJournalSource::Next() {
    if (onUnread_) {
        onUnread_ = false;
        return true;
    }
    return sd_journal_next(journal_) > 0;
}

bool CJournalSource::AppendCurrent(std::u16string& out) {
    for (std::string& field : fields_) field.clear();
    bool hasMessage = false;
    const void* data = nullptr;
    std::size_t length = 0;
    sd_journal_restart_data(journal_);
    while (sd_journal_enumerate_available_data(journal_, &data, &length) > 0) {
        std::string_view field(static_cast<const char*>(data), length);
        for (std::size_t i = 0; i < kShownFieldCount; ++i) {
            const std::string_view name = kShownFieldNames[i];
            if (field.size() > name.size() && field.starts_with(name) &&
                field[name.size()] == '=') {
                fields_[i].assign(field.substr(name.size() + 1));
                hasMessage = hasMessage || i == 0;
                break;
            }
        }
    }
    if (!hasMessage) return false;
    std::uint64_t realtimeUsec = 0;
    sd_journal_get_realtime_usec(journal_, &realtimeUsec);
    const JournalEntryFields entry = ShownFields(realtimeUsec, fields_);
    AppendJournalEntry(entry, scratch_, out);
    return true;
}

bool CJournalSource::Take(std::u16string& out, std::size_t maxUnits) {
    const std::size_t start = out.size();
    ready_.Hand(out, maxUnits);
    if (!ready_.Empty()) return true;
    if (journal_ == nullptr) return false;
    bool readAny = false;
    bool askedForChanges = false;
    // Entries without a message take no room; counting each as a unit keeps
    // a call short however many of them come in a row.
    std::size_t walked = 0;
    for (; walked < maxUnits && out.size() - start < maxUnits; ++walked) {
        if (!Next()) {
            // At the end: take what the journal's change notice brings once,
            // so a caller that only asks at each tick still sees new files.
            if (askedForChanges) break;
            askedForChanges = true;
            if (readAny) KeepCursor();
            readAny = false;
            ProcessWake();
            continue;
        }
        readAny = true;
        const std::size_t before = out.size();
        if (!AppendCurrent(out)) continue;
        if (out.size() - start > maxUnits && before > start) {
            ready_.Text().assign(out, before);
            out.resize(before);
            break;
        }
    }
    if (readAny) KeepCursor();
    return !ready_.Empty() || out.size() - start >= maxUnits || walked >= maxUnits;
}

void CJournalSource::ProcessWake() {
    if (journal_ == nullptr) return;
    if (sd_journal_process(journal_) == SD_JOURNAL_INVALIDATE) FindPlace();
}

std::u16string CJournalSource::TakeNotice() {
    if (noticeGiven_ || notice_.empty()) return {};
    noticeGiven_ = true;
    return std::exchange(notice_, std::u16string());
}

std::u16string CJournalSource::Folder() const {
    if (!query_.folder.empty()) return platform::Utf8ToUtf16(query_.folder);
    struct stat status {};
    for (const char* folder : {"/var/log/journal", "/run/log/journal"}) {
        if (stat(folder, &status) == 0 && S_ISDIR(status.st_mode)) {
            return platform::Utf8ToUtf16(folder);
        }
    }
    return {};
}

}  // namespace streams
