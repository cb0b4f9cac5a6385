#include "streams/RemoteFileFeed.h"

#include <algorithm>
#include <charconv>

#include "platform/CodePage.h"

namespace streams {

namespace {

// A record line is short; a longer one is not from the script.
constexpr std::size_t kLongestRecordLine = 256;
constexpr std::size_t kLongestInode = 20;

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

constexpr std::u16string_view kReplacedNotice =
    u"[The remote file was replaced while the connection was down: what was written to the "
    u"old file meanwhile is not shown. Following the new file from its start.]\r\n";

}  // namespace

std::string CRemoteFileFeed::Script(std::size_t tailUnits) const {
    // A unit of text is at least a byte of UTF-8.
    return RemoteFileScript(path_, place_, tailUnits);
}

void CRemoteFileFeed::Forget() {
    place_ = RemoteFilePlace{};
    ConnectionEnded();
    lines_.Clear();
    opened_ = false;
}

void CRemoteFileFeed::ConnectionEnded() {
    unparsed_.clear();
    inData_ = false;
    dataLength_ = 0;
    inTail_ = false;
    waiting_.clear();
}

std::u16string CRemoteFileFeed::Waiting() const {
    if (waiting_ == "missing") return u"waiting for the file";
    if (waiting_ == "unreadable") return u"waiting to be let read the file";
    return {};
}

bool CRemoteFileFeed::Consume(std::string_view bytes, RemoteLines& lines) {
    unparsed_.append(bytes);
    std::string_view rest = unparsed_;
    bool sound = true;
    while (sound && !rest.empty()) {
        if (inData_) {
            // The data, then its count line.
            const std::size_t countEnd =
                rest.size() > dataLength_ ? rest.find('\n', dataLength_) : std::string_view::npos;
            if (countEnd == std::string_view::npos) {
                sound = rest.size() <= dataLength_ + kLongestRecordLine;
                break;
            }
            std::string_view count = rest.substr(dataLength_, countEnd - dataLength_);
            std::uint64_t real = 0;
            sound =
                count.starts_with("C ") && ReadNumber(count.substr(2), real) && real <= dataLength_;
            if (!sound) break;
            TakeData(rest.substr(0, real), lines);
            rest.remove_prefix(countEnd + 1);
            inData_ = false;
            continue;
        }
        const std::size_t end = rest.find('\n');
        if (end == std::string_view::npos) {
            sound = rest.size() <= kLongestRecordLine;
            break;
        }
        sound = end <= kLongestRecordLine && TakeRecord(rest.substr(0, end), lines);
        rest.remove_prefix(end + 1);
    }
    if (!sound) {
        ConnectionEnded();
        return false;
    }
    unparsed_.erase(0, unparsed_.size() - rest.size());
    return true;
}

bool CRemoteFileFeed::TakeRecord(std::string_view record, RemoteLines& lines) {
    std::string_view words = record;
    const std::string_view kind = NextWord(words);
    if (kind == "D") {
        if (!opened_ || !ReadNumber(words, dataLength_) || dataLength_ > kLongestRecord)
            return false;
        inData_ = true;
        return true;
    }
    if (kind == "O") {
        const std::string_view inode = NextWord(words);
        std::uint64_t position = 0;
        const bool read = ReadNumber(NextWord(words), position);
        return read && AllDigits(inode) && Opened(inode, position, words, lines);
    }
    if (kind == "K") {
        inTail_ = false;
        return words.empty();
    }
    if (kind == "W") {
        waiting_ = words;
        return words == "missing" || words == "unreadable";
    }
    return kind == "H" && words.empty();
}

bool CRemoteFileFeed::Opened(std::string_view inode, std::uint64_t position, std::string_view how,
                             RemoteLines& lines) {
    waiting_.clear();
    if (how == "start") {
        lines_.Clear();
        inTail_ = true;
        dropToLineEnd_ = position > 0;
    } else if (how == "resume") {
        // Only the place asked for can be resumed.
        if (!opened_ || inode != place_.inode || position != place_.position) return false;
    } else if (how == "new" || how == "rotated" || how == "truncated") {
        if (position != 0) return false;
        // The old file's unfinished last line ends here.
        lines_.Flush(lines.fresh);
        if (how == "new") lines.fresh += kReplacedNotice;
    } else {
        return false;
    }
    opened_ = true;
    place_.inode = inode;
    place_.position = position;
    return true;
}

void CRemoteFileFeed::TakeData(std::string_view bytes, RemoteLines& lines) {
    place_.position += bytes.size();
    if (dropToLineEnd_) {
        const std::size_t end = bytes.find('\n');
        if (end == std::string_view::npos) return;
        bytes.remove_prefix(end + 1);
        dropToLineEnd_ = false;
    }
    lines_.Add(bytes, inTail_ ? lines.tail : lines.fresh);
}

}  // namespace streams
