#pragma once
// A short tour of the program shown at start-up until the user turns it off.
// It remembers the page it was left on and starts there next time.

#include <QDialog>
#include <QStringList>

class QCheckBox;
class QLabel;
class QPushButton;

namespace app_ui {

class CFirstRunTour : public QDialog {
    Q_OBJECT
public:
    // Opens at the stored page (the first when the stored one does not exist).
    explicit CFirstRunTour(QWidget* parent = nullptr);

    // True when the profile asks for the tour.
    static bool Wanted();

    int Page() const { return page_; }
    int PageCount() const { return static_cast<int>(pages_.size()); }
    void ShowPage(int page);

protected:
    // Closing in any way stores the page and the start-up choice.
    void done(int result) override;

private:
    QStringList pages_;
    int page_ = 0;
    QLabel* text_ = nullptr;
    QCheckBox* showAtStart_ = nullptr;
    QPushButton* back_ = nullptr;
    QPushButton* next_ = nullptr;
};

}  // namespace app_ui
