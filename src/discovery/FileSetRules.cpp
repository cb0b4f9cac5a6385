#include "discovery/FileSetRules.h"

#include <algorithm>

#include "filters/AsciiFold.h"

namespace discovery {

namespace {

bool EqualNoCase(std::u16string_view a, std::u16string_view b) {
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [](char16_t x, char16_t y) {
               return filters::FoldAsciiLower(x) == filters::FoldAsciiLower(y);
           });
}

}  // namespace

std::u16string UndefinedFileSetMessage(std::u16string_view name) {
    std::u16string message = u"File set \"";
    message += name;
    message += u"\" is undefined or there aren't files in the set.";
    return message;
}

std::optional<FileSetProblem> FirstFileSetProblem(const std::vector<settings::FileSet>& sets) {
    for (std::size_t i = 0; i < sets.size(); ++i) {
        const std::u16string& name = sets[i].name;
        if (name.empty()) return FileSetProblem{i, u"Please enter a set name"};
        if (name.find(u'\\') != std::u16string::npos) {
            return FileSetProblem{i,
                                  u"Backslash (\\) isn't allowed in set name. Please remove it."};
        }
        for (std::size_t later = i + 1; later < sets.size(); ++later) {
            if (EqualNoCase(name, sets[later].name)) {
                return FileSetProblem{i, u"There's a duplicate record of set \"" + name + u"\""};
            }
        }
    }
    return std::nullopt;
}

std::size_t AddFileSetMembers(settings::FileSet& set, const std::vector<std::u16string>& chosen) {
    std::size_t added = 0;
    for (const std::u16string& path : chosen) {
        if (std::find(set.paths.begin(), set.paths.end(), path) != set.paths.end()) continue;
        set.paths.push_back(path);
        ++added;
    }
    return added;
}

}  // namespace discovery
