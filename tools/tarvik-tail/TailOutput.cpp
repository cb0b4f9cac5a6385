#include "TailOutput.h"

#include <cstdio>

namespace tail {

void CTailOutput::Begin(const std::string& name) {
    if (!headers_ || (anyBlock_ && name == current_)) return;
    if (anyBlock_) pending_.push_back('\n');
    pending_.append("==> ");
    AppendUtf8Text(pending_, name, form_);
    pending_.append(" <==\n");
    current_ = name;
    anyBlock_ = true;
}

void CTailOutput::Flush() {
    if (!pending_.empty()) {
        std::fwrite(pending_.data(), 1, pending_.size(), stdout);
        pending_.clear();
    }
    std::fflush(stdout);
}

}  // namespace tail
