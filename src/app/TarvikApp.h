#pragma once
// The application object: it owns the options and the settings kept with
// them for the whole run and offers their loading and saving. The logic lives
// in the stores; this class coordinates.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "app/FileExtEditorStore.h"
#include "app/FileSetStore.h"
#include "app/Options.h"
#include "app/WindowRect.h"

namespace app {

class CTarvikApp {
public:
    Options& GetOptions() { return options_; }
    const Options& GetOptions() const { return options_; }

    // Start-up reads this alone, before anything else; it is kept in the options.
    bool LoadOnlyOneInstance();

    // Loads every option, then the settings that depend on them. The caller
    // presets maximized to true and rect to an empty rectangle. Registry
    // errors leave defaults; the result is always true.
    bool LoadOptions(bool& maximized, WindowRect& rect);
    // Writes the groups named by mask (option_group bits). False only for an
    // empty mask.
    bool SaveOptions(std::uint32_t mask, bool maximized, const WindowRect* rect) const;

    // A document's remembered window rectangle; the capture document has a
    // fixed name instead of a path.
    bool LoadDocPosition(std::u16string_view pathName, bool isCapture, WindowRect& rect) const;
    bool SaveDocPosition(std::u16string_view pathName, bool isCapture,
                         const WindowRect& rect) const;

    bool LoadAlias(std::u16string_view path, std::u16string& alias) const;
    bool SaveAlias(std::u16string_view path, std::u16string_view alias) const;

    std::vector<std::u16string> EnumFileSets() const;
    std::vector<std::u16string> LoadFileSet(std::u16string_view name) const;
    bool SaveFileSets(const std::vector<FileSet>& sets) const;

    void LoadFileExtEditors();
    bool SaveFileExtEditors() const;
    const std::vector<FileExtEditor>& FileExtEditors() const { return fileExtEditors_; }
    void SetFileExtEditors(std::vector<FileExtEditor> editors);

    // Takes the bound pairs from the text of the editing box.
    void ParseBoundPairs(std::u16string_view text);

private:
    Options options_;
    std::vector<FileExtEditor> fileExtEditors_;
};

}  // namespace app
