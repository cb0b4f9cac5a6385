#pragma once
// The commands the log view handles, by their command identifiers.

namespace view {

enum ViewCommandId : int {
    kCmdNextHighlight = 32817,      // "Next H&ighlight\tF4"
    kCmdPreviousHighlight = 32819,  // "Previous &Highlight\tShift+F4"
    kCmdNextRedLine = 40096,        // "&Next Red Line\tF12"
    kCmdPreviousRedLine = 40095,    // "&Previous Red Line\tShift+F12"
    kCmdClearRedLines = 40097,      // "Clear All &Red Lines\tCtrl+Shift+F12"
    kCmdGoToLine = 40129,           // "&Go to Line\tCtrl+M"
    kCmdGoToEndMenu = 40113,        // "Go to End\tCtrl+End"
    kCmdGoToEnd = 37124,            // the Ctrl+End accelerator
    kCmdToggleBookmark = 37223,     // "Toggle &Bookmark\tCtrl+F2"
    kCmdNextBookmark = 37224,       // "Ne&xt Bookmark\tF2"
    kCmdPreviousBookmark = 37225,   // "Previous Boo&kmark\tShift+F2"
    kCmdClearBookmarks = 37226,     // "Clear All Book&marks\tCtrl+Shift+F2"
    kCmdToggleNumbered0 = 37200,    // ..37209, "Bookmark &0\tCtrl+0"
    kCmdJumpNumbered0 = 37210,      // ..37219, "Bookmark &0\tAlt+0"
    kCmdClearNumbered = 37220,      // "Clear &All Numeric Bookmarks"
    kCmdEditClear = 57632,          // "&Delete"
    kCmdEditCopy = 57634,
    kCmdEditCut = 57635,
    kCmdEditFind = 57636,
    kCmdEditPaste = 57637,
    kCmdEditRepeat = 57638,
    kCmdEditRepeatBackward = 37230,  // Shift+F3: the last find, the other way
    kCmdEditReplace = 57641,
    kCmdEditSelectAll = 57642,
    kCmdEditUndo = 57643,
    kCmdEditRedo = 57644,
    kCmdFilePrint = 57607,
    kCmdFilePrintPreview = 57609,
};

}  // namespace view
