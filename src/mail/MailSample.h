#pragma once
// What the settings dialog shows and sends to try a template: the tags
// replaced by fixed sample values.

#include <string>
#include <string_view>

#include "mail/MailJob.h"
#include "mail/MailSettings.h"
#include "platform/IClock.h"

namespace mail {

enum class MailTemplateKind { Highlight, StopUpdating };

struct MailTemplate {
    std::u16string subject;
    std::u16string body;
};

// The template of that kind in the settings, and its default ("Reset").
MailTemplate TemplateOf(const MailSettings& settings, MailTemplateKind kind);
MailTemplate DefaultTemplate(MailTemplateKind kind);

// Subject and body with their tags replaced by the sample values, each on
// its own.
MailTemplate ReplaceSampleTags(const MailTemplate& mailTemplate, MailTemplateKind kind);

// The text of the preview box: "Subject:\n...\n\n\nBody:\n...".
std::u16string PreviewTemplate(const MailTemplate& mailTemplate, MailTemplateKind kind);

// A sample e-mail of the template to one address, with the dialog's current
// server and account values.
MailJob ComposeSampleMail(const MailSettings& settings, MailTemplateKind kind,
                          std::u16string_view address, const platform::LocalTime& now);

}  // namespace mail
