#include "core/RedLines.h"

#include "core/LineFlagBits.h"

namespace core {

void KeepNewestRedLines(CCrystalTextBuffer& buffer, int k) {
    int kept = 0;
    for (int line = buffer.LineCount() - 1; line >= 0; --line) {
        if ((buffer.LineFlags(line) & kRedLineFlag) == 0) continue;
        if (kept < k) {
            ++kept;
            continue;
        }
        buffer.SetLineFlag(line, kRedLineFlag, false, false);
    }
}

}  // namespace core
