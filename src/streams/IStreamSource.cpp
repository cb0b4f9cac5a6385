#include "streams/IStreamSource.h"

namespace streams {

bool IStreamSource::Deliver(IStreamIntake& intake, std::size_t maxUnits) {
    std::u16string text;
    const bool more = Take(text, maxUnits);
    if (!text.empty()) intake.TakeText(text.data(), text.size(), false);
    return more;
}

}  // namespace streams
