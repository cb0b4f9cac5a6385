#include "app/HelpPages.h"

#include <filesystem>
#include <vector>

#include "core/WaitCursor.h"
#include "platform/CodePage.h"
#include "platform/CommandLineArgs.h"
#include "platform/Registry.h"
#include "platform/Shell.h"

namespace app {

namespace fs = std::filesystem;

namespace {

// The longest .htm type and browser command read, in bytes.
constexpr platform::DWORD kMaxBrowserBytes = 1040;

std::u16string ClassDefault(std::u16string_view path) {
    platform::RegKey key;
    if (key.Open(platform::RegRoot::ClassesRoot, path) != platform::ERROR_SUCCESS) return {};
    std::vector<char16_t> buffer(kMaxBrowserBytes / 2 + 1, u'\0');
    platform::DWORD size = kMaxBrowserBytes;
    if (key.QueryValue(u"", nullptr, buffer.data(), &size) != platform::ERROR_SUCCESS) return {};
    std::u16string text(buffer.data(), size / 2);
    return text.substr(0, text.find(u'\0'));
}

// The registered browser's command line for address; empty when none.
std::u16string BrowserCommand(std::u16string_view address) {
    const std::u16string type = ClassDefault(u".htm");
    if (type.empty()) return {};
    std::u16string command = ClassDefault(type + u"\\shell\\open\\command");
    if (command.empty()) return {};
    std::size_t cut = command.find(u"\"%1\"");
    if (cut == std::u16string::npos) cut = command.find(u"%1");
    if (cut != std::u16string::npos) command.resize(cut);
    return command + u" " + std::u16string(address);
}

}  // namespace

std::string HelpPagePathFor(std::string_view programFolder, std::string_view page) {
    const fs::path folder(programFolder);
    const fs::path beside = folder / page;
    std::error_code error;
    if (fs::exists(beside, error)) return beside.string();
    const fs::path installed = (folder / ".." / "share" / "ostra-tarvik" / page).lexically_normal();
    if (fs::exists(installed, error)) return installed.string();
    return beside.string();
}

std::string HelpPagePath(std::string_view page) {
    const std::string program = platform::ProgramPath();
    const std::size_t slash = program.find_last_of('/');
    if (slash == std::string::npos) return {};
    return HelpPagePathFor(program.substr(0, slash), page);
}

void OpenHelpPage(std::string_view page) {
    const std::string path = HelpPagePath(page);
    if (!path.empty()) platform::ShellOpenDocument(platform::Utf8ToUtf16(path));
}

void OpenHelp(core::IUserInterface* ui) {
    core::CWaitCursor wait(ui);
    OpenHelpPage(kManualPage);
}

bool OpenUrl(std::u16string_view address) {
    if (platform::ShellOpenDocument(address) == platform::StartResult::Started) return true;
    const std::u16string command = BrowserCommand(address);
    if (command.empty()) return false;
    std::vector<std::string> argv;
    for (const std::u16string& arg : platform::SplitCommandLine(command)) {
        argv.push_back(platform::Utf16ToUtf8(arg));
    }
    return platform::StartDetached(argv) == platform::StartResult::Started;
}

}  // namespace app
