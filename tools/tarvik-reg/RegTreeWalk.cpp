#include "RegTreeWalk.h"

#include <vector>

#include "platform/RegistryNames.h"

namespace tarvik_reg {

namespace {

using platform::DWORD;
using platform::LSTATUS;
using platform::RegKey;

// One open key of the path being walked and the index of its next subkey.
struct Level {
    RegKey key;
    DWORD nextChild = 0;
    std::size_t pathLength = 0;  // the length of path.below up to this key
};

std::size_t Depth(const KeyPath& path) {
    std::vector<std::u16string> parts;
    platform::registry_names::SplitPath(path.below, parts);
    return parts.size();
}

}  // namespace

LSTATUS WalkTree(const KeyPath& top, const KeyVisitor& visit) {
    KeyPath path = top;
    std::vector<Level> levels(1);
    if (LSTATUS opened = levels.back().key.Open(top.root, top.below);
        opened != platform::ERROR_SUCCESS)
        return opened;
    levels.back().pathLength = path.below.size();
    if (LSTATUS visited = visit(levels.back().key, path); visited != platform::ERROR_SUCCESS)
        return visited;
    const std::size_t topDepth = Depth(top);

    while (!levels.empty()) {
        Level& level = levels.back();
        path.below.resize(level.pathLength);
        std::u16string name;
        const LSTATUS status = level.key.EnumKey(level.nextChild++, name);
        if (status == platform::ERROR_NO_MORE_ITEMS) {
            levels.pop_back();
            continue;
        }
        if (status != platform::ERROR_SUCCESS) return status;
        if (topDepth + levels.size() > platform::registry_names::kMaxKeyDepth)
            return platform::ERROR_BADDB;
        Level child;
        if (LSTATUS opened = child.key.Open(level.key, name); opened != platform::ERROR_SUCCESS)
            return opened;
        path = path.Child(name);
        child.pathLength = path.below.size();
        if (LSTATUS visited = visit(child.key, path); visited != platform::ERROR_SUCCESS)
            return visited;
        levels.push_back(std::move(child));
    }
    return platform::ERROR_SUCCESS;
}

}  // namespace tarvik_reg
