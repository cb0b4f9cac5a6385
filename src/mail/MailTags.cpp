#include "mail/MailTags.h"

namespace mail {

void ReplaceTag(std::u16string& text, std::u16string_view tag, std::u16string_view value) {
    if (tag.empty()) return;
    std::size_t position = text.find(tag);
    while (position != std::u16string::npos) {
        text.replace(position, tag.size(), value);
        position = text.find(tag, position + value.size());
    }
}

void ReplaceTags(std::u16string& text, std::span<const MailTag> tags) {
    for (const MailTag& tag : tags) ReplaceTag(text, tag.tag, tag.value);
}

std::u16string WithTagsReplaced(std::u16string_view text, std::span<const MailTag> tags) {
    std::u16string result(text);
    ReplaceTags(result, tags);
    return result;
}

}  // namespace mail
