#include "streams/RemoteSource.h"

#include <sys/wait.h>

#include <cstring>

#include "platform/CodePage.h"
#include "streams/RemoteFileFeed.h"
#include "streams/RemoteJournalFeed.h"
#include "streams/RemoteScripts.h"

namespace streams {

namespace {

constexpr std::size_t kReadBytes = 1u << 20;

bool Contains(std::string_view text, std::string_view part) {
    return text.find(part) != std::string_view::npos;
}

// Hands ready's lines to intake in pieces of at most maxUnits; false when
// the budget ran out first.
bool HandTo(CReadyLines& ready, IStreamIntake& intake, std::size_t& budget, bool tail) {
    std::u16string piece;
    while (!ready.Empty() && budget > 0) {
        piece.clear();
        budget -= std::min(budget, ready.Hand(piece, budget));
        if (tail) {
            intake.TakeTailText(piece.data(), piece.size());
        } else {
            intake.TakeText(piece.data(), piece.size(), false);
        }
    }
    return ready.Empty();
}

}  // namespace

CRemoteSource::CRemoteSource(RemoteQuery query) : query_(std::move(query)) {
    if (query_.journal) {
        feed_ = std::make_unique<CRemoteJournalFeed>(query_.journalQuery);
    } else {
        feed_ = std::make_unique<CRemoteFileFeed>(query_.path);
    }
}

CRemoteSource::~CRemoteSource() = default;

std::u16string CRemoteSource::Name() const {
    return FormatRemoteName(query_);
}

std::string CRemoteSource::HostText() const {
    return platform::Utf16ToUtf8(FormatRemoteHost(query_.host));
}

bool CRemoteSource::Open(std::size_t tailUnits, std::u16string& error) {
    tailUnits_ = tailUnits;
    return Connect(error);
}

bool CRemoteSource::Restart(std::size_t tailUnits, std::u16string& error) {
    session_.End();
    feed_->Forget();
    tail_.Clear();
    fresh_.Clear();
    received_.clear();
    failed_ = false;
    backOff_ = kFirstBackOff;
    return Open(tailUnits, error);
}

bool CRemoteSource::Connect(std::u16string& error) {
    nextConnect_.reset();
    heard_ = false;
    if (const int result = session_.Start(query_.host, feed_->Script(tailUnits_), wake_);
        result != 0) {
        error = platform::Utf8ToUtf16(std::string("The OpenSSH client (ssh) could not start: ") +
                                      std::strerror(result) + ".");
        return false;
    }
    return true;
}

void CRemoteSource::Say(const std::string& line) {
    fresh_.Text() += platform::Utf8ToUtf16("[" + line + "]");
    fresh_.Text() += u"\r\n";
}

void CRemoteSource::Pump() {
    if (session_.Running()) {
        // What the far side says of its output first, so that the output
        // is split where a new stretch of it begins.
        if (!ReadControls()) return;
        ReadOutput();
        int status = 0;
        if (session_.Running() && session_.HasEnded(status)) Ended(status);
    }
    if (nextConnect_ && Clock::now() >= *nextConnect_) {
        std::u16string error;
        if (!Connect(error)) {
            Say(platform::Utf16ToUtf8(error));
            failed_ = true;
        }
    }
}

bool CRemoteSource::ReadControls() {
    controls_.clear();
    session_.ReadErrors(kRemoteControl, controls_);
    RemoteLines lines{tail_.Text(), fresh_.Text()};
    for (const std::string& control : controls_) {
        heard_ = true;
        if (!feed_->ConsumeControl(control, lines)) {
            Damaged();
            return false;
        }
    }
    return true;
}

void CRemoteSource::Damaged() {
    // Not what the script sends: this connection cannot be trusted.
    session_.End();
    Ended(-1);
}

void CRemoteSource::ReadOutput() {
    while (tail_.Size() + fresh_.Size() < kMaxReadyUnits) {
        received_.clear();
        const bool open = session_.ReadOutput(received_, kReadBytes);
        if (!received_.empty()) {
            heard_ = true;
            RemoteLines lines{tail_.Text(), fresh_.Text()};
            if (!feed_->Consume(received_, lines)) {
                Damaged();
                return;
            }
        }
        if (!open || received_.size() < kReadBytes) {
            session_.WatchOutput(true);
            return;
        }
    }
    // The document takes nothing now: ssh waits on its pipe meanwhile.
    session_.WatchOutput(false);
}

void CRemoteSource::Ended(int status) {
    feed_->ConnectionEnded();
    const std::string errors = session_.Errors();
    std::string reason = session_.LastError();
    session_.End();
    const std::string host = HostText();
    if (status == -1) reason = "the far side sent what the reading script never sends";
    while (!reason.empty() && (reason.back() == '.' || reason.back() == ' ')) reason.pop_back();
    if (Contains(errors, "Permission denied")) {
        failed_ = true;
        Say("ssh to " + host + " failed: " + reason +
            ". This program cannot answer a password prompt: use an SSH key or agent.");
        return;
    }
    if (Contains(errors, "Host key verification failed") ||
        Contains(errors, "No matching host key") || Contains(errors, "HOST IDENTIFICATION HAS")) {
        failed_ = true;
        Say("ssh to " + host + " failed: " + reason +
            ". The host key not known: connect once with ssh first.");
        return;
    }
    // A program the far side lacks does not come by itself.
    if (status >= 0 && WIFEXITED(status) && WEXITSTATUS(status) == 127) {
        failed_ = true;
        Say("ssh to " + host + " failed: " + reason +
            ". The far side lacks a program the reading needs.");
        return;
    }
    if (reason.empty()) {
        reason = status >= 0 ? "the connection ended with " + platform::DescribeWaitStatus(status)
                             : "the connection ended";
    }
    // A connection that worked is made again soon; one that did not, later
    // each time.
    if (heard_) backOff_ = kFirstBackOff;
    Say("ssh to " + host + ": " + reason + ". Connecting again in " +
        std::to_string(backOff_.count()) + " s.");
    nextConnect_ = Clock::now() + backOff_;
    backOff_ = std::min(backOff_ * 2, kLongestBackOff);
}

std::u16string CRemoteSource::Status() const {
    if (failed_) return u"failed";
    if (!session_.Running()) return u"not connected";
    if (!heard_) return u"connecting";
    return feed_->Waiting();
}

bool CRemoteSource::Take(std::u16string& out, std::size_t maxUnits) {
    Pump();
    std::size_t budget = maxUnits;
    budget -= std::min(budget, tail_.Hand(out, budget));
    if (budget > 0) fresh_.Hand(out, budget);
    if (tail_.Size() + fresh_.Size() < kMaxReadyUnits) session_.WatchOutput(true);
    return !tail_.Empty() || !fresh_.Empty();
}

bool CRemoteSource::Deliver(IStreamIntake& intake, std::size_t maxUnits) {
    Pump();
    std::size_t budget = maxUnits == 0 ? 1 : maxUnits;
    if (HandTo(tail_, intake, budget, true)) HandTo(fresh_, intake, budget, false);
    if (tail_.Size() + fresh_.Size() < kMaxReadyUnits) session_.WatchOutput(true);
    return !tail_.Empty() || !fresh_.Empty();
}

}  // namespace streams
