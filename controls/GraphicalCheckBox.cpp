// SPDX-License-Identifier: GPL-2.0-or-later
// SPDX-FileCopyrightText: 2026 Tarvola developers
#include "controls/GraphicalCheckBox.h"

#include <QIcon>
#include <QPixmap>

namespace ctl {

GraphicalCheckBox::GraphicalCheckBox(QWidget* parent, const core::Picture& picture) : QPushButton(parent) {
    setCheckable(true);
    setFocusPolicy(Qt::TabFocus);
    QIcon icon;
    icon.addPixmap(QPixmap::fromImage(picture.image()));
    if (devicePixelRatioF() > 1.0 && !picture.doubleResImage().isNull())
        icon.addPixmap(QPixmap::fromImage(picture.doubleResImage()));
    setIcon(icon);
    setIconSize(picture.size());
    connect(this, &QPushButton::clicked, this, [this](bool checked) {
        value_ = checked ? 1 : 0;
        Q_EMIT Click();
    });
}

}  // namespace ctl

#include "moc_GraphicalCheckBox.cpp"
