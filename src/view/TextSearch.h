#pragma once
// Finding a phrase in the lines of a buffer for Find and Replace: plain or
// regular expression, with or without case, whole words only, down or up
// from a position, wrapping once around the text. Matches never span lines.

#include <optional>

#include "core/ITextBufferReader.h"
#include "core/TextPos.h"
#include "view/SearchSettings.h"

namespace view {

struct TextMatch {
    core::TextPos start;
    core::TextPos end;
};

// Down: the first match starting at or after from. Up: the last match ending
// at or before from. An empty phrase or an invalid expression finds nothing.
std::optional<TextMatch> FindText(const core::ITextBufferReader& reader, const FindRequest& request,
                                  core::TextPos from);

}  // namespace view
