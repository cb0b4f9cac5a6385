#pragma once
// Red-line housekeeping: keeping only the newest red lines of a buffer.

#include "core/CrystalTextBuffer.h"

namespace core {

// Walks the lines from the last one upwards, leaves the first k red lines
// met and clears the red-line flag on every one above them; k = 0 clears
// them all.
void KeepNewestRedLines(CCrystalTextBuffer& buffer, int k);

}  // namespace core
