#pragma once
// A number box whose arrows stay within the offered range while typing
// accepts a wider one, so that the dialog's own checks can refuse a typed
// value with its message instead of the box silently swallowing it.

#include <QSpinBox>

namespace app_ui {

class CStepRangeSpinBox : public QSpinBox {
    Q_OBJECT
public:
    // Arrows move within [stepMin, stepMax]; typing accepts [typedMin, typedMax].
    CStepRangeSpinBox(int typedMin, int typedMax, int stepMin, int stepMax,
                      QWidget* parent = nullptr);

    void stepBy(int steps) override;

protected:
    StepEnabled stepEnabled() const override;

private:
    int stepMin_;
    int stepMax_;
};

}  // namespace app_ui
