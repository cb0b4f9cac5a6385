#include "app/OptionsApply.h"

#include <algorithm>

#include "app/LogAssociation.h"
#include "app/TarvikApp.h"
#include "core/ILogView.h"
#include "settings/OptionsStore.h"

namespace app {

namespace {

bool IsBlank(char16_t ch) {
    return ch == u' ' || ch == u'\t';
}

std::u16string_view TrimBlanks(std::u16string_view text) {
    while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
    return text;
}

void TakeStartupValues(settings::Options& o, const settings::Options& e) {
    o.OnlyOneInstance = e.OnlyOneInstance;
    o.ClearWndWhenOpenFile = e.ClearWndWhenOpenFile;
    o.OpenFilesWhenStartup = e.OpenFilesWhenStartup;
    // Values of a switched-off reopening are kept for when it comes back on.
    if (!o.OpenFilesWhenStartup) return;
    o.OpenFilesNumberWhenStartup = e.OpenFilesNumberWhenStartup;
    o.ArrangeReopenedFile = e.ArrangeReopenedFile;
    o.ClearWndWhenOpenFileOnStartUp = e.ClearWndWhenOpenFileOnStartUp;
}

void TakeTabTextLimit(settings::Options& o, const settings::Options& e,
                      OptionsApplyEffects& effects) {
    const bool switched = o.EnableMaxTabItemLen != e.EnableMaxTabItemLen;
    o.EnableMaxTabItemLen = e.EnableMaxTabItemLen;
    if (!o.EnableMaxTabItemLen) {
        effects.rebuildTabTexts = switched;
        return;
    }
    const bool lengthChanged = o.MaxTabItemLen != e.MaxTabItemLen;
    o.MaxTabItemLen = e.MaxTabItemLen;
    effects.rebuildTabTexts = switched || lengthChanged;
}

void TakeTrayAndFlashing(settings::Options& o, const settings::Options& e,
                         OptionsApplyEffects& effects) {
    o.MinimizeEsc = e.MinimizeEsc;
    o.MinimizeWndMin = e.MinimizeWndMin;
    o.BlinkIcon = e.BlinkIcon;
    o.WatchFileEvents = e.WatchFileEvents;
    if (o.FlashTabItem == e.FlashTabItem) return;
    o.FlashTabItem = e.FlashTabItem;
    effects.stopTabFlashing = true;
}

void TakeRedLine(CTarvikApp& app, const settings::Options& e) {
    settings::Options& o = app.GetOptions();
    const bool drawBefore = o.DrawRedLine;
    const bool removeBefore = o.RemovePreRedLine;
    o.DrawRedLine = e.DrawRedLine;
    // The one-red-line choice is greyed out, and so not taken, without red lines.
    if (o.DrawRedLine) o.RemovePreRedLine = e.RemovePreRedLine;
    app.TidyRedLinesAfterOptionChange(drawBefore, removeBefore);
}

void TakeFrameValues(CTarvikApp& app, const settings::Options& e, OptionsApplyEffects& effects) {
    settings::Options& o = app.GetOptions();
    if (o.EnableHotkey != e.EnableHotkey) {
        o.EnableHotkey = e.EnableHotkey;
        effects.hotKey = o.EnableHotkey;
    }
    if (o.DisplayFullPath != e.DisplayFullPath) {
        o.DisplayFullPath = e.DisplayFullPath;
        for (const auto& doc : app.Documents()) doc->SetTitle();
        effects.updateFrameTitles = true;
    }
    if (o.StatusbarClock != e.StatusbarClock) {
        o.StatusbarClock = e.StatusbarClock;
        effects.clockPane = o.StatusbarClock;
    }
}

void RepaintAllViews(const CTarvikApp& app) {
    for (const auto& doc : app.Documents()) {
        if (core::ILogView* view = doc->GetView()) view->Invalidate();
    }
}

void TakeViewValues(CTarvikApp& app, const settings::Options& e, OptionsApplyEffects& effects) {
    settings::Options& o = app.GetOptions();
    if (o.TabSize != e.TabSize) {
        o.TabSize = e.TabSize;
        effects.viewsTakeTabSize = true;
    }
    if (o.InvertColorSelText != e.InvertColorSelText) {
        o.InvertColorSelText = e.InvertColorSelText;
        RepaintAllViews(app);
    }
    if (o.MouseWheelScrollLines != e.MouseWheelScrollLines ||
        o.MouseWheelScrollColumns != e.MouseWheelScrollColumns) {
        o.MouseWheelScrollLines = e.MouseWheelScrollLines;
        o.MouseWheelScrollColumns = e.MouseWheelScrollColumns;
        effects.viewsTakeWheelValues = true;
    }
}

void TakeFollowAndSelection(settings::Options& o, const settings::Options& e) {
    o.ForcePoll = e.ForcePoll;
    o.StopPollWhenVScrollUp = e.StopPollWhenVScrollUp;
    o.StopPollWhenHScrollRight = e.StopPollWhenHScrollRight;
    o.StopPollWhenMoveCaretNotAtEnd = e.StopPollWhenMoveCaretNotAtEnd;
    o.AutoCopy = e.AutoCopy;
    o.SpecialSelect = e.SpecialSelect;
    o.LeftBounds = e.LeftBounds;
    o.RightBounds = e.RightBounds;
    o.AutoMonitor = e.AutoMonitor;
}

void TakeCaptureFile(settings::Options& o, const settings::Options& e,
                     OptionsApplyEffects& effects) {
    const bool switched = o.SaveOutputDebugString2File != e.SaveOutputDebugString2File;
    // File names are case-sensitive: a path changed only in case names another file.
    const bool pathChanged = o.OutputDebugStringSavedFile != e.OutputDebugStringSavedFile;
    if (switched || (o.SaveOutputDebugString2File && pathChanged)) {
        o.SaveOutputDebugString2File = e.SaveOutputDebugString2File;
        o.OutputDebugStringSavedFile = e.OutputDebugStringSavedFile;
        effects.reopenCaptureFile = true;
    } else if (!o.SaveOutputDebugString2File) {
        o.OutputDebugStringSavedFile = e.OutputDebugStringSavedFile;
    }
}

// A different way of turning file bytes into shown text needs every
// document read again.
void TakeTextDecoding(CTarvikApp& app, const settings::Options& e) {
    settings::Options& o = app.GetOptions();
    o.CaptureODSStartup = e.CaptureODSStartup;
    if (o.ShowSpaceForBadChar == e.ShowSpaceForBadChar && o.TextEncoding == e.TextEncoding) return;
    o.ShowSpaceForBadChar = e.ShowSpaceForBadChar;
    o.TextEncoding = e.TextEncoding;
    app.ReloadAllDocuments();
}

}  // namespace

std::optional<OptionsDialogRefusal> CheckOptionsDialog(const settings::Options& edited) {
    if (edited.OpenFilesNumberWhenStartup <= 0) {
        return OptionsDialogRefusal{OptionsDialogField::ReopenCount, kReopenCountRefused};
    }
    if (edited.MaxTabItemLen <= 0) {
        return OptionsDialogRefusal{OptionsDialogField::MaxTabTextLength, kMaxTabTextLengthRefused};
    }
    if (edited.TabSize < 1 || edited.TabSize > settings::kMaxTabSize) {
        return OptionsDialogRefusal{OptionsDialogField::TabSize, kTabSizeRefused};
    }
    if (edited.SaveOutputDebugString2File &&
        TrimBlanks(edited.OutputDebugStringSavedFile).empty()) {
        return OptionsDialogRefusal{OptionsDialogField::CaptureFile, kCaptureFileRefused};
    }
    return std::nullopt;
}

void NormalizeOptionsDialog(settings::Options& edited) {
    edited.OutputDebugStringSavedFile =
        std::u16string(TrimBlanks(edited.OutputDebugStringSavedFile));
    edited.MouseWheelScrollLines = std::max(0, edited.MouseWheelScrollLines);
    edited.MouseWheelScrollColumns = std::max(0, edited.MouseWheelScrollColumns);
}

OptionsApplyEffects ApplyOptionsDialog(CTarvikApp& app, const OptionsDialogResult& result) {
    OptionsApplyEffects effects;
    const settings::Options& edited = result.options;
    settings::Options& options = app.GetOptions();
    // The association is no option: it changes only when the user changed the box.
    if (result.associateLogFiles != result.associationShown) {
        effects.associateLogFiles = result.associateLogFiles;
        ChangeLogAssociation(result.associateLogFiles, app.UserInterface());
    }
    TakeStartupValues(options, edited);
    TakeTabTextLimit(options, edited, effects);
    TakeTrayAndFlashing(options, edited, effects);
    TakeRedLine(app, edited);
    TakeFrameValues(app, edited, effects);
    TakeViewValues(app, edited, effects);
    TakeFollowAndSelection(options, edited);
    TakeCaptureFile(options, edited, effects);
    TakeTextDecoding(app, edited);
    app.SaveOptions(settings::option_group::kOptionsDialog, false, nullptr);
    return effects;
}

BufferLimit BufferLimitOf(const settings::Options& options) {
    return {options.LimitBufSize, options.MaxBufSiz, options.RetainLineNum};
}

void ApplyBufferLimit(CTarvikApp& app, const BufferLimit& limit) {
    settings::Options& options = app.GetOptions();
    options.LimitBufSize = limit.limit;
    options.MaxBufSiz = limit.maxBytes;
    options.RetainLineNum = std::max(0, limit.retainLines);
    for (const auto& doc : app.Documents()) doc->EnforceBufferLimit();
    app.SaveOptions(settings::option_group::kBuffer, false, nullptr);
}

}  // namespace app
