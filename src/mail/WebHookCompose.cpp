#include "mail/WebHookCompose.h"

#include "mail/MailDate.h"
#include "mail/WebHookEscape.h"
#include "platform/CodePage.h"
#include "platform/HostName.h"

namespace mail {

namespace {

// This computer's name as a JSON string's inside; it holds no tag, since a
// host name has no "%".
std::u16string EscapedHostName() {
    std::u16string host;
    AppendJsonEscaped(platform::Utf8ToUtf16(platform::HostName()), host);
    return host;
}

}  // namespace

std::u16string DefaultHighlightWebHookBody() {
    return u"{\"file\":\"%f\",\"host\":\"" + EscapedHostName() +
           u"\",\"time\":\"%t\",\"phrase\":\"%h\",\"line\":\"%n\",\"previous\":\"%p\"}";
}

std::u16string DefaultStopUpdatingWebHookBody() {
    return u"{\"file\":\"%f\",\"host\":\"" + EscapedHostName() +
           u"\",\"quietSeconds\":%s,\"since\":\"%c\",\"time\":\"%t\"}";
}

std::string WebHookUrlHost(std::string_view url) {
    const std::size_t scheme = url.find("://");
    if (scheme != std::string_view::npos) url.remove_prefix(scheme + 3);
    url = url.substr(0, url.find_first_of("/?#"));
    const std::size_t at = url.rfind('@');
    if (at != std::string_view::npos) url.remove_prefix(at + 1);
    return std::string(url);
}

std::optional<WebHookPost> ComposeWebHookPost(std::u16string_view urlTemplate,
                                              std::u16string_view bodyTemplate,
                                              std::u16string_view defaultBody,
                                              std::span<const MailTag> tags) {
    if (urlTemplate.empty()) return std::nullopt;
    WebHookPost post;
    post.url = platform::Utf16ToUtf8(ExpandTags(urlTemplate, tags, AppendPercentEncoded));
    const std::u16string_view body = bodyTemplate.empty() ? defaultBody : bodyTemplate;
    post.body = platform::Utf16ToUtf8(ExpandTags(body, tags, AppendJsonEscaped));
    post.host = WebHookUrlHost(post.url);
    return post;
}

std::optional<WebHookPost> ComposeHighlightWebHook(std::u16string_view urlTemplate,
                                                   std::u16string_view bodyTemplate,
                                                   const HighlightMailEvent& event,
                                                   const platform::LocalTime& now) {
    const std::u16string time = FormatTagTime(now);
    return ComposeWebHookPost(urlTemplate, bodyTemplate, DefaultHighlightWebHookBody(),
                              HighlightTags(event, time));
}

std::optional<WebHookPost> ComposeStopUpdatingWebHook(std::u16string_view urlTemplate,
                                                      std::u16string_view bodyTemplate,
                                                      const StopUpdatingMailEvent& event) {
    const StopUpdatingTagValues values(event);
    return ComposeWebHookPost(urlTemplate, bodyTemplate, DefaultStopUpdatingWebHookBody(),
                              values.tags);
}

}  // namespace mail
