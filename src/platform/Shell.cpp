#include "platform/Shell.h"

#include <unistd.h>

#include <system_error>
#include <thread>
#include <vector>

#include "platform/CodePage.h"
#include "platform/CommandLineArgs.h"

namespace platform {

namespace {

bool IsExecutable(const std::string& path) {
    return access(path.c_str(), X_OK) == 0;
}

// Whether name (no slash) is a program somewhere in PATH.
bool IsInPath(const std::string& name) {
    const char* pathVariable = getenv("PATH");
    std::string_view rest = pathVariable ? pathVariable : "/usr/bin:/bin";
    while (true) {
        const std::size_t colon = rest.find(':');
        std::string folder(rest.substr(0, colon));
        if (folder.empty()) folder = ".";
        if (IsExecutable(folder + "/" + name)) return true;
        if (colon == std::string_view::npos) return false;
        rest.remove_prefix(colon + 1);
    }
}

bool ProgramExists(const std::string& program) {
    if (program.empty()) return false;
    return program.find('/') != std::string::npos ? IsExecutable(program) : IsInPath(program);
}

std::vector<std::string> ProgramArguments(std::u16string_view program) {
    std::string whole = Utf16ToUtf8(program);
    // A program named in quotes as a whole stays one name.
    if (whole.size() >= 2 && whole.front() == '"' && whole.back() == '"') {
        whole = whole.substr(1, whole.size() - 2);
    }
    if (ProgramExists(whole) || whole.find_first_of(" \t") == std::string::npos) return {whole};
    std::vector<std::string> argv;
    for (const std::u16string& arg : SplitCommandLine(program)) argv.push_back(Utf16ToUtf8(arg));
    return argv;
}

std::string FolderOf(const std::string& path) {
    const std::size_t slash = path.find_last_of('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

}  // namespace

StartResult ShellOpen(std::u16string_view program, std::u16string_view parameter) {
    std::vector<std::string> argv = ProgramArguments(program);
    if (argv.empty()) return StartResult::NotFound;
    if (!parameter.empty()) argv.push_back(Utf16ToUtf8(parameter));
    return StartDetached(argv);
}

StartResult ShellOpenDocument(std::u16string_view target) {
    return StartDetached({"xdg-open", Utf16ToUtf8(target)});
}

std::string FileUri(std::string_view path) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string uri = "file://";
    for (const char c : path) {
        const auto byte = static_cast<unsigned char>(c);
        const bool keep = (byte >= 'A' && byte <= 'Z') || (byte >= 'a' && byte <= 'z') ||
                          (byte >= '0' && byte <= '9') || c == '-' || c == '.' || c == '_' ||
                          c == '~' || c == '/';
        if (keep) {
            uri += c;
        } else {
            uri += '%';
            uri += kHex[byte >> 4];
            uri += kHex[byte & 0x0F];
        }
    }
    return uri;
}

void ShowInFileManager(std::u16string_view path) {
    const std::string file = Utf16ToUtf8(path);
    // The bus call waits for the file manager's answer, so it runs apart
    // from the caller; the fallback needs that answer.
    try {
        std::thread([file] {
            const int status = RunAndWait({"gdbus", "call", "--session", "--timeout", "10",
                                           "--dest", "org.freedesktop.FileManager1",
                                           "--object-path", "/org/freedesktop/FileManager1",
                                           "--method", "org.freedesktop.FileManager1.ShowItems",
                                           "['" + FileUri(file) + "']", ""});
            if (status != 0) StartDetached({"xdg-open", FolderOf(file)});
        }).detach();
    } catch (const std::system_error&) {
        // At the thread limit the folder alone is shown, or nothing.
        StartDetached({"xdg-open", FolderOf(file)});
    }
}

}  // namespace platform
