#pragma once
// The values a journal holds for the fields the Open Journal dialog offers:
// the units (_SYSTEMD_UNIT), identifiers (SYSLOG_IDENTIFIER) and hosts
// (_HOSTNAME) present in the journal files of a folder or in the user's own
// journals. A journal of many files or many values must not hold the dialog
// up: the reading stops at a number of values per field and at a time, and
// then says that the lists are incomplete.

#include <chrono>
#include <cstddef>
#include <string>
#include <vector>

namespace streams {

struct JournalValueLimits {
    std::size_t valuesPerField = 2000;
    std::chrono::milliseconds time{700};
};

struct JournalValues {
    std::vector<std::string> units;  // each list sorted, without repeats
    std::vector<std::string> identifiers;
    std::vector<std::string> hosts;
    // A limit was reached: the journal may hold values the lists miss.
    bool incomplete = false;
};

// Reads the values of the journals of folder (empty: the user's own). False,
// with a message for the user in error, when they cannot be read at all (a
// missing or damaged folder, one without journal files). Values that are no
// short single line of text are left out.
bool ReadJournalValues(const std::string& folder, JournalValues& values, std::u16string& error,
                       const JournalValueLimits& limits = {});

// What to tell the user of incomplete lists; empty when they are complete.
std::u16string JournalValuesNotice(const JournalValues& values);

}  // namespace streams
