#include "RegCommands.h"
#include "RegConfirm.h"
#include "RegData.h"
#include "platform/CodePage.h"

namespace tarvik_reg {

namespace {

using platform::DWORD;
using platform::LSTATUS;
using platform::RegKey;

std::u16string ValueName(const Arguments& arguments) {
    return arguments.valueName ? platform::Utf8ToUtf16(*arguments.valueName) : std::u16string();
}

std::string ShownName(const Arguments& arguments) {
    return arguments.valueName ? *arguments.valueName : "(Default)";
}

bool ValueExists(const KeyPath& path, std::u16string_view name) {
    RegKey key;
    return key.Open(path.root, path.below) == platform::ERROR_SUCCESS &&
           key.QueryValue(name, nullptr, nullptr, nullptr) == platform::ERROR_SUCCESS;
}

// The type and bytes /t and /d describe; prints the error when they are invalid.
std::optional<Value> ValueArgument(const Arguments& arguments, Streams streams) {
    Value value;
    if (arguments.type) {
        const auto type = ParseTypeName(*arguments.type);
        if (!type) {
            Fail(streams, "Invalid syntax: unknown type \"" + *arguments.type + "\".");
            return std::nullopt;
        }
        value.type = *type;
    }
    const std::string text =
        arguments.data ? *arguments.data : (value.type == platform::REG_DWORD ? "0" : "");
    auto data = ParseData(value.type, text);
    if (!data) {
        Fail(streams,
             "Invalid data \"" + text + "\" for " + TypeName(value.type) +
                 (value.type == platform::REG_DWORD ? " (decimal or 0x hex, at most 0xFFFFFFFF)."
                                                    : " (an even number of hex digits)."));
        return std::nullopt;
    }
    value.data = std::move(*data);
    return value;
}

int DeleteValues(RegKey& key, const Arguments& arguments, const KeyPath& path, Streams streams) {
    if (arguments.allValues) {
        if (!arguments.force &&
            !Confirm("Delete all values under the registry key " + path.Display(), streams.in,
                     streams.out))
            return Cancelled(streams);
        platform::RegTransaction group;
        std::u16string name;
        LSTATUS status = platform::ERROR_SUCCESS;
        while (status == platform::ERROR_SUCCESS &&
               key.EnumValue(0, name) == platform::ERROR_SUCCESS)
            status = key.DeleteValue(name);
        if (status != platform::ERROR_SUCCESS) group.Cancel();
        if (!group.Commit() && status == platform::ERROR_SUCCESS)
            status = platform::ERROR_CANTWRITE;
        return status == platform::ERROR_SUCCESS ? Done(streams) : FailStatus(streams, status);
    }
    const std::u16string name = ValueName(arguments);
    if (LSTATUS status = key.QueryValue(name, nullptr, nullptr, nullptr);
        status != platform::ERROR_SUCCESS)
        return FailStatus(streams, status);
    if (!arguments.force &&
        !Confirm("Delete the registry value " + ShownName(arguments), streams.in, streams.out))
        return Cancelled(streams);
    const LSTATUS status = key.DeleteValue(name);
    return status == platform::ERROR_SUCCESS ? Done(streams) : FailStatus(streams, status);
}

}  // namespace

int Add(const Arguments& arguments, Streams streams) {
    const auto path = KeyArgument(arguments.positional[0], streams);
    if (!path) return 1;
    const bool withValue = arguments.valueName || arguments.defaultValue;
    std::optional<Value> value;
    if (withValue && !(value = ValueArgument(arguments, streams))) return 1;
    const std::u16string name = ValueName(arguments);
    if (withValue && !arguments.force && ValueExists(*path, name) &&
        !Confirm("Value " + ShownName(arguments) + " exists, overwrite", streams.in, streams.out))
        return Cancelled(streams);

    platform::RegTransaction group;
    RegKey key;
    LSTATUS status = key.Create(path->root, path->below);
    if (status == platform::ERROR_SUCCESS && withValue)
        status = key.SetValue(name, value->type, value->data.data(),
                              static_cast<DWORD>(value->data.size()));
    if (status != platform::ERROR_SUCCESS) group.Cancel();
    if (!group.Commit() && status == platform::ERROR_SUCCESS) status = platform::ERROR_CANTWRITE;
    return status == platform::ERROR_SUCCESS ? Done(streams) : FailStatus(streams, status);
}

int Delete(const Arguments& arguments, Streams streams) {
    const auto path = KeyArgument(arguments.positional[0], streams);
    if (!path) return 1;
    const bool values = arguments.valueName || arguments.defaultValue || arguments.allValues;
    if (!values && path->below.empty()) return Fail(streams, "A root key cannot be deleted.");
    RegKey key;
    if (LSTATUS status = key.Open(path->root, path->below); status != platform::ERROR_SUCCESS)
        return FailStatus(streams, status);
    if (values) return DeleteValues(key, arguments, *path, streams);

    if (!arguments.force &&
        !Confirm("Permanently delete the registry key " + path->Display(), streams.in, streams.out))
        return Cancelled(streams);
    RegKey root;
    LSTATUS status = root.Open(path->root, u"");
    if (status == platform::ERROR_SUCCESS) status = root.DeleteTree(path->below);
    return status == platform::ERROR_SUCCESS ? Done(streams) : FailStatus(streams, status);
}

}  // namespace tarvik_reg
