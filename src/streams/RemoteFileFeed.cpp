#include "streams/RemoteFileFeed.h"

#include <algorithm>
#include <charconv>
#include <limits>

namespace streams {

namespace {

constexpr std::size_t kLongestInode = 20;
// Bytes before the first stretch is announced; the script sends none.
constexpr std::size_t kMostEarlyBytes = 8u << 20;

bool ReadNumber(std::string_view text, std::uint64_t& value) {
    if (text.empty() || text.size() > 19) return false;
    auto [end, failure] = std::from_chars(text.data(), text.data() + text.size(), value);
    return failure == std::errc() && end == text.data() + text.size();
}

bool AllDigits(std::string_view text) {
    return !text.empty() && text.size() <= kLongestInode &&
           std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// The next space-separated word of text, taken off its front.
std::string_view NextWord(std::string_view& text) {
    const std::size_t end = std::min(text.find(' '), text.size());
    std::string_view word = text.substr(0, end);
    text.remove_prefix(std::min(end + 1, text.size()));
    return word;
}

constexpr std::u16string_view kShrunkNotice =
    u"[The remote file became shorter while the connection was down: following it from its "
    u"start, so what it held before may show again.]\r\n";
constexpr std::u16string_view kReplacedNotice =
    u"[The remote file was replaced while the connection was down: what was written to the "
    u"old file meanwhile is not shown. Following the new file from its start.]\r\n";

}  // namespace

std::string CRemoteFileFeed::Script(std::size_t tailUnits) const {
    // A unit of text is at least a byte of UTF-8.
    return RemoteFileScript(path_, place_, tailUnits);
}

RemoteFilePlace CRemoteFileFeed::Place() const {
    if (!opened_) return place_;
    return {current_.inode, current_.position + (received_ - current_.at)};
}

void CRemoteFileFeed::Forget() {
    ConnectionEnded();
    place_ = RemoteFilePlace{};
    lines_.Clear();
}

void CRemoteFileFeed::ConnectionEnded() {
    // An unfinished line stays: the next connection goes on with it.
    place_ = Place();
    received_ = 0;
    opened_ = false;
    current_ = Stretch{};
    ahead_.clear();
    tailEnd_ = 0;
    early_.clear();
    waiting_.clear();
}

std::u16string CRemoteFileFeed::Waiting() const {
    if (waiting_ == "missing") return u"waiting for the file";
    if (waiting_ == "unreadable") return u"waiting to be let read the file";
    return {};
}

bool CRemoteFileFeed::Consume(std::string_view bytes, RemoteLines& lines) {
    if (opened_) {
        TakeBytes(bytes, lines);
        return true;
    }
    early_.append(bytes);
    return early_.size() <= kMostEarlyBytes;
}

bool CRemoteFileFeed::ConsumeControl(std::string_view line, RemoteLines& lines) {
    std::string_view words = line;
    const std::string_view kind = NextWord(words);
    if (kind == "H") return words.empty();
    if (kind == "W") {
        waiting_ = words;
        return words == "missing" || words == "unreadable";
    }
    if (kind != "O") return false;
    Stretch stretch;
    stretch.inode = NextWord(words);
    std::uint64_t tail = 0;
    const std::string_view position = NextWord(words);
    stretch.how = NextWord(words);
    const std::string_view at = NextWord(words);
    if (!AllDigits(stretch.inode) || !ReadNumber(position, stretch.position) ||
        !ReadNumber(at, stretch.at) || !ReadNumber(words, tail)) {
        return false;
    }
    waiting_.clear();
    if (!opened_) {
        // The first stretch of a connection starts it.
        const bool first = stretch.how == "start" || stretch.how == "resume" ||
                           stretch.how == "new" || stretch.how == "shrunk";
        if (!first || stretch.at != 0) return false;
        if (stretch.how == "resume" &&
            (stretch.inode != place_.inode || stretch.position != place_.position)) {
            return false;
        }
        if (stretch.how == "start") {
            lines_.Clear();
            dropToLineEnd_ = stretch.position > 0;
        } else if (stretch.how == "new" || stretch.how == "shrunk") {
            lines_.Flush(lines.fresh);
            lines.fresh += stretch.how == "new" ? kReplacedNotice : kShrunkNotice;
        }
        opened_ = true;
        current_ = stretch;
        tailEnd_ = stretch.how == "start" ? tail : 0;
        const std::string early = std::move(early_);
        early_.clear();
        TakeBytes(early, lines);
        return true;
    }
    const std::uint64_t last = ahead_.empty() ? current_.at : ahead_.back().at;
    if ((stretch.how != "rotated" && stretch.how != "truncated") || stretch.position != 0 ||
        stretch.at < last) {
        return false;
    }
    if (stretch.at > received_) {
        ahead_.push_back(std::move(stretch));
    } else {
        // Its bytes came first: the lines already joined, but the place is right.
        current_ = std::move(stretch);
    }
    return true;
}

void CRemoteFileFeed::TakeBytes(std::string_view bytes, RemoteLines& lines) {
    while (!bytes.empty()) {
        std::uint64_t until = std::numeric_limits<std::uint64_t>::max();
        if (!ahead_.empty()) until = ahead_.front().at;
        if (received_ < tailEnd_) until = std::min(until, tailEnd_);
        std::string_view piece =
            bytes.substr(0, std::min<std::uint64_t>(bytes.size(), until - received_));
        bytes.remove_prefix(piece.size());
        const bool tail = received_ < tailEnd_;
        received_ += piece.size();
        if (dropToLineEnd_) {
            const std::size_t end = piece.find('\n');
            if (end == std::string_view::npos) {
                piece = {};
            } else {
                piece.remove_prefix(end + 1);
                dropToLineEnd_ = false;
            }
        }
        if (!piece.empty()) lines_.Add(piece, tail ? lines.tail : lines.fresh);
        while (!ahead_.empty() && received_ == ahead_.front().at) {
            // The old file's unfinished last line ends here.
            lines_.Flush(lines.fresh);
            current_ = std::move(ahead_.front());
            ahead_.pop_front();
        }
    }
}

}  // namespace streams
