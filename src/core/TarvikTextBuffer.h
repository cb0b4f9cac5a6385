#pragma once
// The line buffer of a log document: it reports changes of its modified state
// to the document that owns it.

#include "core/CrystalTextBuffer.h"

namespace core {

class CTarvikDoc;

class CTarvikTextBuffer : public CCrystalTextBuffer {
public:
    explicit CTarvikTextBuffer(CTarvikDoc& owner) : owner_(owner) {}

protected:
    void OnModifiedChanged(bool modified) override;

private:
    CTarvikDoc& owner_;
};

}  // namespace core
