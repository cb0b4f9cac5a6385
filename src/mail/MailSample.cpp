#include "mail/MailSample.h"

#include <array>
#include <span>

#include "mail/MailCompose.h"
#include "mail/MailDate.h"
#include "mail/MailTags.h"

namespace mail {

namespace {

constexpr std::array<MailTag, 5> kHighlightSampleTags = {{
    {u"%f", u"d:\\app\\debug.log"},
    {u"%h", u"sample filter"},
    {u"%t", u"Tue Mar 02 15:32:21 2010"},
    {u"%n", u"test sample filter occurs"},
    {u"%p", u"sample text previous line "},
}};

constexpr std::array<MailTag, 4> kStopUpdatingSampleTags = {{
    {u"%c", u"last update"},
    {u"%f", u"d:\\app\\debug.log"},
    {u"%s", u"180"},
    {u"%t", u"Tue Mar 02 15:32:21 2010"},
}};

std::span<const MailTag> SampleTags(MailTemplateKind kind) {
    if (kind == MailTemplateKind::Highlight) return kHighlightSampleTags;
    return kStopUpdatingSampleTags;
}

}  // namespace

MailTemplate TemplateOf(const MailSettings& settings, MailTemplateKind kind) {
    if (kind == MailTemplateKind::Highlight) {
        return {settings.highlightSubject, settings.highlightBody};
    }
    return {settings.stopSubject, settings.stopBody};
}

MailTemplate DefaultTemplate(MailTemplateKind kind) {
    return TemplateOf(MailSettings{}, kind);
}

MailTemplate ReplaceSampleTags(const MailTemplate& mailTemplate, MailTemplateKind kind) {
    return {ExpandTags(mailTemplate.subject, SampleTags(kind)),
            ExpandTags(mailTemplate.body, SampleTags(kind))};
}

std::u16string PreviewTemplate(const MailTemplate& mailTemplate, MailTemplateKind kind) {
    const MailTemplate sample = ReplaceSampleTags(mailTemplate, kind);
    return u"Subject:\n" + sample.subject + u"\n\n\nBody:\n" + sample.body;
}

MailJob ComposeSampleMail(const MailSettings& settings, MailTemplateKind kind,
                          std::u16string_view address, const platform::LocalTime& now) {
    const MailTemplate sample = ReplaceSampleTags(TemplateOf(settings, kind), kind);
    const std::u16string date = FormatMailDate(now);
    // The tags are already replaced in subject and body; the header's own
    // values are taken as they are.
    const MailMessageParts parts{settings.mailFrom, address, sample.subject, date, sample.body};
    const std::u16string message = ComposeMessage(parts, {});
    return MakeMailJob(settings, address, message);
}

}  // namespace mail
