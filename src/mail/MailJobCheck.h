#pragma once
// Decides whether a mail job may be sent at all, before any connection is made.

#include <string>
#include <vector>

#include "mail/MailJob.h"

namespace mail {

// True when the job is complete and safe: server, sender, recipients and
// message present, an account name when authentication is asked for, no value
// longer than its limit, and no line break (or NUL) in an address or the
// account name, which would let a value smuggle its own SMTP commands.
// recipients is the split recipients field.
bool IsMailJobValid(const MailJob& job, const std::vector<std::string>& recipients);

}  // namespace mail
