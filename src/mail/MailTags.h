#pragma once
// Tags in notification templates ("%f", "%h", ...) and their expansion.

#include <span>
#include <string>
#include <string_view>

namespace mail {

struct MailTag {
    std::u16string_view tag;
    std::u16string_view value;
};

// The template with every tag replaced by its value, in one pass from left
// to right. Where several tags start at the same place the first of the list
// wins; an empty tag never matches. Values are copied as they are and never
// looked at for tags: they carry text from outside (a log line, a path), and
// a value scanned again could make one line grow the message without bound.
// The work and the result are linear: at most the template's length times
// the longest value.
std::u16string ExpandTags(std::u16string_view templateText, std::span<const MailTag> tags);

// Appends a value to out in the form the expanded text needs (escaped for a
// JSON string, percent-encoded for a URL, ...).
using TagValueWriter = void (*)(std::u16string_view value, std::u16string& out);

// The same expansion, each value written through writeValue; the template's
// own text is copied as it is.
std::u16string ExpandTags(std::u16string_view templateText, std::span<const MailTag> tags,
                          TagValueWriter writeValue);

}  // namespace mail
