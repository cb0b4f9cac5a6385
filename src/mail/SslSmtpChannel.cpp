#include "mail/SslSmtpChannel.h"

#include <openssl/err.h>
#include <openssl/x509v3.h>

#include <climits>
#include <cstdlib>

#include "mail/ConnectSmtpServer.h"
#include "mail/SslLibrary.h"
#include "platform/DebugOutput.h"
#include "platform/SigpipeGuard.h"

namespace mail {

using platform::SocketEvent;
using platform::SocketWait;

namespace {

void WriteDebugLine(const std::string& text) {
    platform::OutputDebugStringA(std::string(platform::kDebugPrefix) + text + "\n");
}

std::string LastSslErrorText() {
    const unsigned long code = ERR_peek_last_error();
    if (code == 0) return "connection closed or timed out";
    char text[256];
    ERR_error_string_n(code, text, sizeof text);
    return text;
}

}  // namespace

CSslSmtpChannel::CSslSmtpChannel(platform::CSocket& socket, int cancelFd)
    : socket_(socket), cancelFd_(cancelFd) {}

CSslSmtpChannel::~CSslSmtpChannel() {
    // One try at a close notice; the socket is non-blocking, so this never waits.
    if (ssl_ && connected_) {
        const platform::CSigpipeGuard noSigpipe;
        SSL_shutdown(ssl_.get());
    }
    ERR_clear_error();
}

bool CSslSmtpChannel::CreateContext(bool verifyCertificate) {
    context_.reset(SSL_CTX_new(TLS_client_method()));
    if (!context_) return false;
    SSL_CTX_set_min_proto_version(context_.get(), TLS1_2_VERSION);
    if (!verifyCertificate) {
        SSL_CTX_set_verify(context_.get(), SSL_VERIFY_NONE, nullptr);
        return true;
    }
    SSL_CTX_set_verify(context_.get(), SSL_VERIFY_PEER, nullptr);
    SSL_CTX_set_default_verify_paths(context_.get());
    const char* extraCaFile = std::getenv(kExtraCaFileVariable);
    if (extraCaFile != nullptr && *extraCaFile != '\0' &&
        SSL_CTX_load_verify_locations(context_.get(), extraCaFile, nullptr) != 1) {
        WriteDebugLine(std::string("Cannot load the certificate authorities of ") + extraCaFile);
    }
    return true;
}

bool CSslSmtpChannel::CreateSession(const std::string& host, bool verifyCertificate) {
    ssl_.reset(SSL_new(context_.get()));
    if (!ssl_ || SSL_set_fd(ssl_.get(), socket_.Fd()) != 1) return false;
    const bool isAddress = IsIpAddress(host);
    // Server names go in the hello; addresses are not allowed there.
    if (!isAddress && SSL_set_tlsext_host_name(ssl_.get(), host.c_str()) != 1) return false;
    if (!verifyCertificate) return true;
    if (isAddress) {
        return X509_VERIFY_PARAM_set1_ip_asc(SSL_get0_param(ssl_.get()), host.c_str()) == 1;
    }
    return SSL_set1_host(ssl_.get(), host.c_str()) == 1;
}

template <typename Call>
CSslSmtpChannel::Step CSslSmtpChannel::Drive(Call call, int seconds, int& result) {
    for (;;) {
        ERR_clear_error();
        {
            const platform::CSigpipeGuard noSigpipe;
            result = call();
        }
        if (result > 0) return Step::Done;
        SocketWait wait = SocketWait::Failed;
        switch (SSL_get_error(ssl_.get(), result)) {
            case SSL_ERROR_WANT_READ:
                wait = socket_.Wait(SocketEvent::Readable, seconds, cancelFd_);
                break;
            case SSL_ERROR_WANT_WRITE:
                wait = socket_.Wait(SocketEvent::Writable, seconds, cancelFd_);
                break;
            default:
                return Step::Failed;
        }
        if (wait == SocketWait::TimedOut) return Step::TimedOut;
        if (wait == SocketWait::Failed) return Step::Failed;
    }
}

void CSslSmtpChannel::ReportFailure(const std::string& server, const char* stage) const {
    std::string reason = LastSslErrorText();
    if (ssl_) {
        const long verifyResult = SSL_get_verify_result(ssl_.get());
        if (verifyResult != X509_V_OK) {
            reason = std::string("certificate verification failed: ") +
                     X509_verify_cert_error_string(verifyResult);
        }
    }
    WriteDebugLine("SSL connection to " + server + " failed (" + stage + "): " + reason);
}

bool CSslSmtpChannel::Open(const std::string& server, bool verifyCertificate, int seconds) {
    const std::string host = HostOfServer(server);
    if (!CreateContext(verifyCertificate) || !CreateSession(host, verifyCertificate)) {
        ReportFailure(server, "set-up");
        return false;
    }
    int result = 0;
    const Step step = Drive([this] { return SSL_connect(ssl_.get()); }, seconds, result);
    if (step != Step::Done || result != 1) {
        ReportFailure(server, step == Step::TimedOut ? "handshake timed out" : "handshake");
        return false;
    }
    connected_ = true;
    return true;
}

long long CSslSmtpChannel::SendWithTimeout(std::string_view bytes, int seconds) {
    if (!connected_) return -1;
    long long sent = 0;
    while (sent < static_cast<long long>(bytes.size())) {
        // SSL_write takes an int count; a larger message goes in several calls.
        const auto rest = static_cast<long long>(bytes.size()) - sent;
        const int piece = rest > INT_MAX ? INT_MAX : static_cast<int>(rest);
        const char* data = bytes.data() + sent;
        int result = 0;
        const Step step =
            Drive([&] { return SSL_write(ssl_.get(), data, piece); }, seconds, result);
        if (step == Step::TimedOut) break;
        if (step == Step::Failed) return -1;
        sent += result;
    }
    return sent;
}

long CSslSmtpChannel::ReadSome(char* buffer, std::size_t capacity, int seconds) {
    if (!connected_) return -1;
    const int size = capacity > INT_MAX ? INT_MAX : static_cast<int>(capacity);
    int result = 0;
    switch (Drive([&] { return SSL_read(ssl_.get(), buffer, size); }, seconds, result)) {
        case Step::Done:
            return result;
        case Step::TimedOut:
            return 0;
        case Step::Failed:
            break;
    }
    return -1;
}

}  // namespace mail
