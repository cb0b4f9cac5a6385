#pragma once
// Standard output shared by the files being followed: text is collected and
// written at once per poll, and with several files a header "==> PATH <=="
// goes before each block that comes from another file than the last one.

#include <string>
#include <string_view>

namespace tail {

class CTailOutput {
public:
    explicit CTailOutput(bool headers) : headers_(headers) {}

    // Text of the file named `name` follows; the name is the block's identity.
    void Begin(const std::string& name);
    void Write(std::string_view text) { pending_.append(text); }
    // Writes what was collected to standard output and flushes it.
    void Flush();

private:
    bool headers_;
    bool anyBlock_ = false;
    std::string current_;
    std::string pending_;
};

}  // namespace tail
