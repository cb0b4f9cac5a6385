#include "app/DesktopLogDefault.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <vector>

#include "platform/Process.h"

namespace app {

namespace fs = std::filesystem;

namespace {

// Marks the entry written for a program that was not installed.
constexpr std::string_view kWrittenMark = "X-Ostra-Tarvik-Written=true";

std::string EnvironmentOr(const char* name, const std::string& fallback) {
    const char* value = std::getenv(name);
    return value && *value ? std::string(value) : fallback;
}

std::string Home() {
    return EnvironmentOr("HOME", "/");
}

fs::path UserDataFolder() {
    return EnvironmentOr("XDG_DATA_HOME", Home() + "/.local/share");
}

fs::path UserConfigFolder() {
    return EnvironmentOr("XDG_CONFIG_HOME", Home() + "/.config");
}

// Whether an entry of ours is where the desktop looks for applications.
bool IsEntryInstalled() {
    std::vector<fs::path> folders{UserDataFolder()};
    std::stringstream dirs(EnvironmentOr("XDG_DATA_DIRS", "/usr/local/share:/usr/share"));
    for (std::string dir; std::getline(dirs, dir, ':');) {
        if (!dir.empty()) folders.emplace_back(dir);
    }
    std::error_code error;
    for (const fs::path& folder : folders) {
        if (fs::exists(folder / "applications" / kDesktopEntryName, error)) return true;
    }
    return false;
}

bool WriteUserEntry(std::string_view programPath) {
    const fs::path folder = UserDataFolder() / "applications";
    std::error_code error;
    fs::create_directories(folder, error);
    std::ofstream out(folder / kDesktopEntryName, std::ios::trunc);
    out << "[Desktop Entry]\n"
           "Type=Application\n"
           "Name=Ostra Tarvik\n"
           "GenericName=Log Monitor\n"
           "Comment=Follow growing log files in real time\n"
        << "Exec=" << DesktopExecLine(programPath) << "\n"
        << "Icon=ostra-tarvik\n"
           "Terminal=false\n"
           "Categories=System;Monitor;Utility;\n"
           "MimeType=text/x-log;text/plain;\n"
        << kWrittenMark << "\n";
    out.close();
    return !out.fail();
}

// Drops the entry WriteUserEntry wrote, so that the desktop does not keep
// choosing it for .log files; an entry installed by other means stays.
void DropWrittenEntry() {
    const fs::path entry = UserDataFolder() / "applications" / kDesktopEntryName;
    std::ifstream in(entry);
    bool written = false;
    for (std::string line; !written && std::getline(in, line);) written = line == kWrittenMark;
    in.close();
    std::error_code error;
    if (written) fs::remove(entry, error);
}

bool StartsWith(std::string_view text, std::string_view prefix) {
    return text.substr(0, prefix.size()) == prefix;
}

// Drops our line for .log files from the [Default Applications] group of
// the user's mimeapps.list; the rest of the file stays as it was.
bool DropUserDefault() {
    const fs::path list = UserConfigFolder() / "mimeapps.list";
    std::ifstream in(list);
    if (!in) return true;
    const std::string ours = std::string(kLogMimeType) + "=" + std::string(kDesktopEntryName);
    std::string text;
    bool inDefaults = false;
    for (std::string line; std::getline(in, line);) {
        if (StartsWith(line, "[")) inDefaults = StartsWith(line, "[Default Applications]");
        if (inDefaults && StartsWith(line, ours) &&
            (line.size() == ours.size() || line[ours.size()] == ';')) {
            continue;
        }
        text += line;
        text += '\n';
    }
    in.close();
    const fs::path fresh = list.string() + ".new";
    std::ofstream out(fresh, std::ios::trunc);
    out << text;
    out.close();
    std::error_code error;
    if (out.fail()) return false;
    fs::rename(fresh, list, error);
    return !error;
}

bool SetDefault(std::string_view entry) {
    return platform::RunAndWait(
               {"xdg-mime", "default", std::string(entry), std::string(kLogMimeType)}) == 0;
}

}  // namespace

std::string DesktopExecLine(std::string_view programPath) {
    const bool plain = programPath.find_first_of(" \t\n\"'\\><~|&;$*?#()`=%") == std::string::npos;
    if (plain) return std::string(programPath) + " %F";
    // Inside quotes ", `, $ and \ take a backslash, and each backslash of
    // the quoted text is doubled again for the entry's string escapes. A
    // percent sign is doubled, or it would start a field code; a line break
    // is written as the entry's escape, or it would end the line.
    std::string quoted = "\"";
    for (const char c : programPath) {
        if (c == '"' || c == '`' || c == '$') quoted += "\\\\";
        if (c == '\\') quoted += "\\\\\\";
        if (c == '%') quoted += '%';
        if (c == '\n') {
            quoted += "\\n";
            continue;
        }
        quoted += c;
    }
    return quoted + "\" %F";
}

std::string QueryDesktopLogDefault() {
    std::string output;
    if (platform::RunAndWait({"xdg-mime", "query", "default", std::string(kLogMimeType)},
                             &output) != 0) {
        return {};
    }
    while (!output.empty() && (output.back() == '\n' || output.back() == ' ')) output.pop_back();
    return output;
}

bool MakeDesktopLogDefault(std::string_view programPath) {
    if (!IsEntryInstalled() && !WriteUserEntry(programPath)) return false;
    return SetDefault(kDesktopEntryName);
}

bool RestoreDesktopLogDefault(const std::string& previous) {
    if (QueryDesktopLogDefault() != kDesktopEntryName) return true;
    if (!previous.empty()) return SetDefault(previous);
    DropWrittenEntry();
    return DropUserDefault();
}

}  // namespace app
