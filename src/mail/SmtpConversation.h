#pragma once
// The SMTP dialogue of one job, from the greeting to QUIT, over an open
// channel: greeting, HELO (or EHLO and AUTH LOGIN), MAIL FROM, one RCPT TO per
// recipient, DATA, the message made fit for the wire, the end-of-data marker, QUIT.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "mail/MailJob.h"
#include "mail/SmtpChannel.h"

namespace mail {

// The SSL conversation reports a failed QUIT; the plain one ignores it.
enum class QuitRule { Ignore, Report };

// Kept bytes of the greeting and of RCPT replies, and of every other reply line.
inline constexpr std::size_t kGreetingReplyCapacity = 2048;
inline constexpr std::size_t kReplyCapacity = 1024;

class CSmtpConversation {
public:
    CSmtpConversation(CSmtpChannel& channel, const MailJob& job, QuitRule quitRule);

    // True when the server took the message. The error text describes the
    // failure (it may stay empty); after a delivery it holds what QUIT left.
    bool Run(const std::vector<std::string>& recipients, std::string& error);

private:
    bool Command(std::string_view text);
    bool Expect(int code, std::size_t capacity, int seconds);
    bool Greet();
    bool Authenticate();
    bool SendRecipients(const std::vector<std::string>& recipients, int& accepted);
    bool SendMessage();
    void Quit();
    void SetError(std::string_view text);

    CSmtpChannel& channel_;
    const MailJob& job_;
    QuitRule quitRule_;
    std::string* error_ = nullptr;
};

}  // namespace mail
