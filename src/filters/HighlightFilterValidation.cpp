#include "filters/HighlightFilterValidation.h"

#include "filters/ExpressionValidation.h"
#include "platform/CodePage.h"
#include "platform/NormalPath.h"
#include "platform/WriteAccess.h"

namespace filters {

namespace {

constexpr std::u16string_view kWhiteSpace = u" \t\r\n\v\f\u00A0\u3000";

std::u16string WithPath(std::u16string_view format, std::u16string_view path) {
    std::u16string message(format);
    message.replace(message.find(u"%s"), 2, path);
    return message;
}

HighlightRowProblem Problem(std::u16string_view message, HighlightField field) {
    return {0, std::u16string(message), field};
}

}  // namespace

void TrimWhiteSpace(std::u16string& text) {
    const std::size_t first = text.find_first_not_of(kWhiteSpace);
    if (first == std::u16string::npos) {
        text.clear();
        return;
    }
    text.erase(text.find_last_not_of(kWhiteSpace) + 1);
    text.erase(0, first);
}

void NormalizeWrittenFile(std::u16string& path) {
    if (path.empty() || kWhiteSpace.find(path.front()) != std::u16string_view::npos ||
        kWhiteSpace.find(path.back()) != std::u16string_view::npos) {
        return;
    }
    path = platform::NormalPath(path);
}

bool CanWriteFile(std::u16string_view path) {
    return platform::OpenOrCreateForWriting(platform::Utf16ToUtf8(path));
}

void TrimActionTexts(HighlightFilter& filter) {
    TrimWhiteSpace(filter.Emails);
    TrimWhiteSpace(filter.ExecutableProgram);
    TrimWhiteSpace(filter.WrittenFile);
    NormalizeWrittenFile(filter.WrittenFile);
    std::u16string available = filter.AvailableFile;
    TrimWhiteSpace(available);
    if (available != filter.AvailableFile) filter.SetAvailableFile(available);
}

std::optional<HighlightRowProblem> FindHighlightFilterProblem(const HighlightFilter& filter,
                                                              const WritableFileCheck& canWrite) {
    const FilterPhrase& phrase = filter.phrase;
    if (phrase.text.empty()) return Problem(kEmptyHighlightPhraseMessage, HighlightField::Phrase);
    if (phrase.regularExpression && !IsSupportedExpression(phrase.text, phrase.matchCase)) {
        return Problem(UnsupportedExpressionMessage(phrase.text), HighlightField::Phrase);
    }
    if (filter.ReplaceWith && filter.ReplaceText.empty()) {
        return Problem(kEmptyShowAsMessage, HighlightField::ShowAsText);
    }
    if (filter.ExecuteProgram && filter.ExecutableProgram.empty()) {
        return Problem(kNoProgramMessage, HighlightField::Program);
    }
    if (filter.WriteFile) {
        if (filter.WrittenFile.empty()) return Problem(kNoFileMessage, HighlightField::WrittenFile);
        if (!canWrite || !canWrite(filter.WrittenFile)) {
            return Problem(WithPath(kFileNotWritableMessage, filter.WrittenFile),
                           HighlightField::WrittenFile);
        }
    }
    if (filter.SendEmail && filter.Emails.empty()) {
        return Problem(kNoEmailMessage, HighlightField::Emails);
    }
    if (filter.ActionsOnlyAvailableInSpecialFile && filter.AvailableFile.empty()) {
        return Problem(kNoFileMessage, HighlightField::AvailableFile);
    }
    return std::nullopt;
}

std::optional<HighlightRowProblem> FindHighlightRowProblem(std::vector<HighlightFilterEdit>& rows,
                                                           const WritableFileCheck& canWrite) {
    std::size_t shown = 0;
    for (HighlightFilterEdit& row : rows) {
        if (row.changeMark == HighlightChangeMark::Removed) continue;
        TrimActionTexts(row.filter);
        if (auto problem = FindHighlightFilterProblem(row.filter, canWrite)) {
            problem->row = shown;
            return problem;
        }
        ++shown;
    }
    return std::nullopt;
}

}  // namespace filters
