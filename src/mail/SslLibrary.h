#pragma once
// The SSL library's one-time set-up, run at application start-up before any
// mail job can start.

namespace mail {

// Initialises the SSL library and loads its error strings. Always succeeds.
bool InitSslLibrary();

// Names an extra certificate authority file trusted besides the system's own
// (a private relay's CA, or the test CA of the interop tests).
inline constexpr const char* kExtraCaFileVariable = "TARVIK_SMTP_CA_FILE";

}  // namespace mail
