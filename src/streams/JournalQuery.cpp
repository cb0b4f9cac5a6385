#include "streams/JournalQuery.h"

#include <algorithm>
#include <array>
#include <filesystem>
#include <optional>

#include "platform/CodePage.h"

namespace streams {

namespace {

constexpr std::u16string_view kScheme = u"journal:";

constexpr std::array<std::string_view, 8> kPriorityNames = {"emerg",   "alert",  "crit", "err",
                                                            "warning", "notice", "info", "debug"};

std::string Quoted(std::string_view text) {
    return "\"" + std::string(text) + "\"";
}

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

std::optional<std::string> PercentDecoded(std::string_view text) {
    std::string decoded;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '%') {
            decoded += text[i];
            continue;
        }
        if (i + 2 >= text.size()) return std::nullopt;
        int high = HexDigit(text[i + 1]);
        int low = HexDigit(text[i + 2]);
        if (high < 0 || low < 0) return std::nullopt;
        decoded += static_cast<char>(high * 16 + low);
        i += 2;
    }
    return decoded;
}

void AppendEncoded(std::string& out, std::string_view value) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    for (unsigned char c : value) {
        bool plain =
            (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') ||
            std::string_view("-._~/@:").find(static_cast<char>(c)) != std::string_view::npos;
        if (plain) {
            out += static_cast<char>(c);
        } else {
            out += '%';
            out += kHex[c >> 4];
            out += kHex[c & 15];
        }
    }
}

std::optional<int> PriorityValue(std::string_view value) {
    if (value.size() == 1 && value[0] >= '0' && value[0] <= '7') return value[0] - '0';
    for (std::size_t i = 0; i < kPriorityNames.size(); ++i) {
        if (value == kPriorityNames[i]) return static_cast<int>(i);
    }
    return std::nullopt;
}

void SortUnique(std::vector<std::string>& values) {
    std::sort(values.begin(), values.end());
    values.erase(std::unique(values.begin(), values.end()), values.end());
}

// Reads one key=value pair into query; the reason of a refusal into problem.
bool ReadPair(std::string_view key, std::string_view value, JournalQuery& query,
              std::vector<std::string>& seen, std::string& problem) {
    bool repeatable = key == "unit" || key == "identifier";
    if (!repeatable && std::find(seen.begin(), seen.end(), key) != seen.end()) {
        problem = "gives " + Quoted(key) + " twice";
        return false;
    }
    seen.emplace_back(key);
    if (value.empty() && key != "boot") {
        problem = "leaves " + Quoted(key) + " empty";
        return false;
    }
    if (key == "boot") {
        if (!value.empty() && value != "1" && value != "0") {
            problem = "gives \"boot\" the value " + Quoted(value) + ": use 1 for this boot only";
            return false;
        }
        query.thisBoot = value != "0";
    } else if (key == "dir") {
        std::filesystem::path folder = std::filesystem::absolute(std::string(value));
        query.folder = folder.lexically_normal().string();
        while (query.folder.size() > 1 && query.folder.back() == '/') query.folder.pop_back();
    } else if (key == "host") {
        query.host = value;
    } else if (key == "identifier") {
        query.identifiers.emplace_back(value);
    } else if (key == "priority") {
        std::optional<int> priority = PriorityValue(value);
        if (!priority) {
            problem = "gives \"priority\" the value " + Quoted(value) +
                      ": use 0 (emerg) to 7 (debug) or the name of a priority";
            return false;
        }
        query.maxPriority = *priority;
    } else if (key == "unit") {
        std::string unit(value);
        if (unit.find('.') == std::string::npos) unit += ".service";
        query.units.push_back(unit);
    } else {
        problem = "has the unknown key " + Quoted(key) +
                  " (the keys are boot, dir, host, identifier, priority and unit)";
        return false;
    }
    return true;
}

}  // namespace

bool IsJournalName(std::u16string_view name) {
    return name.starts_with(kScheme);
}

bool ParseJournalName(std::u16string_view name, JournalQuery& query, std::u16string& error) {
    query = JournalQuery{};
    std::string problem;
    std::string rest = platform::Utf16ToUtf8(name.substr(std::min(name.size(), kScheme.size())));
    if (!IsJournalName(name) || (!rest.empty() && rest[0] != '?')) {
        problem = "is not understood: a journal name looks like \"journal:?unit=ssh.service\"";
    }
    std::vector<std::string> seen;
    std::string_view pairs = rest.empty() ? std::string_view() : std::string_view(rest).substr(1);
    while (problem.empty() && !pairs.empty()) {
        std::size_t end = std::min(pairs.find('&'), pairs.size());
        std::string_view pair = pairs.substr(0, end);
        pairs.remove_prefix(std::min(end + 1, pairs.size()));
        if (pair.empty()) continue;
        std::size_t equals = std::min(pair.find('='), pair.size());
        std::optional<std::string> key = PercentDecoded(pair.substr(0, equals));
        std::optional<std::string> value =
            PercentDecoded(pair.substr(std::min(equals + 1, pair.size())));
        if (!key || !value) {
            problem = "has a bad percent sign in " + Quoted(pair) + " (write %25 for one)";
        } else if (key->find('\0') != std::string::npos || value->find('\0') != std::string::npos) {
            problem = "has a zero character in " + Quoted(pair);
        } else {
            ReadPair(*key, *value, query, seen, problem);
        }
    }
    if (!problem.empty()) {
        error = platform::Utf8ToUtf16("The journal name " + Quoted(platform::Utf16ToUtf8(name)) +
                                      " " + problem + ".");
        query = JournalQuery{};
        return false;
    }
    SortUnique(query.identifiers);
    SortUnique(query.units);
    return true;
}

std::u16string FormatJournalName(const JournalQuery& query) {
    std::string pairs;
    auto add = [&pairs](std::string_view key, std::string_view value) {
        pairs += pairs.empty() ? '?' : '&';
        pairs += key;
        pairs += '=';
        AppendEncoded(pairs, value);
    };
    if (query.thisBoot) add("boot", "1");
    if (!query.folder.empty()) add("dir", query.folder);
    if (!query.host.empty()) add("host", query.host);
    std::vector<std::string> identifiers = query.identifiers;
    SortUnique(identifiers);
    for (const std::string& identifier : identifiers) add("identifier", identifier);
    if (query.maxPriority >= 0 && query.maxPriority <= 7) {
        add("priority", std::to_string(query.maxPriority));
    }
    std::vector<std::string> units = query.units;
    SortUnique(units);
    for (const std::string& unit : units) add("unit", unit);
    return std::u16string(kScheme) + platform::Utf8ToUtf16(pairs);
}

}  // namespace streams
