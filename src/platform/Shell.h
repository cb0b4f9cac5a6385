#pragma once
// The desktop's "open": a program started with a parameter, a document or a
// web address handed to the desktop's usual program for it (xdg-open), and
// the file manager showing a file. Nothing waits for what is started.

#include <string>
#include <string_view>

#include "platform/Process.h"

namespace platform {

// Starts program with parameter as its one argument (none when empty). The
// program is a path or a name looked up in PATH; when no such program exists,
// and the text has blanks, it is taken as a command line of the program and
// its own arguments (Windows quoting rules).
StartResult ShellOpen(std::u16string_view program, std::u16string_view parameter);

// Hands a file, folder or web address to xdg-open.
StartResult ShellOpenDocument(std::u16string_view target);

// Asks the file manager to show the folder of path with the file selected
// (org.freedesktop.FileManager1.ShowItems on the session bus); when no file
// manager answers, the folder is opened with xdg-open. Runs in the
// background: the call returns at once.
void ShowInFileManager(std::u16string_view path);

// A file:// address of an absolute path, with everything but unreserved
// characters and slashes percent-encoded.
std::string FileUri(std::string_view path);

}  // namespace platform
