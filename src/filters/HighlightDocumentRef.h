#pragma once
// How highlight filters refer to a document. Documents live in a layer above
// the filters, so a filter only keeps an opaque identity: it never calls into
// the document, it only remembers which documents it has already notified.

#include <set>

namespace filters {

using DocumentRef = const void*;

using DocumentRefSet = std::set<DocumentRef>;

}  // namespace filters
