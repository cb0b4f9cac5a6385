#include "RegFileWriter.h"

#include <cstdio>

#include "RegData.h"
#include "RegTreeWalk.h"
#include "platform/CodePage.h"

namespace tarvik_reg {

namespace {

using platform::DWORD;
using platform::LSTATUS;

constexpr std::size_t kLineWidth = 76;

std::string Quoted(std::string_view text) {
    std::string quoted = "\"";
    for (char c : text) {
        switch (c) {
            case '\\':
                quoted += "\\\\";
                break;
            case '"':
                quoted += "\\\"";
                break;
            case '\n':
                quoted += "\\n";
                break;
            case '\r':
                quoted += "\\r";
                break;
            default:
                quoted += c;
        }
    }
    return quoted + "\"";
}

// "hex:" or "hex(N):" and the bytes, wrapped like the system's editor does.
std::string HexList(DWORD type, const Bytes& data, std::size_t column) {
    char prefix[24];
    if (type == platform::REG_BINARY)
        std::snprintf(prefix, sizeof prefix, "hex:");
    else
        std::snprintf(prefix, sizeof prefix, "hex(%x):", type);
    std::string text = prefix;
    column += text.size();
    for (std::size_t i = 0; i < data.size(); ++i) {
        char pair[4];
        std::snprintf(pair, sizeof pair, "%02x", data[i]);
        text += pair;
        column += 2;
        if (i + 1 == data.size()) break;
        text += ',';
        ++column;
        if (column >= kLineWidth) {
            text += "\\\n  ";
            column = 2;
        }
    }
    return text;
}

// The key line and the values of one key; its subkeys follow it.
LSTATUS WriteKey(const platform::RegKey& key, const KeyPath& path, std::string& out) {
    out += "[" + path.Display() + "]\n";
    std::u16string name;
    DWORD type = 0;
    Bytes data;
    LSTATUS status = platform::ERROR_SUCCESS;
    for (DWORD i = 0; (status = key.EnumValue(i, name, &type, &data)) == platform::ERROR_SUCCESS;
         ++i)
        out += ValueLine(name, type, data);
    if (status != platform::ERROR_NO_MORE_ITEMS) return status;
    out += "\n";
    return platform::ERROR_SUCCESS;
}

}  // namespace

std::string ValueLine(std::u16string_view name, DWORD type, const Bytes& data) {
    std::string line = name.empty() ? "@" : Quoted(platform::Utf16ToUtf8(name));
    line += '=';
    const auto text = type == platform::REG_SZ ? ExactText(data) : std::nullopt;
    if (text && text->find_first_of("\r\n") == std::string::npos) {
        line += Quoted(*text);
    } else if (type == platform::REG_DWORD && data.size() == 4) {
        char number[16];
        std::snprintf(number, sizeof number, "dword:%02x%02x%02x%02x", data[3], data[2], data[1],
                      data[0]);
        line += number;
    } else {
        line += HexList(type, data, line.size());
    }
    return line + "\n";
}

LSTATUS ExportTree(const KeyPath& path, std::string& out) {
    std::string text = "Windows Registry Editor Version 5.00\n\n";
    const LSTATUS status = WalkTree(path, [&](const platform::RegKey& key, const KeyPath& keyPath) {
        return WriteKey(key, keyPath, text);
    });
    if (status == platform::ERROR_SUCCESS) out += text;
    return status;
}

}  // namespace tarvik_reg
