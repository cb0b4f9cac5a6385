#pragma once
// The import menu of a filter kind: "&From a File", the preset files (one
// item each, identifiers from 8000 in list order, or the grayed "No Items"),
// and "&Manage...". The owner connects the three requests; the preset items
// are rebuilt from the store each time the menu opens, so every menu of the
// kind shows the list as it is now.

#include <QMenu>
#include <QString>

#include "filters/ui/FilterFileUi.h"

namespace filters_ui {

class CFilterImportMenu : public QMenu {
    Q_OBJECT
public:
    CFilterImportMenu(const QString& title, FilterFileKind kind, QWidget* parent = nullptr);

    FilterFileKind Kind() const { return kind_; }
    // Refills the items between the two separators from the store.
    void Rebuild();

signals:
    void importFileRequested();
    void importPresetRequested(const QString& path);
    void manageRequested();

private:
    FilterFileKind kind_;
    QAction* firstSeparator_ = nullptr;
    QAction* secondSeparator_ = nullptr;
};

}  // namespace filters_ui
