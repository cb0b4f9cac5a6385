#pragma once
// The documents' way to the editor and the file manager: the editor comes
// from the application's default editor and per-extension list as they
// stand when the command runs.

#include <vector>

#include "core/DocContext.h"
#include "core/IExternalPrograms.h"
#include "settings/FileExtEditorStore.h"

namespace app {

class CExternalPrograms : public core::IExternalPrograms {
public:
    CExternalPrograms(const core::DocContext& context,
                      const std::vector<settings::FileExtEditor>& editors)
        : context_(context), editors_(editors) {}

    void OpenInEditor(std::u16string_view path) override;
    void ShowInFolder(std::u16string_view path) override;

private:
    const core::DocContext& context_;
    const std::vector<settings::FileExtEditor>& editors_;
};

}  // namespace app
