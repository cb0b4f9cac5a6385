// Macro driver: the memory a document needs for a full buffer. A document of
// 100-character lines is filled to just under the default 20 MiB limit; the
// resident set size grown since before the document existed is the figure.
// Then a document holds a UTF-8 log of 400,000 lines of 140 characters whole
// (limit off), loaded at open and taken in by polls: the figure is its
// resident size against its UTF-16 text, and the cost of each line beyond
// its text.

#include <fcntl.h>
#include <malloc.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <string>

#include "core/DocContext.h"
#include "core/TarvikDoc.h"
#include "doc_bench_support.h"
#include "filters/InExFilterList.h"
#include "platform/CodePage.h"
#include "platform/IClock.h"
#include "settings/Options.h"

namespace {

constexpr std::size_t kLineChars = 100;
constexpr double kTargetMiB = 40;

// `count` lines of exactly 100 characters, numbered, in UTF-16LE with LF.
std::string Lines(std::size_t first, std::size_t count) {
    std::string bytes;
    bytes.reserve(count * (kLineChars + 1) * 2);
    char head[32];
    for (std::size_t i = first; i < first + count; ++i) {
        std::string line(kLineChars, '.');
        const int n = std::snprintf(head, sizeof head, "line %09zu ", i);
        line.replace(0, static_cast<std::size_t>(n), head);
        line += '\n';
        for (char c : line) {
            bytes.push_back(c);
            bytes.push_back('\0');
        }
    }
    return bytes;
}

bool AppendToFile(const std::string& path, const std::string& bytes) {
    const int fd = open(path.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0600);
    if (fd < 0) return false;
    const bool ok = bench::WriteAll(fd, bytes);
    return close(fd) == 0 && ok;
}

// Fills a document to just below the limit, the writer appending
// `appendBytes` per poll, and returns the resident bytes grown since before
// the document existed; 0 on failure.
std::uint64_t GrownWithFullBuffer(const std::string& path, std::size_t appendBytes) {
    unlink(path.c_str());
    const std::size_t lineBytes = (kLineChars + 1) * 2;
    const std::size_t firstLines = 100000;
    if (!AppendToFile(path, Lines(0, firstLines))) return 0;
    settings::Options options;
    filters::CInExFilters filters;
    core::DocContext context{options, filters, platform::SystemClock::Instance()};
    const std::uint64_t before = bench::ResidentBytes();
    core::CTarvikDoc doc(context);
    if (!doc.OnOpenDocument(platform::Utf8ToUtf16(path))) return 0;
    // Up to just below the limit, so that nothing is trimmed.
    std::size_t next = firstLines;
    const std::size_t linesPerAppend = std::max<std::size_t>(1, appendBytes / lineBytes);
    while (doc.TextSize() + (linesPerAppend + 4) * lineBytes < options.MaxBufSiz) {
        if (!AppendToFile(path, Lines(next, linesPerAppend))) return 0;
        next += linesPerAppend;
        doc.CheckFile();
    }
    const std::uint64_t grown = bench::ResidentBytes() - before;
    std::printf(
        "%-28s %7d lines of %zu characters, text size %5.2f MiB: RSS %5.1f MiB more "
        "(target <= %.0f MiB) %s\n",
        ("appends of " + std::to_string(appendBytes >> 10) + " KiB per poll").c_str(),
        doc.Buffer().LineCount(), kLineChars, doc.TextSize() / 1048576.0, grown / 1048576.0,
        kTargetMiB, grown / 1048576.0 <= kTargetMiB ? "ok" : "MISSED");
    // Freed blocks that malloc keeps for reuse count in the figure above;
    // what the document really holds shows once they are given back.
    malloc_trim(0);
    const std::uint64_t live = bench::ResidentBytes() - before;
    std::printf("%-28s %.1f MiB more once malloc gave freed memory back\n", "", live / 1048576.0);
    unlink(path.c_str());
    return grown;
}

constexpr std::size_t kWholeLines = 400'000;
constexpr std::size_t kWholeChars = 140;
constexpr double kTargetTextRatio = 1.3;

// `count` numbered UTF-8 lines of exactly 140 characters, LF breaks.
std::string Utf8Lines(std::size_t count) {
    std::string bytes;
    bytes.reserve(count * (kWholeChars + 1));
    char head[32];
    for (std::size_t i = 0; i < count; ++i) {
        std::string line(kWholeChars, 'x');
        const int n = std::snprintf(head, sizeof head, "line %09zu ", i);
        line.replace(0, static_cast<std::size_t>(n), head);
        bytes += line;
        bytes += '\n';
    }
    return bytes;
}

// The resident bytes a document holding the whole file costs, once malloc
// has given back what it freed; loaded at open, or (byPolls) taken in by
// polls from an empty start.
void HeldWhole(const std::string& path, const std::string& bytes, bool byPolls) {
    unlink(path.c_str());
    if (!AppendToFile(path, byPolls ? std::string() : bytes)) return;
    settings::Options options;
    options.LimitBufSize = false;
    filters::CInExFilters filters;
    core::DocContext context{options, filters, platform::SystemClock::Instance()};
    malloc_trim(0);
    const std::uint64_t before = bench::ResidentBytes();
    {
        core::CTarvikDoc doc(context);
        if (!doc.OnOpenDocument(platform::Utf8ToUtf16(path))) return;
        if (byPolls) {
            if (!AppendToFile(path, bytes)) return;
            while (doc.ReadPosition() < bytes.size()) doc.CheckFile();
        }
        malloc_trim(0);
        const double grown = static_cast<double>(bench::ResidentBytes() - before);
        const double text = static_cast<double>(doc.TextSize());
        const int lines = doc.Buffer().LineCount() - 1;
        const double ratio = grown / text;
        std::printf(
            "%-28s %7d lines of %zu characters, UTF-16 text %6.1f MiB: RSS %6.1f MiB, "
            "%.2fx the text (target <= %.1fx) %s\n",
            byPolls ? "held whole, read by polls" : "held whole, loaded at open", lines,
            kWholeChars, text / 1048576.0, grown / 1048576.0, ratio, kTargetTextRatio,
            ratio <= kTargetTextRatio ? "ok" : "MISSED");
        std::printf("%-28s %.1f bytes per line beyond its text and line break\n", "",
                    (grown - text) / lines);
    }
    unlink(path.c_str());
}

}  // namespace

int main() {
    const std::string path = bench::BenchFolder() + "/memory-100-char-lines.log";
    std::printf("a full 20 MiB buffer (default limit), RSS over the process before the document\n");
    if (GrownWithFullBuffer(path, 64 << 10) == 0) {
        std::fprintf(stderr, "cannot write or open %s\n", path.c_str());
        return 1;
    }
    const std::string bytes = Utf8Lines(kWholeLines);
    const std::string whole = bench::BenchFolder() + "/memory-140-char-lines.log";
    HeldWhole(whole, bytes, false);
    HeldWhole(whole, bytes, true);
    return 0;
}
