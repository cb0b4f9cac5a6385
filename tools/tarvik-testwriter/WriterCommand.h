#pragma once
// The writer's commands: a name followed by its fields, the text (when the
// command has one) always last. On a command line the fields are the
// arguments; on a script line they are separated by single spaces and the
// text is the rest of the line. Paths and texts are escaped (EscapedText.h).
//
//   append ENC PATH TEXT             append the text (ENC: u8 or u16)
//   pieces ENC PATH BYTES MS TEXT    append it in writes of BYTES bytes, MS ms apart
//   overwrite ENC PATH TEXT          write it where the trailing NUL bytes start
//   replace ENC PATH TEXT            write a new file and rename it over PATH
//   nuls PATH COUNT                  append COUNT NUL bytes (preallocation)
//   junk PATH COUNT SEED             append COUNT pseudo-random bytes
//   truncate PATH                    cut to nothing in place
//   cut PATH SIZE                    cut to SIZE bytes in place
//   copytruncate PATH                copy to PATH.1, then cut to nothing
//   rotate PATH                      rename to PATH.1, create an empty PATH
//   delete PATH | create PATH | mkdir PATH | chmod PATH OCTAL | sleep MS

#include <string>
#include <string_view>
#include <vector>

namespace testwriter {

// Splits a script line into the command's words; empty for an unknown command.
std::vector<std::string> SplitScriptLine(std::string_view line);

// Runs one command; returns an empty string on success, else the reason.
std::string RunCommand(const std::vector<std::string>& words);

}  // namespace testwriter
