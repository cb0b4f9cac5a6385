#include "mail/MailTags.h"

namespace mail {

namespace {

const MailTag* TagAt(std::u16string_view text, std::size_t at, std::span<const MailTag> tags) {
    const std::u16string_view rest = text.substr(at);
    for (const MailTag& tag : tags) {
        if (!tag.tag.empty() && rest.starts_with(tag.tag)) return &tag;
    }
    return nullptr;
}

void AppendAsItIs(std::u16string_view value, std::u16string& out) {
    out += value;
}

}  // namespace

std::u16string ExpandTags(std::u16string_view templateText, std::span<const MailTag> tags) {
    return ExpandTags(templateText, tags, AppendAsItIs);
}

std::u16string ExpandTags(std::u16string_view templateText, std::span<const MailTag> tags,
                          TagValueWriter writeValue) {
    std::u16string result;
    result.reserve(templateText.size());
    std::size_t at = 0;
    while (at < templateText.size()) {
        if (const MailTag* tag = TagAt(templateText, at, tags)) {
            writeValue(tag->value, result);
            at += tag->tag.size();
        } else {
            result += templateText[at];
            ++at;
        }
    }
    return result;
}

}  // namespace mail
