// SPDX-License-Identifier: GPL-2.0-or-later
// SPDX-FileCopyrightText: 2026 Tarvola developers
#include "platform/MessageBox.h"

#include <QMessageBox>

namespace platform {

namespace {
MessageBoxHook& messageBoxHook() {
    static MessageBoxHook h;
    return h;
}
}  // namespace

QString defaultMessageBoxTitle() { return QStringLiteral("Tarvola"); }

void setMessageBoxHook(MessageBoxHook h) { messageBoxHook() = std::move(h); }

void messageBox(QWidget* owner, const MessageBoxRequest& request) {
    if (messageBoxHook()) {
        messageBoxHook()(request);
        return;
    }
    QMessageBox box(request.icon == MessageIcon::Critical ? QMessageBox::Critical : QMessageBox::NoIcon,
                    request.title.isEmpty() ? defaultMessageBoxTitle() : request.title, request.text, QMessageBox::Ok,
                    owner);
    box.exec();
}

}  // namespace platform
