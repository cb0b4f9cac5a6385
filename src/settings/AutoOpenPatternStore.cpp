#include "settings/AutoOpenPatternStore.h"

#include "platform/Registry.h"
#include "settings/RegValueIo.h"
#include "settings/RegistryPaths.h"

namespace settings {

using platform::DWORD;
using platform::ERROR_SUCCESS;
using platform::RegKey;
using platform::RegRoot;

namespace {

// The value's text when it exists, fits the reading buffer and holds more
// than minBytes bytes (terminator included).
bool ReadPatternValue(const RegKey& key, const std::u16string& name, DWORD minBytes,
                      std::u16string& text) {
    DWORD size = 0;
    if (key.QueryValue(name, nullptr, nullptr, &size) != ERROR_SUCCESS) return false;
    if (size > AutoOpenPatternStore::kMaxValueBytes || size <= minBytes) return false;
    return ReadText(key, name, text) && !text.empty();
}

}  // namespace

std::vector<AutoOpenPattern> AutoOpenPatternStore::Load() {
    std::vector<AutoOpenPattern> patterns;
    RegKey key;
    if (key.Open(RegRoot::CurrentUser, reg_paths::kAOFPatterns) != ERROR_SUCCESS) return patterns;
    for (int number = 1;; ++number) {
        AutoOpenPattern pattern;
        if (!ReadPatternValue(key, NumberedName(u"Folder", number), 2, pattern.folder)) break;
        if (!ReadPatternValue(key, NumberedName(u"File", number), 2, pattern.fileNamePattern)) {
            break;
        }
        patterns.push_back(std::move(pattern));
    }
    return patterns;
}

bool AutoOpenPatternStore::Save(const std::vector<AutoOpenPattern>& patterns) {
    platform::RegTransaction transaction;
    RegKey key;
    if (!RecreateUserKey(reg_paths::kAOFPatterns, key)) {
        transaction.Cancel();
        return false;
    }
    bool saved = true;
    int number = 1;
    for (const AutoOpenPattern& pattern : patterns) {
        saved &= key.SetString(NumberedName(u"Folder", number), pattern.folder) == ERROR_SUCCESS;
        saved &=
            key.SetString(NumberedName(u"File", number), pattern.fileNamePattern) == ERROR_SUCCESS;
        ++number;
    }
    if (!saved) {
        transaction.Cancel();
        return false;
    }
    return transaction.Commit();
}

}  // namespace settings
