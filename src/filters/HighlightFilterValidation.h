#pragma once
// The checks made when the highlight filter dialog is confirmed: every row
// from the top, each in a fixed order, the first failure naming the row, the
// message and the field that should take the focus.

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "filters/HighlightFilter.h"
#include "filters/HighlightFilterTakeOver.h"

namespace filters {

inline constexpr std::u16string_view kEmptyHighlightPhraseMessage =
    u"Please enter highlight phrase.";
inline constexpr std::u16string_view kEmptyShowAsMessage = u"Please enter text for showing.";
inline constexpr std::u16string_view kNoProgramMessage = u"Please choose a program.";
inline constexpr std::u16string_view kNoFileMessage = u"Please choose a file.";
inline constexpr std::u16string_view kFileNotWritableMessage =
    u"Failed to create or open file \"%s\".";
inline constexpr std::u16string_view kNoEmailMessage = u"Please enter email address.";

// The field of a row that a failed check points at.
enum class HighlightField { Phrase, ShowAsText, Program, WrittenFile, Emails, AvailableFile };

struct HighlightRowProblem {
    std::size_t row = 0;
    std::u16string message;
    HighlightField field = HighlightField::Phrase;
};

// Opens the file for writing (creating it when missing) and closes it again.
using WritableFileCheck = std::function<bool(std::u16string_view path)>;
// The check on the real file system.
bool CanWriteFile(std::u16string_view path);

// Removes white space from both ends of text.
void TrimWhiteSpace(std::u16string& text);
// Makes the written file's path absolute and normal. A text with white space
// at either end is left for OK to trim first: made absolute as it stands,
// its spaces would become part of a file name.
void NormalizeWrittenFile(std::u16string& path);

// Trims leading and trailing white space from Emails, ExecutableProgram,
// WrittenFile and AvailableFile; the phrase and the "Show as" text keep
// theirs. WrittenFile is then made absolute and normal.
void TrimActionTexts(HighlightFilter& filter);

// The first problem of one filter, or none.
std::optional<HighlightRowProblem> FindHighlightFilterProblem(const HighlightFilter& filter,
                                                              const WritableFileCheck& canWrite);

// Trims the action texts of every row still in the list (removed rows are
// left alone), then finds the first row, from the top, that fails a check.
// Rows are counted as the list shows them: removed rows do not count.
std::optional<HighlightRowProblem> FindHighlightRowProblem(
    std::vector<HighlightFilterEdit>& rows, const WritableFileCheck& canWrite = CanWriteFile);

}  // namespace filters
