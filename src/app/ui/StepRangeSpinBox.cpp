#include "app/ui/StepRangeSpinBox.h"

#include <algorithm>

namespace app_ui {

CStepRangeSpinBox::CStepRangeSpinBox(int typedMin, int typedMax, int stepMin, int stepMax,
                                     QWidget* parent)
    : QSpinBox(parent), stepMin_(stepMin), stepMax_(stepMax) {
    setRange(std::min(typedMin, stepMin), std::max(typedMax, stepMax));
}

void CStepRangeSpinBox::stepBy(int steps) {
    const long long target = static_cast<long long>(value()) + steps;
    setValue(static_cast<int>(std::clamp<long long>(target, stepMin_, stepMax_)));
    selectAll();
}

QAbstractSpinBox::StepEnabled CStepRangeSpinBox::stepEnabled() const {
    StepEnabled enabled = StepNone;
    if (value() > stepMin_) enabled |= StepDownEnabled;
    if (value() < stepMax_) enabled |= StepUpEnabled;
    return enabled;
}

}  // namespace app_ui
