// SPDX-License-Identifier: GPL-2.0-or-later
// SPDX-FileCopyrightText: 2026 Tarvola developers
#pragma once
// A check box of the graphical style: a push button showing a picture that stays
// down while checked. Value is 0 (unchecked) or 1 (checked); only the user changes it.

#include "core/Picture.h"

#include <QPushButton>
#include <cstdint>

namespace ctl {

class GraphicalCheckBox : public QPushButton {
    Q_OBJECT
public:
    GraphicalCheckBox(QWidget* parent, const core::Picture& picture);

    std::int16_t Value() const { return value_; }

Q_SIGNALS:
    // The user toggled the box; Value already holds the new state.
    void Click();

private:
    std::int16_t value_ = 0;
};

}  // namespace ctl
