// SPDX-License-Identifier: GPL-2.0-or-later
// SPDX-FileCopyrightText: 2026 Tarvola developers
// Checked on every input, read as UTF-8 text:
//  1. An address is handed to the desktop exactly when it is accepted, once.
//  2. An accepted address is http or https, has a host, and holds no blank or
//     control character.

#include "platform/WebAddress.h"

#include <QString>
#include <QUrl>

#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {

void require(bool condition, const char* what) {
    if (!condition) {
        std::fprintf(stderr, "webaddress: %s\n", what);
        std::abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QString address = QString::fromUtf8(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));

    int handedOn = 0;
    QUrl seen;
    platform::setWebOpenerHook([&](const QUrl& url, QWidget*) {
        ++handedOn;
        seen = url;
    });
    const QUrl accepted = platform::parseWebAddress(address);
    const bool opened = platform::openWebAddress(address, nullptr);
    platform::setWebOpenerHook({});

    require(opened == accepted.isValid(), "opened differs from accepted");
    require(handedOn == (opened ? 1 : 0), "handed on a wrong number of times");
    if (!opened)
        return 0;
    require(seen == accepted, "handed on another address");
    require(accepted.scheme() == u"http" || accepted.scheme() == u"https", "scheme is not http or https");
    require(!accepted.host().isEmpty(), "no host");
    for (const QChar c : address)
        require(!c.isSpace() && c.category() != QChar::Other_Control, "blank or control character accepted");
    return 0;
}
