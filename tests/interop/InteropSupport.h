#pragma once
// What the interop tests need around the real peers: child processes (the
// Python servers and openssl), a private temporary folder, and test certificates.

#include <sys/types.h>

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace interop {

// A child process started without a shell. Its standard output can be read
// line by line; it is ended and reaped when the object goes, so none lingers.
class ChildProcess {
public:
    // quiet: the child's standard error goes nowhere (for chatty tools like
    // openssl); errorsToOutput: it is read with the standard output.
    explicit ChildProcess(const std::vector<std::string>& arguments, bool quiet = false,
                          bool errorsToOutput = false);
    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    bool IsRunning() const { return pid_ > 0; }
    // The next line of the child's standard output, waiting at most timeoutMs.
    std::optional<std::string> ReadLine(int timeoutMs);
    // Waits at most timeoutMs for the child to end; its exit status, or -1.
    int Wait(int timeoutMs);
    // Asks the child to stop, then makes it stop, and reaps it.
    void Stop();

private:
    pid_t pid_ = -1;
    int output_ = -1;
    std::string pending_;
};

// Runs a program to its end (at most timeoutMs); true when it exited with 0.
bool RunProgram(const std::vector<std::string>& arguments, int timeoutMs);

// A fresh private folder, removed with everything in it when the object goes.
class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    const std::filesystem::path& Path() const { return path_; }

private:
    std::filesystem::path path_;
};

// The Python that has the system's aiosmtpd.
std::string PythonProgram();
// A helper script that lives beside the tests.
std::string ScriptPath(const std::string& name);

// A test certificate authority and certificates it signed, made with openssl.
struct TestCertificates {
    std::string caFile;                       // the CA that signed both server certificates
    std::string otherCaFile;                  // an unrelated CA
    std::string serverCert, serverKey;        // names 127.0.0.1 and localhost
    std::string wrongNameCert, wrongNameKey;  // names only elsewhere.example
};
std::optional<TestCertificates> MakeTestCertificates(const std::filesystem::path& folder);

// Sets an environment variable for the scope of the object, then restores it.
class ScopedEnvironment {
public:
    ScopedEnvironment(const char* name, const std::optional<std::string>& value);
    ~ScopedEnvironment();
    ScopedEnvironment(const ScopedEnvironment&) = delete;
    ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;

private:
    std::string name_;
    std::optional<std::string> previous_;
};

}  // namespace interop
