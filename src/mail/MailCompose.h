#pragma once
// Turning a template into a finished message and a job for the SMTP client.
// Messages are plain text: From, To, Subject and Date lines, an empty line
// and the body, with no MIME headers.

#include <span>
#include <string>
#include <string_view>

#include "mail/MailJob.h"
#include "mail/MailSettings.h"
#include "mail/MailTags.h"

namespace mail {

struct MailMessageParts {
    std::u16string_view from;
    std::u16string_view to;
    std::u16string_view subject;
    std::u16string_view date;
    std::u16string_view body;
};

// The header lines, an empty line and the body, with the tags expanded over
// the whole text (ExpandTags: what a value brings in is never expanded). A line break that a value
// brings into a header line becomes a space, so a log path or a template can never start a header
// line of its own or end the header early.
std::u16string ComposeMessage(const MailMessageParts& parts, std::span<const MailTag> tags);

// A job for the settings' server and account, to the recipients as typed,
// carrying the message in the system code page. The account name and
// password go along only when the server requires authentication. Values too
// long for the client are passed on as they are: the client refuses them.
MailJob MakeMailJob(const MailSettings& settings, std::u16string_view recipients,
                    std::u16string_view message);

}  // namespace mail
