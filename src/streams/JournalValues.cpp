#include "streams/JournalValues.h"

#include <systemd/sd-journal.h>

#include <algorithm>
#include <string_view>

#include "platform/CodePage.h"
#include "streams/JournalEntryText.h"
#include "streams/JournalOpen.h"

namespace streams {

namespace {

// Longer values are no name a user picks from a list.
constexpr std::size_t kLongestValue = 256;

using Deadline = std::chrono::steady_clock::time_point;

bool Offered(std::string_view value) {
    return !value.empty() && value.size() <= kLongestValue && IsTextMessage(value) &&
           value.find_first_of("\t\r\n") == std::string_view::npos;
}

// The values of one field; false when a limit cut them short.
bool ReadField(sd_journal* journal, const char* field, std::vector<std::string>& out,
               const JournalValueLimits& limits) {
    // Each field has a third of the time, so a field of many values leaves
    // the others theirs.
    const Deadline deadline = std::chrono::steady_clock::now() + limits.time / 3;
    if (sd_journal_query_unique(journal, field) < 0) return true;
    const std::string_view prefix = std::string_view(field);
    bool complete = true;
    const void* data = nullptr;
    std::size_t length = 0;
    for (;;) {
        if (std::chrono::steady_clock::now() >= deadline) {
            complete = false;
            break;
        }
        if (sd_journal_enumerate_unique(journal, &data, &length) <= 0) break;
        std::string_view pair(static_cast<const char*>(data), length);
        if (pair.size() <= prefix.size() || !pair.starts_with(prefix) ||
            pair[prefix.size()] != '=') {
            continue;
        }
        std::string_view value = pair.substr(prefix.size() + 1);
        if (!Offered(value)) continue;
        if (out.size() >= limits.valuesPerField) {
            complete = false;
            break;
        }
        out.emplace_back(value);
    }
    std::sort(out.begin(), out.end());
    out.erase(std::unique(out.begin(), out.end()), out.end());
    return complete;
}

}  // namespace

bool ReadJournalValues(const std::string& folder, JournalValues& values, std::u16string& error,
                       const JournalValueLimits& limits) {
    values = JournalValues{};
    sd_journal* journal = OpenJournalFiles(folder, error);
    if (journal == nullptr) return false;
    bool read = FolderHoldsJournals(journal, folder, error);
    if (read) {
        bool complete = ReadField(journal, "_SYSTEMD_UNIT", values.units, limits);
        complete = ReadField(journal, "SYSLOG_IDENTIFIER", values.identifiers, limits) && complete;
        complete = ReadField(journal, "_HOSTNAME", values.hosts, limits) && complete;
        values.incomplete = !complete;
    }
    sd_journal_close(journal);
    return read;
}

std::u16string JournalValuesNotice(const JournalValues& values) {
    if (!values.incomplete) return {};
    return platform::Utf8ToUtf16(
        "The journal is large: the lists show only the values found in the time allowed, and "
        "some units, identifiers or hosts may be missing from them.");
}

}  // namespace streams
