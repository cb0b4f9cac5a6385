#include "mail/ui/MailTemplatePage.h"

#include <QFontDatabase>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>

namespace mail_ui {

namespace {

const char kHighlightHelp[] =
    "%f: log file path\n%h: highlight filter phrase\n%n: entire occurrence line text\n"
    "%p: previous lines\n%t: time\n\nTags above can be used in Subject either.";
const char kStopUpdatingHelp[] =
    "%c: \"file open\" or \"last update\"\n%f: log file\n%s: seconds\n"
    "%t: time for file open or last update\n\nTags above can be used in Subject either.";

QString ToQString(const std::u16string& text) {
    return QString::fromStdU16String(text);
}

}  // namespace

CMailTemplatePage::CMailTemplatePage(mail::MailTemplateKind kind, const char* objectPrefix,
                                     QWidget* parent)
    : QWidget(parent), kind_(kind) {
    const QString prefix = QLatin1String(objectPrefix);
    subject_ = new QLineEdit;
    subject_->setObjectName(prefix + QStringLiteral("Subject"));
    body_ = new QPlainTextEdit;
    body_->setObjectName(prefix + QStringLiteral("Body"));
    body_->setTabChangesFocus(true);
    body_->setLineWrapMode(QPlainTextEdit::NoWrap);
    body_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));

    auto* subjectLabel = new QLabel(tr("Su&bject:"));
    subjectLabel->setBuddy(subject_);
    auto* bodyLabel = new QLabel(tr("B&ody:"));
    bodyLabel->setBuddy(body_);
    auto* help = new QLabel(QString::fromLatin1(
        kind == mail::MailTemplateKind::Highlight ? kHighlightHelp : kStopUpdatingHelp));
    help->setObjectName(prefix + QStringLiteral("Help"));
    help->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    help->setWordWrap(true);
    help->setMinimumWidth(200);

    auto* grid = new QGridLayout(this);
    grid->addWidget(subjectLabel, 0, 0);
    grid->addWidget(subject_, 0, 1);
    grid->addWidget(bodyLabel, 1, 0, Qt::AlignTop);
    grid->addWidget(body_, 1, 1);
    grid->addWidget(help, 0, 2, 2, 1);
    grid->setColumnStretch(1, 1);
    grid->setRowStretch(1, 1);
}

mail::MailTemplate CMailTemplatePage::Template() const {
    QString body = body_->toPlainText();
    body.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
    return {subject_->text().toStdU16String(), body.toStdU16String()};
}

void CMailTemplatePage::SetTemplate(const mail::MailTemplate& mailTemplate) {
    subject_->setText(ToQString(mailTemplate.subject));
    QString body = ToQString(mailTemplate.body);
    body.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    body_->setPlainText(body);
}

}  // namespace mail_ui
