// The .reg importer of tarvik-reg: a failure names its line and keeps no
// change; every key it accepts is one the store takes; and what it read,
// written back as .reg text, reads as the same changes.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "FuzzCheck.h"
#include "RegFileReader.h"
#include "RegFileWriter.h"
#include "platform/RegistryNames.h"

namespace {

using tarvik_reg::RegChange;

bool SameChange(const RegChange& a, const RegChange& b) {
    return a.kind == b.kind && a.key.root == b.key.root && a.key.below == b.key.below &&
           a.name == b.name && a.value.type == b.value.type && a.value.data == b.value.data;
}

// The changes as the exporter would write them.
std::string WriteChanges(const std::vector<RegChange>& changes) {
    std::string text = "Windows Registry Editor Version 5.00\n\n";
    for (const RegChange& change : changes) {
        switch (change.kind) {
            case RegChange::Kind::OpenKey:
                text += "[" + change.key.Display() + "]\n";
                break;
            case RegChange::Kind::DeleteKey:
                text += "[-" + change.key.Display() + "]\n";
                break;
            case RegChange::Kind::SetValue:
                text += tarvik_reg::ValueLine(change.name, change.value.type, change.value.data);
                break;
            case RegChange::Kind::DeleteValue: {
                // The name as a value line writes it, then "-" for the data.
                std::string line = tarvik_reg::ValueLine(change.name, platform::REG_BINARY, {});
                text += line.substr(0, line.rfind('=') + 1) + "-\n";
                break;
            }
        }
    }
    return text;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    namespace names = platform::registry_names;
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    std::vector<RegChange> changes;
    std::string error;
    if (!tarvik_reg::ParseRegFile(bytes, changes, error)) {
        FUZZ_CHECK(changes.empty() && error.rfind("line ", 0) == 0);
        return 0;
    }
    for (const RegChange& change : changes) {
        std::vector<std::u16string> parts;
        FUZZ_CHECK(names::SplitPath(change.key.below, parts));
        FUZZ_CHECK(parts.size() <= names::kMaxKeyDepth);
        if (change.kind == RegChange::Kind::DeleteKey) FUZZ_CHECK(!change.key.below.empty());
    }

    const std::string written = WriteChanges(changes);
    std::vector<RegChange> again;
    std::string againError;
    const bool readAgain = tarvik_reg::ParseRegFile(written, again, againError);
    if (!readAgain) std::fprintf(stderr, "%s\n", againError.c_str());
    FUZZ_CHECK(readAgain);
    FUZZ_CHECK(again.size() == changes.size());
    for (std::size_t i = 0; i < changes.size(); ++i) FUZZ_CHECK(SameChange(again[i], changes[i]));
    return 0;
}
