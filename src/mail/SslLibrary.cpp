#include "mail/SslLibrary.h"

#include <openssl/ssl.h>

namespace mail {

bool InitSslLibrary() {
    OPENSSL_init_ssl(OPENSSL_INIT_LOAD_SSL_STRINGS | OPENSSL_INIT_LOAD_CRYPTO_STRINGS, nullptr);
    return true;
}

}  // namespace mail
