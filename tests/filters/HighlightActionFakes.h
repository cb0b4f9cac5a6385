#pragma once
// Fakes at the ports of highlight actions: a mail port, a web hook port, a
// desktop and a printer that keep what they were handed.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "filters/IDesktopNotice.h"
#include "filters/IHighlightMail.h"
#include "filters/IHighlightWebHook.h"
#include "filters/IPrinter.h"

namespace filters::highlight_test {

struct SentMail {
    std::u16string logName;
    std::u16string line;
    std::optional<std::u16string> previous;
    std::u16string phrase;
    DocumentRef document;
};

class FakeMail final : public IHighlightMail {
public:
    void SendHighlightMail(std::u16string_view logName, std::u16string_view line,
                           std::optional<std::u16string_view> previousLines,
                           const HighlightFilter& filter, DocumentRef document) override {
        std::optional<std::u16string> previous;
        if (previousLines) previous.emplace(*previousLines);
        sent.push_back({std::u16string(logName), std::u16string(line), previous, filter.phrase.text,
                        document});
    }
    std::vector<SentMail> sent;
};

class FakeWebHook final : public IHighlightWebHook {
public:
    void PostHighlightWebHook(std::u16string_view logName, std::u16string_view line,
                              std::optional<std::u16string_view> previousLines,
                              const HighlightFilter& filter, DocumentRef document) override {
        std::optional<std::u16string> previous;
        if (previousLines) previous.emplace(*previousLines);
        posted.push_back({std::u16string(logName), std::u16string(line), previous,
                          filter.phrase.text, document});
    }
    std::vector<SentMail> posted;
};

struct ShownNotice {
    std::u16string line;
    int lineIndex;
    DocumentRef document;
};

class FakeDesktop final : public IDesktopNotice {
public:
    void ShowHighlightNotice(std::u16string_view, std::u16string_view line, int lineIndex,
                             const HighlightFilter&, DocumentRef document) override {
        shown.push_back({std::u16string(line), lineIndex, document});
    }
    std::vector<ShownNotice> shown;
};

class FakePrinter final : public IPrinter {
public:
    bool Print(PrintJob job) override {
        if (!accept) return false;
        jobs.push_back(std::move(job));
        return true;
    }
    std::vector<PrintJob> jobs;
    // False: every job is refused, as by a printer that is busy.
    bool accept = true;
};

}  // namespace filters::highlight_test
