#pragma once
// Splits a recipients field ("a@x, b@y") into its addresses.

#include <string>
#include <string_view>
#include <vector>

namespace mail {

// The pieces between separators without their leading and trailing spaces;
// empty pieces are dropped. Only the space character counts as blank, and
// addresses are not otherwise examined: the server decides what it accepts.
// An empty text or a zero separator gives an empty list.
std::vector<std::string> SplitRecipients(std::string_view text, char separator = ',');

// What remains of the recipients field for messages about the job: the text
// before the first separator without trailing spaces.
std::string FirstRecipientsPiece(std::string_view text, char separator = ',');

}  // namespace mail
