#include "streams/ui/SshConfigHosts.h"

#include <glob.h>
#include <pwd.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "platform/CodePage.h"
#include "platform/File.h"
#include "streams/RemoteName.h"

namespace streams_ui {

namespace {

// Far above any real configuration; what lies beyond is left out.
constexpr std::size_t kMaxBytes = 1 << 20;  // of all the files together
constexpr int kMaxFiles = 64;
constexpr int kMaxDepth = 8;  // of includes, which may name each other
constexpr std::size_t kMaxHosts = 1000;

std::string HomeFolder() {
    if (const passwd* entry = getpwuid(getuid()); entry && entry->pw_dir && *entry->pw_dir) {
        return entry->pw_dir;
    }
    const char* home = std::getenv("HOME");
    return home ? home : "";
}

struct Reading {
    std::string home;
    std::string folder;  // where relative includes are found
    std::size_t bytesLeft = kMaxBytes;
    int filesLeft = kMaxFiles;
    std::vector<std::string> hosts;
};

// At most limit bytes of a regular file, ending at a line's end when the
// file goes on, so that no alias is cut short.
std::string ReadBounded(const std::string& path, std::size_t limit) {
    platform::CFile file;
    std::uint64_t size = 0;
    if (!file.OpenForReading(path) || !file.Size(size)) return {};
    std::string text(static_cast<std::size_t>(std::min<std::uint64_t>(size, limit)), '\0');
    std::size_t filled = 0;
    while (filled < text.size()) {
        const long long got = file.ReadAt(filled, text.data() + filled, text.size() - filled);
        if (got <= 0) break;
        filled += static_cast<std::size_t>(got);
    }
    text.resize(filled);
    if (size > filled) text.erase(std::min(text.size(), text.rfind('\n') + 1));
    return text;
}

bool IsSpace(char c) {
    return c == ' ' || c == '\t' || c == '\r';
}

// The words of one line: a word in double quotes may hold spaces, and a
// word beginning with "#" starts a comment.
std::vector<std::string> Words(std::string_view line) {
    std::vector<std::string> words;
    std::size_t i = 0;
    while (true) {
        while (i < line.size() && IsSpace(line[i])) ++i;
        if (i == line.size() || line[i] == '#') break;
        std::string word;
        if (line[i] == '"') {
            const std::size_t close = line.find('"', i + 1);
            const std::size_t end = close == std::string_view::npos ? line.size() : close;
            word = line.substr(i + 1, end - i - 1);
            i = std::min(line.size(), end + 1);
        } else {
            while (i < line.size() && !IsSpace(line[i])) word += line[i++];
        }
        words.push_back(std::move(word));
    }
    return words;
}

bool SameWord(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) ==
                      std::tolower(static_cast<unsigned char>(y));
           });
}

// A name the host field takes back as that very host: no pattern, no
// negation, valid UTF-8, nothing ssh would read as an option or a port.
bool IsPlainAlias(const std::string& alias) {
    if (alias.find_first_of("*?!") != std::string::npos) return false;
    const std::u16string written = platform::Utf8ToUtf16(alias);
    if (platform::Utf16ToUtf8(written) != alias) return false;
    streams::RemoteHost host;
    std::u16string error;
    return streams::ParseRemoteHost(written, host, error) && host.user.empty() && host.port == 0 &&
           host.host == alias;
}

void ReadFile(const std::string& path, int depth, Reading& reading);

void ReadIncluded(const std::string& pattern, int depth, Reading& reading) {
    std::string full = pattern;
    if (pattern.starts_with("~/")) {
        full = reading.home + pattern.substr(1);
    } else if (!pattern.starts_with("/")) {
        full = reading.folder + "/" + pattern;
    }
    glob_t found{};
    if (glob(full.c_str(), 0, nullptr, &found) == 0) {
        for (std::size_t i = 0; i < found.gl_pathc; ++i)
            ReadFile(found.gl_pathv[i], depth, reading);
    }
    globfree(&found);
}

void ReadFile(const std::string& path, int depth, Reading& reading) {
    if (depth > kMaxDepth || reading.filesLeft <= 0 || reading.bytesLeft == 0) return;
    --reading.filesLeft;
    const std::string text = ReadBounded(path, reading.bytesLeft);
    reading.bytesLeft -= text.size();
    std::string_view rest = text;
    while (!rest.empty() && reading.hosts.size() < kMaxHosts) {
        const std::size_t end = std::min(rest.find('\n'), rest.size());
        std::string_view line = rest.substr(0, end);
        rest.remove_prefix(std::min(end + 1, rest.size()));
        // "Keyword value" or "Keyword=value".
        while (!line.empty() && IsSpace(line.front())) line.remove_prefix(1);
        const std::size_t keywordEnd = std::min(line.find_first_of(" \t\r="), line.size());
        const std::string_view keyword = line.substr(0, keywordEnd);
        line.remove_prefix(keywordEnd);
        while (!line.empty() && IsSpace(line.front())) line.remove_prefix(1);
        if (!line.empty() && line.front() == '=') line.remove_prefix(1);
        if (SameWord(keyword, "Host")) {
            for (const std::string& alias : Words(line)) {
                if (reading.hosts.size() < kMaxHosts && IsPlainAlias(alias) &&
                    std::find(reading.hosts.begin(), reading.hosts.end(), alias) ==
                        reading.hosts.end()) {
                    reading.hosts.push_back(alias);
                }
            }
        } else if (SameWord(keyword, "Include")) {
            for (const std::string& pattern : Words(line))
                ReadIncluded(pattern, depth + 1, reading);
        }
    }
}

}  // namespace

std::string UserSshConfigPath() {
    return HomeFolder() + "/.ssh/config";
}

std::vector<std::string> ReadSshConfigHosts(const std::string& path) {
    Reading reading;
    reading.home = HomeFolder();
    const std::size_t slash = path.rfind('/');
    reading.folder =
        slash == std::string::npos ? "." : path.substr(0, std::max<std::size_t>(slash, 1));
    ReadFile(path, 0, reading);
    return std::move(reading.hosts);
}

}  // namespace streams_ui
