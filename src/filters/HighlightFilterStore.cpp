#include "filters/HighlightFilterStore.h"

#include <algorithm>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "filters/FilterPhrase.h"
#include "filters/HighlightFilterValidation.h"
#include "filters/LegacyHighlightFilterRecord.h"
#include "platform/Registry.h"

namespace filters {

namespace {

using platform::DWORD;
using platform::ERROR_SUCCESS;
using platform::RegKey;
using platform::RegRoot;

constexpr std::u16string_view kCurrentKey = u"HighlightFilters2";
constexpr std::u16string_view kLegacyKey = u"UHighlightFilters";
// Longer value names and larger data cannot come from the older layout.
constexpr std::size_t kLegacyMaxNameLength = 32;

std::u16string SubPath(std::u16string_view rootPath, std::u16string_view key) {
    std::u16string path(rootPath);
    path += u'\\';
    path += key;
    return path;
}

std::u16string FilterKeyName(int number) {
    std::u16string name = u"Filter";
    for (const char ch : std::to_string(number)) name.push_back(static_cast<char16_t>(ch));
    return name;
}

// Store readers: a value that is missing or of the wrong kind leaves the
// field as it is.
void ReadFlag(const RegKey& key, std::u16string_view name, bool& flag) {
    DWORD value = 0;
    if (key.QueryDWORD(name, value) == ERROR_SUCCESS) flag = value != 0;
}

void ReadColor(const RegKey& key, std::u16string_view name, std::uint32_t& color) {
    DWORD value = 0;
    if (key.QueryDWORD(name, value) == ERROR_SUCCESS) color = value;
}

void ReadInt(const RegKey& key, std::u16string_view name, std::int32_t& number) {
    DWORD value = 0;
    if (key.QueryDWORD(name, value) == ERROR_SUCCESS) number = static_cast<std::int32_t>(value);
}

// Only string values are texts; a stored string ends at its first NUL.
void ReadText(const RegKey& key, std::u16string_view name, std::u16string& text) {
    DWORD type = platform::REG_NONE;
    if (key.QueryValue(name, &type, nullptr, nullptr) != ERROR_SUCCESS) return;
    if (type != platform::REG_SZ && type != platform::REG_EXPAND_SZ) return;
    key.QueryString(name, text);
}

// Reads the values in the order of the layout; nullopt when the filter ends
// the list (its Text is empty).
std::optional<HighlightFilter> ReadFilter(const RegKey& key) {
    HighlightFilter filter;
    std::u16string text;
    bool matchCase = false;
    bool regularExpression = false;
    ReadText(key, u"Text", text);
    if (text.empty()) return std::nullopt;
    ReadColor(key, u"TextColor", filter.TextColor);
    ReadColor(key, u"BkgColor", filter.BkgColor);
    ReadFlag(key, u"MatchCase", matchCase);
    ReadFlag(key, u"RegularExpression", regularExpression);
    ReadFlag(key, u"HighlightEntireLine", filter.HighlightEntireLine);
    ReadFlag(key, u"Enable", filter.Enable);
    ReadFlag(key, u"SendEmail", filter.SendEmail);
    ReadText(key, u"Emails", filter.Emails);
    ReadInt(key, u"AttachPreviousLinesWithEmail", filter.AttachPreviousLinesWithEmail);
    ReadFlag(key, u"SendFirstOccured", filter.SendFirstOccured);
    ReadFlag(key, u"WriteFile", filter.WriteFile);
    ReadFlag(key, u"IncludeTimestamp", filter.IncludeTimestamp);
    ReadFlag(key, u"IncludeFileName", filter.IncludeFileName);
    ReadText(key, u"WrittenFile", filter.WrittenFile);
    NormalizeWrittenFile(filter.WrittenFile);
    ReadFlag(key, u"PrintLineToDefaultPrinter", filter.PrintLineToDefaultPrinter);
    ReadFlag(key, u"ExecuteProgram", filter.ExecuteProgram);
    ReadText(key, u"ExecutableProgram", filter.ExecutableProgram);
    ReadFlag(key, u"ShowDesktopNotification", filter.ShowDesktopNotification);
    ReadFlag(key, u"PostWebHook", filter.PostWebHook);
    ReadText(key, u"WebHookUrl", filter.WebHookUrl);
    ReadText(key, u"WebHookBody", filter.WebHookBody);
    ReadFlag(key, u"ReplaceWith", filter.ReplaceWith);
    ReadText(key, u"ReplaceText", filter.ReplaceText);
    ReadFlag(key, u"ActionsOnlyAvailableInSpecialFile", filter.ActionsOnlyAvailableInSpecialFile);
    ReadText(key, u"AvailableFile", filter.AvailableFile);
    filter.phrase.text = text;
    filter.phrase.matchCase = matchCase;
    filter.phrase.regularExpression = regularExpression;
    return filter;
}

void WriteFilter(RegKey& key, const HighlightFilter& filter) {
    key.SetString(u"Text", filter.phrase.text);
    key.SetDWORD(u"TextColor", filter.TextColor);
    key.SetDWORD(u"BkgColor", filter.BkgColor);
    key.SetDWORD(u"MatchCase", filter.phrase.matchCase);
    key.SetDWORD(u"RegularExpression", filter.phrase.regularExpression);
    key.SetDWORD(u"HighlightEntireLine", filter.HighlightEntireLine);
    key.SetDWORD(u"Enable", filter.Enable);
    key.SetDWORD(u"SendEmail", filter.SendEmail);
    key.SetString(u"Emails", filter.Emails);
    key.SetDWORD(u"AttachPreviousLinesWithEmail",
                 static_cast<DWORD>(filter.AttachPreviousLinesWithEmail));
    key.SetDWORD(u"SendFirstOccured", filter.SendFirstOccured);
    key.SetDWORD(u"WriteFile", filter.WriteFile);
    key.SetDWORD(u"IncludeTimestamp", filter.IncludeTimestamp);
    key.SetDWORD(u"IncludeFileName", filter.IncludeFileName);
    key.SetString(u"WrittenFile", filter.WrittenFile);
    key.SetDWORD(u"PrintLineToDefaultPrinter", filter.PrintLineToDefaultPrinter);
    key.SetDWORD(u"ExecuteProgram", filter.ExecuteProgram);
    key.SetString(u"ExecutableProgram", filter.ExecutableProgram);
    key.SetDWORD(u"ShowDesktopNotification", filter.ShowDesktopNotification);
    key.SetDWORD(u"PostWebHook", filter.PostWebHook);
    key.SetString(u"WebHookUrl", filter.WebHookUrl);
    key.SetString(u"WebHookBody", filter.WebHookBody);
    key.SetDWORD(u"ReplaceWith", filter.ReplaceWith);
    key.SetString(u"ReplaceText", filter.ReplaceText);
    key.SetDWORD(u"ActionsOnlyAvailableInSpecialFile", filter.ActionsOnlyAvailableInSpecialFile);
    key.SetString(u"AvailableFile", filter.AvailableFile);
}

struct LegacyValue {
    std::u16string name;
    std::vector<std::uint8_t> data;
};

std::optional<std::uint64_t> DecimalNumber(std::u16string_view name) {
    if (name.empty() || name.size() > 18) return std::nullopt;
    std::uint64_t number = 0;
    for (const char16_t ch : name) {
        if (ch < u'0' || ch > u'9') return std::nullopt;
        number = number * 10 + (ch - u'0');
    }
    return number;
}

// The store enumerates values by name, so "10" would come before "2"; values
// named by numbers are taken in numeric order, ahead of any others, to keep
// the order in which they were written.
void SortLegacyValues(std::vector<LegacyValue>& values) {
    std::stable_sort(values.begin(), values.end(), [](const LegacyValue& a, const LegacyValue& b) {
        const auto numberA = DecimalNumber(a.name);
        const auto numberB = DecimalNumber(b.name);
        if (numberA && numberB) return *numberA < *numberB;
        return numberA.has_value() && !numberB.has_value();
    });
}

std::vector<LegacyValue> ReadLegacyValues(const RegKey& key) {
    std::vector<LegacyValue> values;
    LegacyValue value;
    for (DWORD i = 0; key.EnumValue(i, value.name, nullptr, &value.data) == ERROR_SUCCESS; ++i) {
        if (value.name.size() > kLegacyMaxNameLength) continue;
        if (value.data.size() > LegacyHighlightFilterRecord::kSize) continue;
        values.push_back(value);
    }
    SortLegacyValues(values);
    return values;
}

bool LegacyKeyExists(std::u16string_view rootPath) {
    RegKey legacy;
    return legacy.Open(RegRoot::CurrentUser, SubPath(rootPath, kLegacyKey)) == ERROR_SUCCESS;
}

int MigrateLegacyFilters(CHighlightFilters& filters, std::u16string_view rootPath) {
    RegKey legacy;
    if (legacy.Open(RegRoot::CurrentUser, SubPath(rootPath, kLegacyKey)) != ERROR_SUCCESS) {
        return 0;
    }
    int migrated = 0;
    for (const LegacyValue& value : ReadLegacyValues(legacy)) {
        HighlightFilter filter = LegacyHighlightFilterRecord::Decode(value.data);
        // A filter without a phrase would end the list when it is read back.
        if (filter.phrase.text.empty()) continue;
        filters.Append(std::move(filter));
        ++migrated;
    }
    return migrated;
}

// The older key goes only together with saving what came from it, so a
// failed save migrates again at the next start instead of losing filters.
void FinishMigration(const CHighlightFilters& filters, int migrated, std::u16string_view rootPath) {
    platform::RegTransaction transaction;
    if (migrated > 0 && !SaveHighlightFilters(filters, rootPath)) {
        transaction.Cancel();
        return;
    }
    RegKey root;
    if (root.Open(RegRoot::CurrentUser, rootPath) != ERROR_SUCCESS ||
        root.DeleteTree(kLegacyKey) != ERROR_SUCCESS) {
        transaction.Cancel();
    }
}

void LoadCurrentFilters(CHighlightFilters& filters, std::u16string_view rootPath) {
    RegKey list;
    if (list.Open(RegRoot::CurrentUser, SubPath(rootPath, kCurrentKey)) != ERROR_SUCCESS) return;
    for (int number = 1;; ++number) {
        RegKey key;
        if (key.Open(list, FilterKeyName(number)) != ERROR_SUCCESS) return;
        std::optional<HighlightFilter> filter = ReadFilter(key);
        if (!filter) return;
        filters.Append(std::move(*filter));
    }
}

bool DeleteAllSubKeys(RegKey& key) {
    std::vector<std::u16string> names;
    std::u16string name;
    for (DWORD i = 0; key.EnumKey(i, name) == ERROR_SUCCESS; ++i) names.push_back(name);
    bool deleted = true;
    for (const std::u16string& subKey : names) {
        deleted = key.DeleteTree(subKey) == ERROR_SUCCESS && deleted;
    }
    return deleted;
}

}  // namespace

int LoadHighlightFilters(CHighlightFilters& filters, std::u16string_view rootPath) {
    const bool hasLegacy = LegacyKeyExists(rootPath);
    const int migrated = hasLegacy ? MigrateLegacyFilters(filters, rootPath) : 0;
    LoadCurrentFilters(filters, rootPath);
    if (hasLegacy) FinishMigration(filters, migrated, rootPath);
    return migrated;
}

bool SaveHighlightFilters(const CHighlightFilters& filters, std::u16string_view rootPath) {
    platform::RegTransaction transaction;
    RegKey list;
    if (list.Create(RegRoot::CurrentUser, SubPath(rootPath, kCurrentKey)) != ERROR_SUCCESS) {
        transaction.Cancel();
        return false;
    }
    bool written = DeleteAllSubKeys(list);
    int number = 0;
    for (const HighlightFilter& filter : filters.Items()) {
        // A Text read back empty would end the list and hide every filter
        // after it; such a filter matches nothing anyway.
        if (!StoreKeepsPhrase(filter.phrase.text)) continue;
        RegKey key;
        if (key.Create(list, FilterKeyName(++number)) != ERROR_SUCCESS) {
            written = false;
            continue;
        }
        WriteFilter(key, filter);
    }
    if (!written) {
        transaction.Cancel();
        return false;
    }
    return transaction.Commit();
}

}  // namespace filters
