#include "view/ViewSelection.h"

#include <utility>

namespace view {

void ViewSelection::Select(core::TextPos a, core::TextPos b) {
    if (b < a) std::swap(a, b);
    start_ = a;
    end_ = b;
}

void ViewSelection::CollapseTo(core::TextPos pos) {
    caret_ = pos;
    anchor_ = pos;
    start_ = pos;
    end_ = pos;
}

void ViewSelection::ExtendTo(core::TextPos pos) {
    caret_ = pos;
    Select(anchor_, pos);
}

}  // namespace view
