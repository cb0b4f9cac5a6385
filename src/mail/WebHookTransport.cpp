#include "mail/WebHookTransport.h"

#include <curl/curl.h>
#include <openssl/ssl.h>
#include <poll.h>

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <mutex>

#include "mail/SmtpErrors.h"
#include "platform/DebugOutput.h"

namespace mail {

namespace {

// The longest status line and answer body taken in; the rest is dropped.
constexpr std::size_t kMaxStatusLine = 512;

void InitCurlOnce() {
    static std::once_flag once;
    std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

struct Exchange {
    int cancelFd = -1;
    std::string statusLine;
};

// Keeps the last status line: an interim "100 Continue" comes before the real one.
std::size_t OnHeader(char* data, std::size_t size, std::size_t count, void* user) {
    auto* exchange = static_cast<Exchange*>(user);
    const std::size_t length = size * count;
    std::string_view line(data, length);
    if (line.starts_with("HTTP/")) {
        while (!line.empty() && (line.back() == '\r' || line.back() == '\n')) line.remove_suffix(1);
        exchange->statusLine.assign(line.substr(0, kMaxStatusLine));
    }
    return length;
}

// The answer's body is not needed.
std::size_t OnBody(char*, std::size_t size, std::size_t count, void*) {
    return size * count;
}

// Called often while the post runs; a readable cancel descriptor ends it.
int OnProgress(void* user, curl_off_t, curl_off_t, curl_off_t, curl_off_t) {
    const auto* exchange = static_cast<Exchange*>(user);
    if (exchange->cancelFd < 0) return 0;
    pollfd wait{exchange->cancelFd, POLLIN, 0};
    return ::poll(&wait, 1, 0) > 0 ? 1 : 0;
}

// The system's authorities are in the context already; the private one joins them.
CURLcode OnSslContext(CURL*, void* context, void*) {
    const char* extraCaFile = std::getenv(kWebHookCaFileVariable);
    if (extraCaFile != nullptr && *extraCaFile != '\0' &&
        SSL_CTX_load_verify_locations(static_cast<SSL_CTX*>(context), extraCaFile, nullptr) != 1) {
        platform::OutputDebugStringA(std::string(platform::kDebugPrefix) +
                                     "Cannot load the certificate authorities of " + extraCaFile +
                                     "\n");
    }
    return CURLE_OK;
}

struct CurlDeleter {
    void operator()(CURL* curl) const { curl_easy_cleanup(curl); }
};
struct HeaderListDeleter {
    void operator()(curl_slist* list) const { curl_slist_free_all(list); }
};

}  // namespace

std::string SendWebHookPost(const WebHookPost& post, int cancelFd,
                            std::chrono::milliseconds timeout) {
    // A blank or a control character (a line break typed into the URL)
    // would let the URL reach into the request's own lines.
    const bool malformed = std::any_of(post.url.begin(), post.url.end(), [](char ch) {
        const auto byte = static_cast<unsigned char>(ch);
        return byte <= 0x20 || byte == 0x7F;
    });
    if (malformed) return std::string(kErrorInvalidWebHookUrl);
    InitCurlOnce();
    const std::unique_ptr<CURL, CurlDeleter> curl(curl_easy_init());
    if (!curl) return std::string(kErrorSendingFailure);
    std::unique_ptr<curl_slist, HeaderListDeleter> headers(
        curl_slist_append(nullptr, "Content-Type: application/json"));
    // No waiting for a "100 Continue" the server may never send.
    if (headers) headers.reset(curl_slist_append(headers.release(), "Expect:"));
    Exchange exchange;
    exchange.cancelFd = cancelFd;
    char errorText[CURL_ERROR_SIZE] = {};
    CURL* c = curl.get();
    curl_easy_setopt(c, CURLOPT_URL, post.url.c_str());
    curl_easy_setopt(c, CURLOPT_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(c, CURLOPT_FOLLOWLOCATION, 0L);
    curl_easy_setopt(c, CURLOPT_POST, 1L);
    curl_easy_setopt(c, CURLOPT_POSTFIELDS, post.body.data());
    curl_easy_setopt(c, CURLOPT_POSTFIELDSIZE_LARGE, static_cast<curl_off_t>(post.body.size()));
    curl_easy_setopt(c, CURLOPT_HTTPHEADER, headers.get());
    curl_easy_setopt(c, CURLOPT_USERAGENT, "Ostra Tarvik");
    curl_easy_setopt(c, CURLOPT_TIMEOUT_MS, static_cast<long>(timeout.count()));
    curl_easy_setopt(c, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(c, CURLOPT_SSL_VERIFYPEER, 1L);
    curl_easy_setopt(c, CURLOPT_SSL_VERIFYHOST, 2L);
    curl_easy_setopt(c, CURLOPT_SSL_CTX_FUNCTION, OnSslContext);
    curl_easy_setopt(c, CURLOPT_HEADERFUNCTION, OnHeader);
    curl_easy_setopt(c, CURLOPT_HEADERDATA, &exchange);
    curl_easy_setopt(c, CURLOPT_WRITEFUNCTION, OnBody);
    curl_easy_setopt(c, CURLOPT_NOPROGRESS, 0L);
    curl_easy_setopt(c, CURLOPT_XFERINFOFUNCTION, OnProgress);
    curl_easy_setopt(c, CURLOPT_XFERINFODATA, &exchange);
    curl_easy_setopt(c, CURLOPT_ERRORBUFFER, errorText);
    const CURLcode result = curl_easy_perform(c);
    if (result == CURLE_OPERATION_TIMEDOUT) return std::string(kErrorTimeOut);
    if (result != CURLE_OK) {
        std::string error = curl_easy_strerror(result);
        if (errorText[0] != '\0') error += std::string(": ") + errorText;
        return error.substr(0, kMaxErrorLength);
    }
    long status = 0;
    curl_easy_getinfo(c, CURLINFO_RESPONSE_CODE, &status);
    if (status >= 200 && status <= 299) return {};
    return exchange.statusLine.empty() ? "HTTP status " + std::to_string(status)
                                       : exchange.statusLine;
}

}  // namespace mail
