#pragma once
// One whole delivery attempt: check the job, connect, talk, close.

#include <string>
#include <vector>

#include "mail/MailJob.h"

namespace mail {

// The conversation over a plain TCP connection; true when delivered.
bool SendMailPlain(const MailJob& job, const std::vector<std::string>& recipients,
                   std::string& error, int cancelFd);

// The conversation over SSL from the first byte; true when delivered.
bool SendMailSsl(const MailJob& job, const std::vector<std::string>& recipients, std::string& error,
                 int cancelFd);

// Checks and delivers the job; returns the error text, empty on delivery.
// cancelFd (or -1) becoming readable ends every wait early.
std::string DeliverMail(const MailJob& job, int cancelFd);

}  // namespace mail
