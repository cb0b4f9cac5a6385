#include "mail/MailCompose.h"

#include <algorithm>

#include "platform/CodePage.h"

namespace mail {

namespace {

std::u16string HeaderValue(std::u16string_view text, std::span<const MailTag> tags) {
    std::u16string value = ExpandTags(text, tags);
    std::replace_if(
        value.begin(), value.end(), [](char16_t ch) { return ch == u'\r' || ch == u'\n'; }, u' ');
    return value;
}

void AppendHeader(std::u16string& message, std::u16string_view name, std::u16string_view value) {
    message += name;
    message += u": ";
    message += value;
    message += u"\r\n";
}

}  // namespace

std::u16string ComposeMessage(const MailMessageParts& parts, std::span<const MailTag> tags) {
    // The header and the body are expanded apart, which gives the same text as
    // expanding the whole message (no tag can span the fixed text between
    // them) and lets the header values be checked on their own.
    std::u16string message;
    AppendHeader(message, u"From", HeaderValue(parts.from, tags));
    AppendHeader(message, u"To", HeaderValue(parts.to, tags));
    AppendHeader(message, u"Subject", HeaderValue(parts.subject, tags));
    AppendHeader(message, u"Date", HeaderValue(parts.date, tags));
    message += u"\r\n";
    message += ExpandTags(parts.body, tags);
    return message;
}

MailJob MakeMailJob(const MailSettings& settings, std::u16string_view recipients,
                    std::u16string_view message) {
    MailJob job;
    job.server = platform::Utf16ToUtf8(settings.smtpServer);
    job.port = settings.smtpPort;
    job.useSsl = settings.useSsl;
    job.sslNoVerify = settings.sslNoVerify;
    job.mailFrom = platform::Utf16ToUtf8(settings.mailFrom);
    job.recipients = platform::Utf16ToUtf8(recipients);
    job.requiresAuth = settings.requiresAuth;
    if (settings.requiresAuth) {
        job.accountName = platform::Utf16ToUtf8(settings.accountName);
        job.password = platform::Utf16ToUtf8(settings.password);
    }
    job.message = platform::Utf16ToUtf8(message);
    return job;
}

}  // namespace mail
