#include "ReferenceDocument.h"

namespace follow_test {

namespace {

constexpr std::uint64_t kShrinkTolerance = 1024;
constexpr char16_t kLf = u'\n';
constexpr char16_t kCr = u'\r';

bool IsBadChar(char16_t u) {
    return (u < 0x20 && u != u'\t') || u == 0x7F;
}

// Bytes of the file up to its last non-NUL unit, for files of at most one
// 32 KiB window.
std::uint64_t LogicalEnd(const std::string& bytes) {
    const std::u16string units = UnitsOf(bytes);
    std::size_t end = units.size();
    while (end > 0 && units[end - 1] == 0) --end;
    return 2 * end;
}

}  // namespace

bool ReferenceDocument::Open(const ModelFile& file) {
    if (!file.Exists()) return false;
    const std::string& bytes = file.Bytes();
    const bool bom = bytes.size() >= 2 && bytes[0] == '\xFF' && bytes[1] == '\xFE';
    const std::uint64_t textStart = bom ? 2 : 0;
    const std::uint64_t end = LogicalEnd(bytes);
    std::uint64_t start = 0;
    if (settings_.limitBufSize && end > settings_.maxBufSiz) {
        start = end - settings_.maxBufSiz / 2;
        if ((end - start) % 2 != 0) ++start;
    }
    if (start < textStart) start = textStart;
    if (start > end) start = end;
    handleOpen_ = true;
    handleIdentity_ = file.Identity();
    textSize_ = static_cast<std::uint32_t>(end - start);
    const std::u16string units = UnitsOf(std::string_view(bytes).substr(start, end - start));
    if (!units.empty()) Insert(Filter(Normalize(units)));
    readPosition_ = end;
    return true;
}

void ReferenceDocument::Poll(const ModelFile& file) {
    if (!handleOpen_) {
        if (!file.Exists()) return;
        handleOpen_ = true;
        handleIdentity_ = file.Identity();
        readPosition_ = 0;
        partial_.clear();
        lastLoneBreak_ = 0;
        return;
    }
    if (file.Exists() && file.Identity() != handleIdentity_) {
        FollowReplacement(file);
        return;
    }
    const std::uint64_t size = file.Size();
    if (size > readPosition_) {
        ReadGrowth(file.Bytes());
    } else if (size < readPosition_ && (file.Exists() || readPosition_ - size > kShrinkTolerance)) {
        Reset();
    }
}

void ReferenceDocument::ReadGrowth(const std::string& bytes) {
    if (bytes.size() <= readPosition_) return;
    std::u16string units = UnitsOf(std::string_view(bytes).substr(readPosition_));
    while (!units.empty() && units.back() == 0) units.pop_back();
    if (units.empty()) return;
    readPosition_ += 2 * units.size();
    Append(Normalize(units));
}

// The rest of the old file, still open, then its unfinished last line ends;
// the new file is opened at the next poll and read from its start.
void ReferenceDocument::FollowReplacement(const ModelFile& file) {
    ReadGrowth(file.BytesOf(handleIdentity_));
    if (!lines_.back().empty() || !partial_.empty()) Append(u"\n");
    handleOpen_ = false;
    readPosition_ = 0;
    partial_.clear();
    partialShown_ = false;
    lastLoneBreak_ = 0;
}

void ReferenceDocument::Reset() {
    handleOpen_ = false;
    readPosition_ = 0;
    lines_.assign(1, u"");
    textSize_ = 0;
    partial_.clear();
    partialShown_ = false;
    lastLoneBreak_ = 0;
}

std::u16string ReferenceDocument::Normalize(std::u16string_view units) {
    if (lastLoneBreak_ != 0 && !units.empty()) {
        if (units[0] == (lastLoneBreak_ == kCr ? kLf : kCr)) units.remove_prefix(1);
        lastLoneBreak_ = 0;
    }
    std::u16string out;
    out.reserve(units.size());
    for (std::size_t i = 0; i < units.size(); ++i) {
        const char16_t u = units[i];
        if (u == kCr || u == kLf) {
            const char16_t pair = u == kCr ? kLf : kCr;
            if (i + 1 < units.size() && units[i + 1] == pair) {
                ++i;
            } else if (i + 1 == units.size()) {
                lastLoneBreak_ = u;
            }
            out.push_back(kLf);
        } else {
            out.push_back(IsBadChar(u) ? u' ' : u);
        }
    }
    return out;
}

bool ReferenceDocument::FiltersActive() const {
    return !settings_.include.empty() || !settings_.exclude.empty();
}

bool ReferenceDocument::Accept(std::u16string_view line) const {
    if (!settings_.exclude.empty() && line.find(settings_.exclude) != line.npos) return false;
    if (settings_.include.empty()) return true;
    return line.find(settings_.include) != line.npos;
}

std::u16string ReferenceDocument::Filter(std::u16string_view text) {
    if (!FiltersActive()) return std::u16string(text);
    if (!partial_.empty() && partialShown_) lines_.back().clear();
    std::u16string out;
    std::size_t at = 0;
    while (at < text.size()) {
        const std::size_t lf = text.find(kLf, at);
        const std::size_t end = lf == text.npos ? text.size() : lf;
        std::u16string piece = partial_ + std::u16string(text.substr(at, end - at));
        partial_.clear();
        const bool passes = Accept(piece);
        if (passes) out += piece;
        if (lf == text.npos) {
            partial_ = std::move(piece);
            partialShown_ = passes;
            break;
        }
        if (passes) out.push_back(kLf);
        at = lf + 1;
    }
    return out;
}

void ReferenceDocument::Insert(std::u16string_view text) {
    std::size_t at = 0;
    for (;;) {
        const std::size_t lf = text.find(kLf, at);
        lines_.back() += text.substr(at, lf == text.npos ? text.npos : lf - at);
        if (lf == text.npos) return;
        lines_.emplace_back();
        at = lf + 1;
    }
}

void ReferenceDocument::Append(std::u16string_view text) {
    if (text.empty()) return;
    if (settings_.limitBufSize &&
        textSize_ + 2 * static_cast<std::uint64_t>(text.size()) > settings_.maxBufSiz) {
        Trim();
    }
    const std::u16string kept = Filter(text);
    if (kept.empty()) return;
    textSize_ += static_cast<std::uint32_t>(2 * kept.size());
    Insert(kept);
}

void ReferenceDocument::Trim() {
    const auto count = static_cast<int>(lines_.size());
    if (count > settings_.retainLineNum) {
        lines_.erase(lines_.begin(), lines_.begin() + (count - settings_.retainLineNum));
    } else {
        lines_.assign(1, u"");
    }
    textSize_ = 0;
    for (const std::u16string& line : lines_) {
        textSize_ += static_cast<std::uint32_t>(2 * line.size() + 2);
    }
}

}  // namespace follow_test
