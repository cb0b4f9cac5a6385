#include "mail/SmtpSession.h"

#include "mail/ConnectSmtpServer.h"
#include "mail/MailJobCheck.h"
#include "mail/PlainSmtpChannel.h"
#include "mail/SmtpConversation.h"
#include "mail/SmtpErrors.h"
#include "mail/SplitRecipients.h"
#include "mail/SslSmtpChannel.h"

namespace mail {

bool SendMailPlain(const MailJob& job, const std::vector<std::string>& recipients,
                   std::string& error, int cancelFd) {
    platform::CSocket socket = ConnectSmtpServer(job, cancelFd);
    if (!socket.IsOpen()) {
        error = kErrorConnect;
        return false;
    }
    CPlainSmtpChannel channel(socket, cancelFd);
    return CSmtpConversation(channel, job, QuitRule::Ignore).Run(recipients, error);
}

bool SendMailSsl(const MailJob& job, const std::vector<std::string>& recipients, std::string& error,
                 int cancelFd) {
    platform::CSocket socket = ConnectSmtpServer(job, cancelFd);
    if (!socket.IsOpen()) {
        error = kErrorConnect;
        return false;
    }
    // The channel is destroyed before the socket it uses.
    CSslSmtpChannel channel(socket, cancelFd);
    if (!channel.Open(job.server, !job.sslNoVerify, job.waitSeconds)) {
        error = kErrorConnect;
        return false;
    }
    return CSmtpConversation(channel, job, QuitRule::Report).Run(recipients, error);
}

std::string DeliverMail(const MailJob& job, int cancelFd) {
    const std::vector<std::string> recipients = SplitRecipients(job.recipients, ',');
    if (!IsMailJobValid(job, recipients)) return std::string(kErrorInvalidParameters);
    std::string error;
    const bool delivered = job.useSsl ? SendMailSsl(job, recipients, error, cancelFd)
                                      : SendMailPlain(job, recipients, error, cancelFd);
    if (delivered) return {};
    if (error.empty()) return std::string(kErrorSendingFailure);
    return error;
}

}  // namespace mail
