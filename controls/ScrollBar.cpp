#include "controls/ScrollBar.h"

#include "core/RuntimeError.h"

namespace ctl {

HScrollBar::HScrollBar(QWidget* parent, int min, int max, int value) : QScrollBar(Qt::Horizontal, parent) {
    setRange(min, max);
    setSingleStep(1);
    setPageStep(1);
    setValue(value);
    // A drag of the thumb reports its value once, when the thumb is released.
    setTracking(false);
    connect(this, &QScrollBar::valueChanged, this, [this] {
        if (!settingByCode_)
            Q_EMIT Change();
    });
}

void HScrollBar::setValueChecked(int v) {
    if (v < minimum() || v > maximum())
        throw core::RuntimeError(core::err::kInvalidPropertyValue, QStringLiteral("プロパティの値が不正です。"));
    settingByCode_ = true;
    setValue(v);
    settingByCode_ = false;
    Q_EMIT Change();
}

}  // namespace ctl
