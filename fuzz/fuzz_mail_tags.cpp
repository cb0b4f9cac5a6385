// The expansion of notification templates. The input is a template and the
// values of the tags, separated by NUL bytes, as UTF-8. Whatever they hold,
// the expansion is one pass: the result is bounded by the template's length
// times the longest value, and each value lands in it verbatim, never
// expanded itself.

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "FuzzCheck.h"
#include "mail/MailTags.h"
#include "platform/CodePage.h"

namespace {

constexpr std::array<std::u16string_view, 7> kTags = {u"%f", u"%h", u"%t", u"%n",
                                                      u"%p", u"%s", u"%c"};
// Stand-ins for the values: private-use characters taken out of the template.
constexpr char16_t kFirstMarker = 0xE000;

bool IsMarker(char16_t ch) {
    return ch >= kFirstMarker && ch < kFirstMarker + kTags.size();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    std::array<std::u16string, kTags.size() + 1> fields;
    std::size_t field = 0;
    std::size_t start = 0;
    for (std::size_t i = 0; i <= bytes.size() && field < fields.size(); ++i) {
        if (i == bytes.size() || bytes[i] == '\0') {
            fields[field++] = platform::Utf8ToUtf16(bytes.substr(start, i - start));
            start = i + 1;
        }
    }
    std::u16string& templateText = fields[0];
    std::erase_if(templateText, IsMarker);

    std::array<mail::MailTag, kTags.size()> tags;
    std::array<mail::MailTag, kTags.size()> markerTags;
    std::array<char16_t, kTags.size()> markers;
    std::size_t longest = 1;
    for (std::size_t i = 0; i < kTags.size(); ++i) {
        markers[i] = static_cast<char16_t>(kFirstMarker + i);
        tags[i] = {kTags[i], fields[i + 1]};
        markerTags[i] = {kTags[i], std::u16string_view(&markers[i], 1)};
        longest = std::max(longest, fields[i + 1].size());
    }

    const std::u16string expanded = mail::ExpandTags(templateText, tags);
    FUZZ_CHECK(expanded.size() <= templateText.size() * longest);

    // The same template with markers for values: putting the values in for
    // the markers must give the expansion exactly.
    std::u16string rebuilt;
    for (const char16_t ch : mail::ExpandTags(templateText, markerTags)) {
        if (IsMarker(ch)) {
            rebuilt += fields[ch - kFirstMarker + 1];
        } else {
            rebuilt += ch;
        }
    }
    FUZZ_CHECK(rebuilt == expanded);
    return 0;
}
