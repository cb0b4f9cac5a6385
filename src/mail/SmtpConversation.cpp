#include "mail/SmtpConversation.h"

#include "mail/Base64.h"
#include "mail/SmtpErrors.h"
#include "mail/SmtpReply.h"
#include "mail/WireMessage.h"

namespace mail {

namespace {

constexpr int kCodeReady = 220;
constexpr int kCodeOk = 250;
constexpr int kCodeWillForward = 251;
constexpr int kCodeAuthChallenge = 334;
constexpr int kCodeAuthAccepted = 235;
constexpr int kCodeStartData = 354;
constexpr int kCodeClosing = 221;

// The name given in HELO/EHLO: a fixed word, so no local host name leaks out.
constexpr std::string_view kGreetingName = "host";

}  // namespace

CSmtpConversation::CSmtpConversation(CSmtpChannel& channel, const MailJob& job, QuitRule quitRule)
    : channel_(channel), job_(job), quitRule_(quitRule) {}

void CSmtpConversation::SetError(std::string_view text) {
    *error_ = std::string(text.substr(0, kMaxErrorLength));
}

bool CSmtpConversation::Command(std::string_view text) {
    if (channel_.SendWithTimeout(text, job_.waitSeconds) == static_cast<long long>(text.size()))
        return true;
    SetError(kErrorTimeOut);
    return false;
}

bool CSmtpConversation::Expect(int code, std::size_t capacity, int seconds) {
    const SmtpReply reply = ReadReply(channel_, capacity, seconds);
    if (!reply.received) {
        SetError(kErrorTimeOut);
        return false;
    }
    if (reply.code == code) return true;
    SetError(reply.line);
    return false;
}

bool CSmtpConversation::Greet() {
    if (!Expect(kCodeReady, kGreetingReplyCapacity, job_.waitSeconds)) return false;
    const char* verb = job_.requiresAuth ? "EHLO " : "HELO ";
    // A server that refuses EHLO fails the job: without EHLO there is no AUTH.
    return Command(std::string(verb) + std::string(kGreetingName) + "\r\n") &&
           Expect(kCodeOk, kReplyCapacity, job_.waitSeconds);
}

bool CSmtpConversation::Authenticate() {
    const int wait = job_.waitSeconds;
    return Command("AUTH LOGIN\r\n") && Expect(kCodeAuthChallenge, kReplyCapacity, wait) &&
           Command(Base64Encode(job_.accountName) + "\r\n") &&
           Expect(kCodeAuthChallenge, kReplyCapacity, wait) &&
           Command(Base64Encode(job_.password) + "\r\n") &&
           Expect(kCodeAuthAccepted, kReplyCapacity, wait);
}

bool CSmtpConversation::SendRecipients(const std::vector<std::string>& recipients, int& accepted) {
    accepted = 0;
    for (const auto& recipient : recipients) {
        if (!Command("RCPT TO: <" + recipient + ">\r\n")) return false;
        const SmtpReply reply = ReadReply(channel_, kGreetingReplyCapacity, job_.waitSeconds);
        if (!reply.received) {
            SetError(kErrorTimeOut);
            return false;
        }
        // A refused recipient is skipped; the others still get the message.
        if (reply.code == kCodeOk || reply.code == kCodeWillForward) ++accepted;
    }
    return true;
}

bool CSmtpConversation::SendMessage() {
    if (!Command("DATA\r\n") || !Expect(kCodeStartData, kReplyCapacity, job_.waitSeconds)) {
        return false;
    }
    const std::string wire = WireMessage(job_.message);
    if (channel_.SendWithTimeout(wire, job_.waitSeconds) != static_cast<long long>(wire.size())) {
        SetError(kErrorBody);
        return false;
    }
    const std::string_view endOfData = EndOfDataMarker(wire);
    if (channel_.SendWithTimeout(endOfData, job_.dataWaitSeconds) !=
        static_cast<long long>(endOfData.size())) {
        SetError(kErrorTimeOut);
        return false;
    }
    return Expect(kCodeOk, kReplyCapacity, job_.dataWaitSeconds);
}

void CSmtpConversation::Quit() {
    constexpr std::string_view kQuit = "QUIT\r\n";
    const bool sent =
        channel_.SendWithTimeout(kQuit, job_.waitSeconds) == static_cast<long long>(kQuit.size());
    const SmtpReply reply =
        sent ? ReadReply(channel_, kReplyCapacity, job_.waitSeconds) : SmtpReply{};
    if (quitRule_ == QuitRule::Ignore) return;
    if (!reply.received) {
        SetError(kErrorTimeOut);
    } else if (reply.code != kCodeClosing) {
        SetError(reply.line);
    }
}

bool CSmtpConversation::Run(const std::vector<std::string>& recipients, std::string& error) {
    error_ = &error;
    error.clear();
    if (!Greet()) return false;
    if (job_.requiresAuth && !Authenticate()) return false;
    if (!Command("MAIL FROM: <" + job_.mailFrom + ">\r\n") ||
        !Expect(kCodeOk, kReplyCapacity, job_.waitSeconds)) {
        return false;
    }
    int accepted = 0;
    if (!SendRecipients(recipients, accepted)) return false;
    if (accepted == 0) {
        SetError(kErrorNoRelay);
        Quit();
        return false;
    }
    if (!SendMessage()) return false;
    Quit();
    return true;
}

}  // namespace mail
