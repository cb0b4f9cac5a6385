#pragma once
// The texts a mail job can end with. They are shown to the user and stored in
// notification records, so they never change.

#include <cstddef>
#include <string_view>

namespace mail {

inline constexpr std::string_view kErrorInvalidParameters = "Invalid parameters.";
inline constexpr std::string_view kErrorConnect = "Failed to connect to SMTP server.";
inline constexpr std::string_view kErrorTimeOut = "Time out.";
inline constexpr std::string_view kErrorNoRelay = "SMTP Server doesn't relay emails.";
inline constexpr std::string_view kErrorBody = "Failed to send email body.";
inline constexpr std::string_view kErrorSendingFailure = "Sending email failure";
// A job that came while the waiting list was full.
inline constexpr std::string_view kErrorTooManyWaiting =
    "Too many e-mails waiting to be sent: this one was dropped.";

// An error text holds at most this many characters; a longer server reply is cut.
inline constexpr std::size_t kMaxErrorLength = 1023;

}  // namespace mail
