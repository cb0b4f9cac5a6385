#include <sstream>

#include "RegCommands.h"
#include "RegData.h"
#include "RegTreeWalk.h"
#include "platform/CodePage.h"
#include "platform/RegistryNames.h"

namespace tarvik_reg {

namespace {

using platform::DWORD;
using platform::LSTATUS;
using platform::RegKey;
using ValueFilter = std::optional<std::u16string>;

std::string ShownName(std::u16string_view name) {
    return name.empty() ? "(Default)" : platform::Utf16ToUtf8(name);
}

void PrintValue(std::ostream& out, std::u16string_view name, const Value& value) {
    out << "    " << ShownName(name) << "    " << TypeName(value.type) << "    "
        << DisplayData(value) << '\n';
}

bool Matches(std::u16string_view name, const ValueFilter& only) {
    return !only || platform::registry_names::Fold(name) == platform::registry_names::Fold(*only);
}

// Prints the key line and its values (all, or the one asked for); a key
// without a matching value is shown only when showEmpty is set. Returns the
// number of values printed.
int PrintKey(const RegKey& key, const KeyPath& path, const ValueFilter& only, bool showEmpty,
             std::ostream& out) {
    std::ostringstream values;
    int printed = 0;
    std::u16string name;
    Value value;
    for (DWORD i = 0; key.EnumValue(i, name, &value.type, &value.data) == platform::ERROR_SUCCESS;
         ++i) {
        if (!Matches(name, only)) continue;
        PrintValue(values, name, value);
        ++printed;
    }
    if (printed == 0 && !showEmpty) return 0;
    out << '\n' << path.Display() << '\n' << values.str();
    if (printed > 0) out << '\n';
    return printed;
}

int QueryRecursive(const KeyPath& path, const ValueFilter& only, Streams streams) {
    platform::RegTransaction snapshot;
    std::ostringstream text;
    int found = 0;
    const LSTATUS status = WalkTree(path, [&](const RegKey& key, const KeyPath& keyPath) {
        found += PrintKey(key, keyPath, only, !only, text);
        return platform::ERROR_SUCCESS;
    });
    snapshot.Commit();
    if (status != platform::ERROR_SUCCESS) return FailStatus(streams, status);
    streams.out << text.str();
    if (!only) return 0;
    streams.out << "End of search: " << found << " match(es) found.\n";
    return found > 0 ? 0 : FailStatus(streams, platform::ERROR_FILE_NOT_FOUND);
}

int QueryOneValue(const RegKey& key, const KeyPath& path, std::u16string_view name,
                  Streams streams) {
    Value value;
    LSTATUS status = key.QueryValue(name, &value.type, nullptr, nullptr);
    if (status == platform::ERROR_SUCCESS) status = key.QueryBinary(name, value.data);
    if (status != platform::ERROR_SUCCESS) return FailStatus(streams, status);
    streams.out << '\n' << path.Display() << '\n';
    PrintValue(streams.out, name, value);
    streams.out << '\n';
    return 0;
}

}  // namespace

int Query(const Arguments& arguments, Streams streams) {
    const auto path = KeyArgument(arguments.positional[0], streams);
    if (!path) return 1;
    RegKey key;
    if (LSTATUS status = key.Open(path->root, path->below); status != platform::ERROR_SUCCESS)
        return FailStatus(streams, status);
    ValueFilter only;
    if (arguments.valueName) only = platform::Utf8ToUtf16(*arguments.valueName);
    if (arguments.defaultValue) only = std::u16string();

    if (arguments.recurse) return QueryRecursive(*path, only, streams);
    if (only) return QueryOneValue(key, *path, *only, streams);
    PrintKey(key, *path, std::nullopt, true, streams.out);
    std::u16string name;
    for (DWORD i = 0; key.EnumKey(i, name) == platform::ERROR_SUCCESS; ++i)
        streams.out << path->Child(name).Display() << '\n';
    return 0;
}

}  // namespace tarvik_reg
