#pragma once
// What a document asks of the programs outside this one: its file opened in
// the editor chosen for it, and its folder shown in the file manager. The
// application implements it; a document without one does neither.

#include <string_view>

namespace core {

class IExternalPrograms {
public:
    virtual ~IExternalPrograms() = default;

    virtual void OpenInEditor(std::u16string_view path) = 0;
    virtual void ShowInFolder(std::u16string_view path) = 0;
};

}  // namespace core
