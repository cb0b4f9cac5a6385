#include "filters/InExFilterStore.h"

#include <cstdint>
#include <string>

#include "filters/FilterPhrase.h"
#include "platform/Registry.h"

namespace filters::inex_store {

namespace {

using platform::DWORD;
using platform::ERROR_SUCCESS;
using platform::RegKey;
using platform::RegRoot;

std::u16string KeyPath(std::u16string_view rootPath, std::u16string_view key) {
    std::u16string path(rootPath);
    path += u'\\';
    path += key;
    return path;
}

std::u16string SubkeyName(std::size_t number) {
    const std::string digits = std::to_string(number);
    std::u16string name = u"Filter";
    name.append(digits.begin(), digits.end());
    return name;
}

bool ReadFlag(const RegKey& key, std::u16string_view name, bool fallback) {
    DWORD value = fallback ? 1 : 0;
    key.QueryDWORD(name, value);
    return value != 0;
}

// One filter read from its subkey, starting from the defaults; a value that
// cannot be read keeps its default.
InExFilter ReadFilter(const RegKey& key) {
    InExFilter filter;
    key.QueryString(u"Text", filter.phrase.text);
    filter.Enable = ReadFlag(key, u"Enable", true);
    filter.phrase.matchCase = ReadFlag(key, u"MatchCase", false);
    filter.phrase.regularExpression = ReadFlag(key, u"RegularExpression", false);
    return filter;
}

bool WriteFilter(const RegKey& list, std::size_t number, const InExFilter& filter) {
    RegKey key;
    if (key.Create(list, SubkeyName(number)) != ERROR_SUCCESS) return false;
    return key.SetString(u"Text", filter.phrase.text) == ERROR_SUCCESS &&
           key.SetDWORD(u"Enable", filter.Enable ? 1 : 0) == ERROR_SUCCESS &&
           key.SetDWORD(u"MatchCase", filter.phrase.matchCase ? 1 : 0) == ERROR_SUCCESS &&
           key.SetDWORD(u"RegularExpression", filter.phrase.regularExpression ? 1 : 0) ==
               ERROR_SUCCESS;
}

bool DeleteAllSubkeys(RegKey& list) {
    std::u16string name;
    // Deleting shifts the enumeration, so the first subkey is taken each time.
    while (list.EnumKey(0, name) == ERROR_SUCCESS) {
        if (list.DeleteTree(name) != ERROR_SUCCESS) return false;
    }
    return true;
}

bool IsStringType(DWORD type) {
    return type == platform::REG_SZ || type == platform::REG_EXPAND_SZ;
}

// The text of a stored string: UTF-16LE up to its first terminating zero.
std::u16string DecodeString(const std::vector<std::uint8_t>& data) {
    std::u16string text;
    for (std::size_t at = 0; at + 1 < data.size(); at += 2) {
        const char16_t unit = static_cast<char16_t>(data[at] | (data[at + 1] << 8));
        if (unit == 0) break;
        text += unit;
    }
    return text;
}

InExFilter MigratedFilter(std::u16string text) {
    InExFilter filter;
    filter.phrase.regularExpression = text.find(u'*') != std::u16string::npos;
    filter.phrase.text = std::move(text);
    return filter;
}

}  // namespace

void LoadList(std::u16string_view rootPath, std::u16string_view listKey,
              std::vector<InExFilter>& list) {
    RegKey key;
    if (key.Open(RegRoot::CurrentUser, KeyPath(rootPath, listKey)) != ERROR_SUCCESS) return;
    for (std::size_t number = 1;; ++number) {
        RegKey subkey;
        if (subkey.Open(key, SubkeyName(number)) != ERROR_SUCCESS) return;
        InExFilter filter = ReadFilter(subkey);
        if (filter.phrase.text.empty()) return;
        list.push_back(std::move(filter));
    }
}

bool SaveList(std::u16string_view rootPath, std::u16string_view listKey,
              const std::vector<InExFilter>& list) {
    RegKey key;
    if (key.Create(RegRoot::CurrentUser, KeyPath(rootPath, listKey)) != ERROR_SUCCESS) {
        return false;
    }
    if (!DeleteAllSubkeys(key)) return false;
    std::size_t number = 0;
    for (const InExFilter& filter : list) {
        if (!StoreKeepsPhrase(filter.phrase.text)) continue;
        if (!WriteFilter(key, ++number, filter)) return false;
    }
    return true;
}

std::size_t ReadOlderList(std::u16string_view rootPath, std::u16string_view olderKey,
                          std::vector<InExFilter>& list) {
    RegKey key;
    if (key.Open(RegRoot::CurrentUser, KeyPath(rootPath, olderKey)) != ERROR_SUCCESS) return 0;
    std::size_t migrated = 0;
    std::u16string name;
    DWORD type = platform::REG_NONE;
    std::vector<std::uint8_t> data;
    for (DWORD index = 0; key.EnumValue(index, name, &type, &data) == ERROR_SUCCESS; ++index) {
        if (!IsStringType(type)) continue;
        std::u16string text = DecodeString(data);
        if (text.empty()) continue;
        list.push_back(MigratedFilter(std::move(text)));
        ++migrated;
    }
    return migrated;
}

void DeleteOlderList(std::u16string_view rootPath, std::u16string_view olderKey) {
    RegKey root;
    if (root.Open(RegRoot::CurrentUser, rootPath) != ERROR_SUCCESS) return;
    root.DeleteTree(olderKey);
}

}  // namespace filters::inex_store
