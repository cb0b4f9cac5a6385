#pragma once
// An SMTP conversation over SSL from the first byte (implicit TLS). TLS 1.2 or
// newer; the server's certificate is checked against the system trust store
// (plus the file named by TARVIK_SMTP_CA_FILE) and must name the server,
// unless the job turns verification off. Every handshake step, read and write
// waits on the socket with a bound, so a silent server cannot hold the thread.

#include <openssl/ssl.h>

#include <memory>
#include <string>

#include "mail/SmtpChannel.h"
#include "platform/Socket.h"

namespace mail {

class CSslSmtpChannel final : public CSmtpChannel {
public:
    // The channel uses the connected socket; cancelFd (or -1) ends its waits early.
    CSslSmtpChannel(platform::CSocket& socket, int cancelFd);
    // Says goodbye to the server (without waiting for its answer) and frees the SSL objects.
    ~CSslSmtpChannel() override;

    // Sets up SSL and performs the handshake for server. False on any failure;
    // the reason goes to the debug output.
    bool Open(const std::string& server, bool verifyCertificate, int seconds);

    long long SendWithTimeout(std::string_view bytes, int seconds) override;

protected:
    long ReadSome(char* buffer, std::size_t capacity, int seconds) override;

private:
    enum class Step { Done, TimedOut, Failed };
    struct ContextDeleter {
        void operator()(SSL_CTX* context) const { SSL_CTX_free(context); }
    };
    struct SslDeleter {
        void operator()(SSL* ssl) const { SSL_free(ssl); }
    };

    bool CreateContext(bool verifyCertificate);
    bool CreateSession(const std::string& host, bool verifyCertificate);
    // Repeats an SSL call until it succeeds, waiting for the socket as it asks.
    template <typename Call>
    Step Drive(Call call, int seconds, int& result);
    void ReportFailure(const std::string& server, const char* stage) const;

    platform::CSocket& socket_;
    int cancelFd_;
    std::unique_ptr<SSL_CTX, ContextDeleter> context_;
    std::unique_ptr<SSL, SslDeleter> ssl_;
    bool connected_ = false;
};

}  // namespace mail
