#pragma once
// One tab of the notification templates: the subject and body edits and,
// beside them, the help on the tags that template knows. The body keeps the
// message's CR LF line ends; the edit shows plain lines.

#include <QWidget>

#include "mail/MailSample.h"

class QLineEdit;
class QPlainTextEdit;

namespace mail_ui {

class CMailTemplatePage : public QWidget {
    Q_OBJECT
public:
    // objectPrefix names the edits ("Highlight" gives "HighlightSubject" and
    // "HighlightBody").
    CMailTemplatePage(mail::MailTemplateKind kind, const char* objectPrefix,
                      QWidget* parent = nullptr);

    mail::MailTemplateKind Kind() const { return kind_; }
    mail::MailTemplate Template() const;
    void SetTemplate(const mail::MailTemplate& mailTemplate);

    QLineEdit* SubjectEdit() const { return subject_; }
    QPlainTextEdit* BodyEdit() const { return body_; }

private:
    mail::MailTemplateKind kind_;
    QLineEdit* subject_ = nullptr;
    QPlainTextEdit* body_ = nullptr;
};

}  // namespace mail_ui
