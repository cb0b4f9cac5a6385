#include "app/LogAssociation.h"

#include <vector>

#include "app/DesktopLogDefault.h"
#include "filters/AsciiFold.h"
#include "platform/CodePage.h"
#include "platform/DebugOutput.h"
#include "platform/Process.h"
#include "platform/Registry.h"

namespace app {

using platform::DWORD;
using platform::ERROR_SUCCESS;
using platform::RegKey;
using platform::RegRoot;

namespace {

constexpr std::u16string_view kLogKey = u".log";
constexpr std::u16string_view kNewType = u"logfile";
constexpr std::u16string_view kNewTypeText = u"Log File";
// Beside the command: the desktop's default for .log files before ours.
constexpr std::u16string_view kPreviousDesktopDefault = u"PreviousDesktopDefault";
// The longest file type and command read back, in bytes.
constexpr DWORD kMaxTypeBytes = 2048;

// The default value of a class-root key, read into a buffer of maxBytes;
// empty when the key or value is missing or does not fit.
std::u16string ReadDefault(std::u16string_view path, DWORD maxBytes) {
    RegKey key;
    if (key.Open(RegRoot::ClassesRoot, path) != ERROR_SUCCESS) return {};
    std::vector<char16_t> buffer(maxBytes / 2 + 1, u'\0');
    DWORD size = maxBytes;
    if (key.QueryValue(u"", nullptr, buffer.data(), &size) != ERROR_SUCCESS) return {};
    std::u16string text(buffer.data(), size / 2);
    while (!text.empty() && text.back() == u'\0') text.pop_back();
    // A value with an embedded terminator ends there, as a C string would.
    return text.substr(0, text.find(u'\0'));
}

std::u16string VerbPath(std::u16string_view type) {
    return std::u16string(type) + u"\\shell\\" + std::u16string(kLogVerb);
}

std::u16string CommandPath(std::u16string_view type) {
    return VerbPath(type) + u"\\command";
}

// Makes the desktop open .log files here, remembering beside the command
// which default it replaces. Associating again keeps the one remembered
// the first time.
void TakeDesktopDefault(std::u16string_view type, std::u16string_view programPath) {
    RegKey verb;
    if (verb.Open(RegRoot::ClassesRoot, VerbPath(type)) != ERROR_SUCCESS) return;
    const std::string current = QueryDesktopLogDefault();
    std::u16string remembered;
    if (current != kDesktopEntryName) {
        verb.SetString(kPreviousDesktopDefault, platform::Utf8ToUtf16(current));
    } else if (verb.QueryString(kPreviousDesktopDefault, remembered) != ERROR_SUCCESS) {
        verb.SetString(kPreviousDesktopDefault, u"");
    }
    if (!MakeDesktopLogDefault(platform::Utf16ToUtf8(programPath))) {
        platform::OutputDebugStringA(std::string(platform::kDebugPrefix) +
                                     "xdg-mime could not make .log files open here");
    }
}

}  // namespace

std::u16string AssociationCommand(std::u16string_view programPath) {
    return u"\"" + std::u16string(programPath) + u"\" \"%1\"";
}

bool IsLogAssociated(std::u16string_view programPath) {
    const std::u16string type = ReadDefault(kLogKey, kMaxTypeBytes);
    if (type.empty()) return false;
    return filters::FoldedAsciiLower(ReadDefault(CommandPath(type), kMaxTypeBytes)) ==
           filters::FoldedAsciiLower(AssociationCommand(programPath));
}

bool AssociateLog(std::u16string_view programPath) {
    RegKey log;
    const bool existed = log.Open(RegRoot::ClassesRoot, kLogKey) == ERROR_SUCCESS;
    if (!existed && log.Create(RegRoot::ClassesRoot, kLogKey) != ERROR_SUCCESS) return false;
    std::u16string type = existed ? ReadDefault(kLogKey, kMaxTypeBytes) : std::u16string();
    const bool newType = type.empty();
    if (newType) {
        type = kNewType;
        log.SetString(u"", type);
        RegKey typeKey;
        if (typeKey.Create(RegRoot::ClassesRoot, type) != ERROR_SUCCESS ||
            typeKey.SetString(u"", kNewTypeText) != ERROR_SUCCESS) {
            return false;
        }
    }
    RegKey command;
    if (command.Create(RegRoot::ClassesRoot, CommandPath(type)) != ERROR_SUCCESS) return false;
    if (command.SetString(u"", AssociationCommand(programPath)) != ERROR_SUCCESS) return false;
    TakeDesktopDefault(type, programPath);
    return true;
}

void UnassociateLog(core::IUserInterface* ui) {
    const std::u16string type = ReadDefault(kLogKey, kMaxTypeBytes);
    if (type.empty()) return;
    RegKey verb;
    std::u16string previous;
    const bool remembered = verb.Open(RegRoot::ClassesRoot, VerbPath(type)) == ERROR_SUCCESS &&
                            verb.QueryString(kPreviousDesktopDefault, previous) == ERROR_SUCCESS;
    verb.Close();
    RegKey root;
    bool deleted = root.Open(RegRoot::ClassesRoot, u"") == ERROR_SUCCESS &&
                   root.DeleteSubKey(CommandPath(type)) == ERROR_SUCCESS;
    if (deleted) deleted = root.DeleteSubKey(VerbPath(type)) == ERROR_SUCCESS;
    if (!deleted) {
        if (ui) ui->ShowMessage(kUnassociateFailed, core::MessageIcon::Exclamation);
        return;
    }
    if (remembered && !RestoreDesktopLogDefault(platform::Utf16ToUtf8(previous))) {
        platform::OutputDebugStringA(std::string(platform::kDebugPrefix) +
                                     "xdg-mime could not give .log files back");
    }
}

std::u16string RunningProgramPath() {
    return platform::Utf8ToUtf16(platform::ProgramPath());
}

void ChangeLogAssociation(bool associate, core::IUserInterface* ui) {
    if (!associate) {
        UnassociateLog(ui);
    } else if (!AssociateLog(RunningProgramPath()) && ui) {
        ui->ShowMessage(kAssociateFailed, core::MessageIcon::Exclamation);
    }
}

}  // namespace app
