// SPDX-License-Identifier: GPL-2.0-or-later
// SPDX-FileCopyrightText: 2026 Tarvola developers
#pragma once
// Handing a web address to the desktop, which opens it in the user's browser.

#include <QString>
#include <QUrl>
#include <functional>

class QWidget;

namespace platform {

// The address as a web address the desktop may open: a well-formed http or
// https URL with a host, or an invalid QUrl for anything else (a file path, a
// command line, other schemes, blanks inside, an empty text).
QUrl parseWebAddress(const QString& address);

// Hands the address to the desktop when parseWebAddress accepts it, and returns
// whether it did. Anything else is dropped without a word, so whatever text the
// maker's library returns can never start a program. Whether the desktop then
// manages to open it is not known here.
bool openWebAddress(const QString& address, QWidget* owner);

// Tests replace the desktop: the hook receives the accepted address and the
// owner instead. An empty hook restores the desktop.
using WebOpenerHook = std::function<void(const QUrl& url, QWidget* owner)>;
void setWebOpenerHook(WebOpenerHook hook);

}  // namespace platform
