#pragma once
// What the Find and Replace dialogs remember between uses, and the requests
// they hand to the view. Each dialog keeps its own fields in the store, so a
// search typed in one does not overwrite the other.

#include <QMetaType>
#include <QString>

#include <string>

namespace view {

struct FindRequest {
    QString text;
    bool matchCase = false;
    bool wholeWord = false;
    bool regularExpression = false;
    bool down = true;
};

struct ReplaceRequest {
    FindRequest find;
    QString replaceWith;
};

enum class SearchDialogKind { Find, Replace };

struct SearchSettings {
    std::u16string findWhat;
    std::u16string replaceWith;  // kept by the Replace dialog only
    bool matchCase = false;
    bool wholeWord = false;

    // The store key of a dialog's fields, below the current user's root.
    static std::u16string KeyPath(SearchDialogKind kind);

    // Missing or unreadable values keep their defaults.
    static SearchSettings Load(SearchDialogKind kind);
    // Writes the fields as one group; false when the store refused them.
    bool Save(SearchDialogKind kind) const;

    bool operator==(const SearchSettings&) const = default;
};

}  // namespace view

Q_DECLARE_METATYPE(view::FindRequest)
Q_DECLARE_METATYPE(view::ReplaceRequest)
