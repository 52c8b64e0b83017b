// SPDX-License-Identifier: GPL-2.0-or-later
// SPDX-FileCopyrightText: 2026 Tarvola developers
#include "controls/FileListBox.h"

namespace ctl {

FileListBox::FileListBox(QWidget* parent) : QWidget(parent) {
    setFocusPolicy(Qt::StrongFocus);
    hide();
}

}  // namespace ctl

#include "moc_FileListBox.cpp"
