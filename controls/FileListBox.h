// SPDX-License-Identifier: GPL-2.0-or-later
// SPDX-FileCopyrightText: 2026 Tarvola developers
#pragma once
// A file list box that the window carries hidden, for its place in the tab order: it is
// never shown, so it lists nothing and costs nothing at start-up.

#include <QWidget>

namespace ctl {

class FileListBox : public QWidget {
    Q_OBJECT
public:
    explicit FileListBox(QWidget* parent);
};

}  // namespace ctl
