#pragma once
// Tags in notification templates ("%f", "%h", ...) and their replacement.

#include <span>
#include <string>
#include <string_view>

namespace mail {

struct MailTag {
    std::u16string_view tag;
    std::u16string_view value;
};

// Replaces every occurrence of tag, scanning from left to right. Inserted text
// is not scanned again for the same tag.
void ReplaceTag(std::u16string& text, std::u16string_view tag, std::u16string_view value);

// Replaces the tags one after the other in the order given: text inserted for
// one tag is subject to the tags that come after it.
void ReplaceTags(std::u16string& text, std::span<const MailTag> tags);
std::u16string WithTagsReplaced(std::u16string_view text, std::span<const MailTag> tags);

}  // namespace mail
