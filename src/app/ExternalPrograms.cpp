#include "app/ExternalPrograms.h"

#include "app/ExternalEditor.h"
#include "core/WaitCursor.h"
#include "platform/Shell.h"

namespace app {

void CExternalPrograms::OpenInEditor(std::u16string_view path) {
    OpenWithEditor(path, context_.options.DefaultEditor, editors_, context_.ui);
}

void CExternalPrograms::ShowInFolder(std::u16string_view path) {
    core::CWaitCursor wait(context_.ui);
    platform::ShowInFileManager(path);
}

}  // namespace app
