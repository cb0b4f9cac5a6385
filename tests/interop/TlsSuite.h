#pragma once
// A test suite whose tests share one set of test certificates, made once with
// openssl, and an initialised SSL library.

#include <gtest/gtest.h>

#include <optional>

#include "InteropSupport.h"
#include "mail/SslLibrary.h"

namespace interop {

class TlsSuite : public testing::Test {
protected:
    static void SetUpTestSuite() {
        folder_ = new TempFolder;
        certificates_ = new std::optional<TestCertificates>(MakeTestCertificates(folder_->Path()));
        mail::InitSslLibrary();
    }
    static void TearDownTestSuite() {
        delete certificates_;
        certificates_ = nullptr;
        delete folder_;
        folder_ = nullptr;
    }
    void SetUp() override { ASSERT_TRUE(certificates_->has_value()) << "openssl failed"; }

    static const TestCertificates& Certificates() { return **certificates_; }

private:
    static inline TempFolder* folder_ = nullptr;
    static inline std::optional<TestCertificates>* certificates_ = nullptr;
};

}  // namespace interop
