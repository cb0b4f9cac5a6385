#pragma once
// Told before a document drops lines, so that someone following the document
// line by line (a headless follower printing what it shows) can take the
// lines first.

namespace core {

class CTarvikDoc;

class IDocumentListener {
public:
    virtual ~IDocumentListener() = default;
    // Lines are about to go from the top to keep the buffer limit.
    virtual void BeforeTrim(const CTarvikDoc& doc) = 0;
    // Everything shown is about to go: the file was cut or deleted,
    // or the document is cleared, reloaded or closed.
    virtual void BeforeReset(const CTarvikDoc& doc) = 0;
    // The document is closing (after BeforeReset) and forgets its listener;
    // the listener must not touch it afterwards.
    virtual void BeforeClose(const CTarvikDoc& /*doc*/) {}
};

}  // namespace core
