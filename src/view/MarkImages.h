#pragma once
// The small images shown in the log view's margin for bookmarks. They are
// drawn here by code, so they need no image files; white counts as
// transparent, as in the margin's image strip.

#include <QPixmap>

#include <cstdint>

namespace view {

inline constexpr int kMarkImageSize = 13;
// Images 0-9 show the digit of a numbered bookmark; image 10 is the bookmark.
inline constexpr int kBookmarkImage = 10;
inline constexpr int kMarkImageCount = 11;

// A 13x13 image with a transparent background, drawn at the device pixel
// ratio of the screen it is shown on; an index out of range gives a null
// pixmap.
const QPixmap& MarkImage(int index, qreal devicePixelRatio = 1.0);

// The image for a line's flag word, or -1 when the line shows no mark. The
// numbered bookmarks 1-9 come first, then 0, then the bookmark; the red-line
// flag has no image.
int MarkImageForFlags(std::uint32_t flags);

// The same drawing as an image, for callers that paint into images.
QImage DrawMarkImage(int index, qreal devicePixelRatio = 1.0);

}  // namespace view
