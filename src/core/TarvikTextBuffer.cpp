#include "core/TarvikTextBuffer.h"

#include "core/TarvikDoc.h"

namespace core {

void CTarvikTextBuffer::OnModifiedChanged(bool modified) {
    owner_.SetModifiedFlag(modified);
}

}  // namespace core
