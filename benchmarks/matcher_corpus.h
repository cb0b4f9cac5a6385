#pragma once
// The text the matcher benchmarks search: generated log lines as UTF-16 lines
// (what the matcher sees) and the same lines as one UTF-8 text (what grep
// reads), plus the realistic patterns of patterns.txt.

#include <cstddef>
#include <fstream>
#include <string>
#include <vector>

#include "LogGenerator.h"

namespace bench {

struct MatcherCorpus {
    std::vector<std::u16string> lines;
    std::string utf8Text;
    std::size_t characters = 0;

    static MatcherCorpus Generate(std::size_t count) {
        MatcherCorpus corpus;
        const std::vector<std::string> ascii = LogGenerator().Lines(count);
        corpus.lines.reserve(ascii.size());
        for (const std::string& line : ascii) {
            corpus.lines.push_back(LogGenerator::Widen(line));
            corpus.characters += line.size();
        }
        corpus.utf8Text = LogGenerator::Join(ascii);
        return corpus;
    }
};

inline std::vector<std::string> LoadPatterns() {
    std::vector<std::string> patterns;
    std::ifstream in(TARVIK_BENCH_DIR "/patterns.txt");
    for (std::string line; std::getline(in, line);) {
        if (!line.empty()) patterns.push_back(line);
    }
    return patterns;
}

inline std::u16string Widen(const std::string& ascii) {
    return LogGenerator::Widen(ascii);
}

}  // namespace bench
