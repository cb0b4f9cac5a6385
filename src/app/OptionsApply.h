#pragma once
// Confirming the option dialogs: the checks the Options dialog runs on OK,
// and how the confirmed values reach the application, its documents and
// the settings store. What only the main frame can do (tabs, tray, hot key,
// status bar, the views' settings) comes back as effects for it to act on.

#include <cstdint>
#include <optional>
#include <string_view>

#include "settings/Options.h"

namespace app {

class CTarvikApp;

// The Options dialog's fields that its checks can refuse, in check order.
enum class OptionsDialogField { ReopenCount, MaxTabTextLength, TabSize, CaptureFile };

struct OptionsDialogRefusal {
    OptionsDialogField field;
    std::u16string_view message;
};

inline constexpr std::u16string_view kReopenCountRefused =
    u"Invalid files number. It should be greater than 0.";
inline constexpr std::u16string_view kMaxTabTextLengthRefused =
    u"Invalid length of tab text. The number must be greater than 0.";
inline constexpr std::u16string_view kTabSizeRefused =
    u"Invalid tab size number. The valid number is between 1 and 64.";
inline constexpr std::u16string_view kCaptureFileRefused =
    u"Please set a file for the output of \"Capture OutputDebugString\".";

// The first failing check, in the dialog's order; nothing when all pass.
// The reopen count and tab text length are checked even while the options
// they belong to are off, since their values are stored all the same.
std::optional<OptionsDialogRefusal> CheckOptionsDialog(const settings::Options& edited);

// After the checks passed: the capture file name loses its surrounding
// blanks and negative wheel values become 0.
void NormalizeOptionsDialog(settings::Options& edited);

// What the user confirmed in the Options dialog.
struct OptionsDialogResult {
    settings::Options options;
    // The association box as shown at opening and as confirmed.
    bool associationShown = false;
    bool associateLogFiles = false;
};

// The apply steps the main frame carries out after ApplyOptionsDialog,
// in the order listed.
struct OptionsApplyEffects {
    // The association box changed and .log files were associated (true)
    // or the association removed (false), a failure reported.
    std::optional<bool> associateLogFiles;
    // The tab-text limit was switched, or its length changed while on.
    bool rebuildTabTexts = false;
    // FlashTabItem changed.
    bool stopTabFlashing = false;
    // EnableHotkey changed: register (true) or unregister (false).
    std::optional<bool> hotKey;
    // DisplayFullPath changed: the frames show the documents' new titles.
    bool updateFrameTitles = false;
    // StatusbarClock changed: start (true) or stop (false) the clock pane.
    std::optional<bool> clockPane;
    // Every view takes TabSize, or both mouse-wheel values.
    bool viewsTakeTabSize = false;
    bool viewsTakeWheelValues = false;
    // The capture's output file is to be reopened with the new settings.
    bool reopenCaptureFile = false;

    bool operator==(const OptionsApplyEffects&) const = default;
};

// Takes the confirmed values into the application's options step by step,
// acts on the documents (red lines, titles, repaint, reload), saves the
// Options dialog group and returns what is left for the main frame.
OptionsApplyEffects ApplyOptionsDialog(CTarvikApp& app, const OptionsDialogResult& result);

// The Buffer Size dialog's values.
struct BufferLimit {
    bool limit = true;
    std::uint32_t maxBytes = 0;
    std::int32_t retainLines = 0;

    bool operator==(const BufferLimit&) const = default;
};

BufferLimit BufferLimitOf(const settings::Options& options);

// Takes the limit, brings every document under it at once and saves the
// buffer group.
void ApplyBufferLimit(CTarvikApp& app, const BufferLimit& limit);

}  // namespace app
