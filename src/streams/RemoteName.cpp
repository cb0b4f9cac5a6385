#include "streams/RemoteName.h"

#include <algorithm>
#include <charconv>

#include "platform/CodePage.h"

namespace streams {

namespace {

constexpr std::string_view kJournalPath = "/journal";
constexpr std::u16string_view kJournalScheme = u"journal:";

bool HasControl(std::string_view text) {
    return std::any_of(text.begin(), text.end(), [](char c) {
        const auto byte = static_cast<unsigned char>(c);
        return byte < 0x20 || byte == 0x7F;
    });
}

// Refuses what ssh would read as an option, or what breaks the name apart.
bool PlainPart(std::string_view text, std::string_view forbidden) {
    if (text.empty() || text.front() == '-' || HasControl(text)) return false;
    return text.find_first_of(forbidden) == std::string_view::npos;
}

bool ReadPort(std::string_view text, int& port) {
    if (text.empty() || text.size() > 5) return false;
    int value = 0;
    auto [end, failure] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (failure != std::errc() || end != text.data() + text.size()) return false;
    if (value < 1 || value > 65535) return false;
    port = value;
    return true;
}

}  // namespace

bool IsRemoteName(std::u16string_view name) {
    return name.starts_with(kRemotePrefix);
}

bool ParseRemoteHost(std::u16string_view text, RemoteHost& host, std::u16string& error) {
    host = RemoteHost{};
    const std::string written = platform::Utf16ToUtf8(text);
    std::string_view rest = written;
    const std::size_t at = rest.rfind('@');
    if (at != std::string_view::npos) {
        host.user = rest.substr(0, at);
        rest.remove_prefix(at + 1);
        if (!PlainPart(host.user, " \t/:@")) {
            error = u"The user name \"" + platform::Utf8ToUtf16(host.user) +
                    u"\" is not one ssh can take.";
            return false;
        }
    }
    std::string_view portText;
    if (!rest.empty() && rest.front() == '[') {
        const std::size_t close = rest.find(']');
        if (close == std::string_view::npos ||
            (close + 1 < rest.size() && rest[close + 1] != ':')) {
            error = u"The host \"" + platform::Utf8ToUtf16(rest) +
                    u"\" is not understood: write an IPv6 address as [::1] or [::1]:22.";
            return false;
        }
        if (close + 1 < rest.size()) {
            portText = rest.substr(close + 2);
            if (portText.empty()) portText = "-";
        }
        rest = rest.substr(1, close - 1);
    } else if (std::count(rest.begin(), rest.end(), ':') == 1) {
        const std::size_t colon = rest.find(':');
        portText = rest.substr(colon + 1);
        rest = rest.substr(0, colon);
        if (portText.empty()) portText = "-";
    }
    host.host = rest;
    if (!PlainPart(host.host, " \t/?#@[]")) {
        error = u"The host \"" + platform::Utf8ToUtf16(host.host) +
                u"\" is not one ssh can take: write a host name, an alias or an address.";
        return false;
    }
    if (!portText.empty() && !ReadPort(portText, host.port)) {
        error = u"The port \"" + platform::Utf8ToUtf16(portText) +
                u"\" is not a port: use a number from 1 to 65535.";
        return false;
    }
    return true;
}

std::u16string FormatRemoteHost(const RemoteHost& host) {
    std::string text;
    if (!host.user.empty()) text = host.user + "@";
    const bool bracket = host.port != 0 && host.host.find(':') != std::string::npos;
    text += bracket ? "[" + host.host + "]" : host.host;
    if (host.port != 0) text += ":" + std::to_string(host.port);
    return platform::Utf8ToUtf16(text);
}

bool ParseRemoteName(std::u16string_view name, RemoteQuery& query, std::u16string& error) {
    query = RemoteQuery{};
    if (!IsRemoteName(name)) {
        error = u"\"" + std::u16string(name) +
                u"\" is not a remote name: it looks like \"ssh://host/var/log/syslog\".";
        return false;
    }
    std::u16string_view rest = name.substr(kRemotePrefix.size());
    // The host part ends at the first slash; a bracketed address may hold none.
    const std::size_t slash = rest.find(u'/');
    if (slash == std::u16string_view::npos || slash == 0) {
        error = u"\"" + std::u16string(name) +
                u"\" names no host or no path: write \"ssh://host/var/log/syslog\".";
        return false;
    }
    if (!ParseRemoteHost(rest.substr(0, slash), query.host, error)) return false;
    const std::string path = platform::Utf16ToUtf8(rest.substr(slash));
    const std::string_view view = path;
    if (view == kJournalPath || view.starts_with(std::string(kJournalPath) + "?")) {
        query.journal = true;
        const std::u16string journalName = std::u16string(kJournalScheme) +
                                           platform::Utf8ToUtf16(view.substr(kJournalPath.size()));
        return ParseJournalName(journalName, query.journalQuery, error);
    }
    if (path.size() < 2 || HasControl(path) || path == "/~" || path == "/~/") {
        error = u"\"" + std::u16string(name) +
                u"\" names no file: the path after the host must be a file's path.";
        return false;
    }
    query.path = path;
    return true;
}

std::u16string FormatRemoteName(const RemoteQuery& query) {
    std::u16string name(kRemotePrefix);
    name += FormatRemoteHost(query.host);
    if (!query.journal) return name + platform::Utf8ToUtf16(query.path);
    const std::u16string journalName = FormatJournalName(query.journalQuery);
    name += platform::Utf8ToUtf16(kJournalPath);
    name += std::u16string_view(journalName).substr(kJournalScheme.size());
    return name;
}

}  // namespace streams
