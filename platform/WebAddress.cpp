// SPDX-License-Identifier: GPL-2.0-or-later
// SPDX-FileCopyrightText: 2026 Tarvola developers
#include "platform/WebAddress.h"

#include <QDesktopServices>

#include <algorithm>

namespace platform {

namespace {

WebOpenerHook& webOpenerHook() {
    static WebOpenerHook h;
    return h;
}

bool hasBlankOrControl(const QString& text) {
    return std::any_of(text.cbegin(), text.cend(), [](QChar c) {
        return c.isSpace() || c.category() == QChar::Other_Control || c.category() == QChar::Other_Format;
    });
}

}  // namespace

QUrl parseWebAddress(const QString& address) {
    // StrictMode leaves stray characters alone instead of repairing them, and a
    // repaired address is not the one the maker gave.
    if (address.isEmpty() || hasBlankOrControl(address))
        return {};
    const QUrl url(address, QUrl::StrictMode);
    if (!url.isValid() || url.isRelative())
        return {};
    const QString scheme = url.scheme();  // QUrl keeps schemes in lower case
    if (scheme != QLatin1String("http") && scheme != QLatin1String("https"))
        return {};
    if (url.host().isEmpty())
        return {};
    return url;
}

void setWebOpenerHook(WebOpenerHook h) { webOpenerHook() = std::move(h); }

bool openWebAddress(const QString& address, QWidget* owner) {
    const QUrl url = parseWebAddress(address);
    if (!url.isValid())
        return false;
    if (webOpenerHook())
        webOpenerHook()(url, owner);
    else
        QDesktopServices::openUrl(url);  // the desktop reports its own failures
    return true;
}

}  // namespace platform
