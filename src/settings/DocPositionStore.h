#pragma once
// One remembered window rectangle per document, named by the document's full
// path (with its case kept). Values are added or replaced; only the value an
// earlier version kept under the bare path is deleted, once it is replaced.

#include <string>
#include <string_view>

#include "settings/WindowRect.h"

namespace settings {

class DocPositionStore {
public:
    // The name the debug-output capture document is kept under.
    static constexpr std::u16string_view kCaptureName = u"CaptureOutputDebugString";

    // The value name of a document: its full path kept with its case, or the
    // capture's fixed name.
    static std::u16string ValueName(std::u16string_view pathName, bool isCapture);

    // False when nothing usable is stored: a value of any size but 16 bytes is ignored.
    static bool Load(std::u16string_view valueName, WindowRect& rect);
    static bool Save(std::u16string_view valueName, const WindowRect& rect);

    // A document's position: under its value name, else once under the bare
    // path earlier versions used; saving drops that old value.
    static bool LoadFor(std::u16string_view pathName, bool isCapture, WindowRect& rect);
    static bool SaveFor(std::u16string_view pathName, bool isCapture, const WindowRect& rect);
};

}  // namespace settings
