#pragma once
// Turning a web hook's URL and body templates into a post: the tags of the
// e-mail templates, expanded in one pass, their values JSON-escaped in the
// body and percent-encoded in the URL. Nothing a value brings in is looked at
// for tags.

#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "mail/HighlightMail.h"
#include "mail/MailTags.h"
#include "mail/StopUpdatingMail.h"
#include "mail/WebHookPost.h"
#include "platform/IClock.h"

namespace mail {

// The bodies posted when none is given: a small JSON object naming the
// file, this computer, the time, the phrase, the line and the lines before it
// (or, for a quiet file, the quiet seconds and since when).
std::u16string DefaultHighlightWebHookBody();
std::u16string DefaultStopUpdatingWebHookBody();

// The host a URL names with its port: between "://" and the first "/", "?"
// or "#", after any "user:password@" (which is never shown).
std::string WebHookUrlHost(std::string_view url);

// The post, or nothing when the URL is empty. An empty body template stands
// for defaultBody.
std::optional<WebHookPost> ComposeWebHookPost(std::u16string_view urlTemplate,
                                              std::u16string_view bodyTemplate,
                                              std::u16string_view defaultBody,
                                              std::span<const MailTag> tags);

std::optional<WebHookPost> ComposeHighlightWebHook(std::u16string_view urlTemplate,
                                                   std::u16string_view bodyTemplate,
                                                   const HighlightMailEvent& event,
                                                   const platform::LocalTime& now);

std::optional<WebHookPost> ComposeStopUpdatingWebHook(std::u16string_view urlTemplate,
                                                      std::u16string_view bodyTemplate,
                                                      const StopUpdatingMailEvent& event);

}  // namespace mail
