#pragma once
// What the "Open Command..." dialog chose for a command document beyond its
// name: the folder it runs in and whether it starts again when it ends,
// kept by the document's name so that the recent list and file sets open it
// as it was.

#include <string>
#include <string_view>

namespace settings {

struct CommandDocumentChoice {
    // Empty: the folder the program runs in.
    std::u16string folder;
    bool restart = false;
};

class CommandDocumentStore {
public:
    // The defaults when nothing is kept for the name.
    static CommandDocumentChoice Load(std::u16string_view name);
    static bool Save(std::u16string_view name, const CommandDocumentChoice& choice);
};

}  // namespace settings
