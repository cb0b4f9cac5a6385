#pragma once
// The most-recently-used file paths, newest first: 50 kept, the first 10 shown
// in the File menu. Paths compare without regard to case (A-Z only), so one
// file opened under two spellings keeps one entry.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace discovery {

class CRecentFileList {
public:
    static constexpr std::size_t kCapacity = 50;
    static constexpr std::size_t kMenuEntries = 10;
    static constexpr std::size_t kMaxDisplayLength = 30;

    // Puts path at the front, dropping an equal entry and whatever falls off the end.
    void Add(const std::u16string& path);
    // Removes the first entry equal to path; false when there is none.
    bool Remove(std::u16string_view path);
    void RemoveAt(std::size_t index);

    const std::vector<std::u16string>& Entries() const { return entries_; }
    std::size_t Size() const { return entries_.size(); }

    // Reads and writes the list in the application profile.
    void Load();
    bool Save() const;

    // The texts of the menu entries: "&1 " to "&9 ", then "&0 ", each followed
    // by the entry's display name with every '&' doubled.
    std::vector<std::u16string> MenuTexts(std::u16string_view currentDirectory) const;

private:
    std::vector<std::u16string> entries_;
};

// A path as the menu shows it: relative when it lies under currentDirectory,
// then shortened to at most kMaxDisplayLength characters by putting "..." in
// place of the leading folders, keeping the file name.
std::u16string RecentDisplayName(std::u16string_view path, std::u16string_view currentDirectory);

}  // namespace discovery
