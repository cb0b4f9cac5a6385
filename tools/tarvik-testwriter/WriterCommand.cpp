#include "WriterCommand.h"

#include <charconv>
#include <cstdint>
#include <functional>
#include <optional>

#include "EscapedText.h"
#include "FileActions.h"

namespace testwriter {

namespace {

// The words of one command after its name, decoded.
class Fields {
public:
    explicit Fields(const std::vector<std::string>& words) : words_(words) {}

    std::optional<std::string> Path(std::size_t i) const {
        return EncodeEscaped(words_[i], TextEncoding::Utf8);
    }
    std::optional<std::uint64_t> Number(std::size_t i, int base = 10) const {
        const std::string& w = words_[i];
        std::uint64_t value = 0;
        const auto [end, ec] = std::from_chars(w.data(), w.data() + w.size(), value, base);
        if (ec != std::errc() || end != w.data() + w.size()) return std::nullopt;
        return value;
    }
    // Field i names the encoding of the text in the last field.
    std::optional<std::string> Text(std::size_t i) const {
        const std::optional<TextEncoding> encoding = ParseEncoding(words_[i]);
        if (!encoding) return std::nullopt;
        return EncodeEscaped(words_.back(), *encoding);
    }
    std::size_t UnitSize(std::size_t i) const {
        return ParseEncoding(words_[i]) == TextEncoding::Utf16Le ? 2 : 1;
    }

private:
    const std::vector<std::string>& words_;
};

struct CommandShape {
    std::string_view name;
    std::size_t fieldCount;  // after the name, the text included
    bool hasText;
    std::function<std::string(const Fields&)> run;
};

const std::string kBadField = "a field is malformed";

std::string WithPathAndText(
    const Fields& f, std::size_t pathAt, std::size_t encodingAt,
    const std::function<std::string(const std::string&, const std::string&)>& action) {
    const auto path = f.Path(pathAt);
    const auto text = f.Text(encodingAt);
    if (!path || !text) return kBadField;
    return action(*path, *text);
}

std::string WithPath(const Fields& f,
                     const std::function<std::string(const std::string&)>& action) {
    const auto path = f.Path(1);
    if (!path) return kBadField;
    return action(*path);
}

std::string WithPathAndNumber(
    const Fields& f, int base,
    const std::function<std::string(const std::string&, std::uint64_t)>& action) {
    const auto path = f.Path(1);
    const auto number = f.Number(2, base);
    if (!path || !number) return kBadField;
    return action(*path, *number);
}

std::string RunPieces(const Fields& f) {
    const auto size = f.Number(3);
    const auto pause = f.Number(4);
    if (!size || !pause) return kBadField;
    return WithPathAndText(f, 2, 1, [&](const std::string& path, const std::string& text) {
        return AppendInPieces(path, text, *size, static_cast<unsigned>(*pause));
    });
}

std::string RunJunk(const Fields& f) {
    const auto seed = f.Number(3);
    if (!seed) return kBadField;
    return WithPathAndNumber(f, 10, [&](const std::string& path, std::uint64_t count) {
        return AppendJunk(path, count, static_cast<std::uint32_t>(*seed));
    });
}

std::string RunSleep(const Fields& f) {
    const auto ms = f.Number(1);
    if (!ms) return kBadField;
    Pause(static_cast<unsigned>(*ms));
    return {};
}

const std::vector<CommandShape>& Commands() {
    static const std::vector<CommandShape> commands{
        {"append", 3, true, [](const Fields& f) { return WithPathAndText(f, 2, 1, AppendBytes); }},
        {"pieces", 5, true, RunPieces},
        {"overwrite", 3, true,
         [](const Fields& f) {
             return WithPathAndText(f, 2, 1, [&](const std::string& p, const std::string& t) {
                 return OverwriteTrailingNuls(p, t, f.UnitSize(1));
             });
         }},
        {"replace", 3, true, [](const Fields& f) { return WithPathAndText(f, 2, 1, Replace); }},
        {"nuls", 2, false,
         [](const Fields& f) {
             return WithPathAndNumber(
                 f, 10, [](const std::string& p, std::uint64_t n) { return AppendNuls(p, n); });
         }},
        {"junk", 3, false, RunJunk},
        {"truncate", 1, false,
         [](const Fields& f) {
             return WithPath(f, [](const std::string& p) { return Truncate(p, 0); });
         }},
        {"cut", 2, false, [](const Fields& f) { return WithPathAndNumber(f, 10, Truncate); }},
        {"copytruncate", 1, false, [](const Fields& f) { return WithPath(f, CopyTruncate); }},
        {"rotate", 1, false, [](const Fields& f) { return WithPath(f, Rotate); }},
        {"delete", 1, false, [](const Fields& f) { return WithPath(f, Delete); }},
        {"create", 1, false, [](const Fields& f) { return WithPath(f, Create); }},
        {"mkdir", 1, false, [](const Fields& f) { return WithPath(f, MakeDirectory); }},
        {"chmod", 2, false,
         [](const Fields& f) {
             return WithPathAndNumber(f, 8, [](const std::string& p, std::uint64_t mode) {
                 return ChangeMode(p, static_cast<unsigned>(mode));
             });
         }},
        {"sleep", 1, false, RunSleep},
    };
    return commands;
}

const CommandShape* FindCommand(std::string_view name) {
    for (const CommandShape& shape : Commands()) {
        if (shape.name == name) return &shape;
    }
    return nullptr;
}

}  // namespace

std::vector<std::string> SplitScriptLine(std::string_view line) {
    const std::size_t nameEnd = std::min(line.find(' '), line.size());
    const CommandShape* shape = FindCommand(line.substr(0, nameEnd));
    if (shape == nullptr) return {};
    std::vector<std::string> words{std::string(line.substr(0, nameEnd))};
    std::size_t at = nameEnd;
    const std::size_t separated = shape->fieldCount - (shape->hasText ? 1 : 0);
    for (std::size_t i = 0; i < separated && at < line.size(); ++i) {
        const std::size_t start = at + 1;
        const std::size_t end = std::min(line.find(' ', start), line.size());
        words.emplace_back(line.substr(start, end - start));
        at = end;
    }
    if (shape->hasText && words.size() == shape->fieldCount) {
        words.emplace_back(at < line.size() ? line.substr(at + 1) : std::string_view{});
    }
    return words;
}

std::string RunCommand(const std::vector<std::string>& words) {
    if (words.empty()) return "no command";
    const CommandShape* shape = FindCommand(words.front());
    if (shape == nullptr) return "unknown command '" + words.front() + "'";
    if (words.size() != shape->fieldCount + 1) {
        return "'" + words.front() + "' takes " + std::to_string(shape->fieldCount) + " fields";
    }
    return shape->run(Fields(words));
}

}  // namespace testwriter
