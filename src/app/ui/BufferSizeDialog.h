#pragma once
// "Buffer Size": whether each document's text is limited, the limit, and how
// many lines stay when it is hit. OK brings every document under the new
// limit at once and saves the buffer settings.

#include <QDialog>
#include <QString>

#include <cstdint>
#include <optional>

#include "app/OptionsApply.h"
#include "core/IUserInterface.h"

class QCheckBox;
class QComboBox;
class QLineEdit;
class QSpinBox;

namespace app {
class CTarvikApp;
}

namespace app_ui {

inline constexpr std::u16string_view kBufferSizeRefused =
    u"Invalid buffer size. The size must be greater than 0 and below 4 GB.";

class CBufferSizeDialog : public QDialog {
    Q_OBJECT
public:
    // The units of the size box, as item indexes of its unit list.
    enum Unit { Bytes = 0, Kilobytes = 1, Megabytes = 2 };

    CBufferSizeDialog(app::CTarvikApp& app, core::IUserInterface* ui, QWidget* parent = nullptr);

    // A typed size in bytes; nothing unless it is a whole number above 0
    // that fits the stored 32 bits.
    static std::optional<std::uint32_t> ParseSize(const QString& text, Unit unit);

    QCheckBox* LimitBox() const { return limit_; }
    QLineEdit* SizeEdit() const { return size_; }
    QComboBox* UnitBox() const { return unit_; }
    QSpinBox* RetainBox() const { return retain_; }

public slots:
    void accept() override;

private:
    void ShowSize(std::uint32_t bytes);
    void UpdateEnabledStates();
    std::optional<app::BufferLimit> ReadLimit() const;

    app::CTarvikApp& app_;
    core::IUserInterface* ui_;
    QCheckBox* limit_ = nullptr;
    QLineEdit* size_ = nullptr;
    QComboBox* unit_ = nullptr;
    QSpinBox* retain_ = nullptr;
};

}  // namespace app_ui
