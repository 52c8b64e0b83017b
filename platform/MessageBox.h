// SPDX-License-Identifier: GPL-2.0-or-later
// SPDX-FileCopyrightText: 2026 Tarvola developers
#pragma once
// Message boxes, behind one function so that tests can answer them.

#include <QString>
#include <functional>

class QWidget;

namespace platform {

enum class MessageIcon { None, Critical };

struct MessageBoxRequest {
    QString text;
    QString title;
    MessageIcon icon = MessageIcon::None;
};

// The title used where the program gives none.
QString defaultMessageBoxTitle();

// Shows a modal message box with an OK button only and returns when it is closed.
void messageBox(QWidget* owner, const MessageBoxRequest& request);

// Tests replace the modal box: the hook receives the request instead. An empty hook restores it.
using MessageBoxHook = std::function<void(const MessageBoxRequest&)>;
void setMessageBoxHook(MessageBoxHook hook);

}  // namespace platform
