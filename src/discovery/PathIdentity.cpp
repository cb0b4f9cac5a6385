#include "discovery/PathIdentity.h"

#include "platform/NormalPath.h"

namespace discovery {

std::u16string NormalPath(std::u16string_view path) {
    return platform::NormalPath(path);
}

}  // namespace discovery
