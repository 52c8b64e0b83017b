// SPDX-License-Identifier: GPL-2.0-or-later
// SPDX-FileCopyrightText: 2026 Tarvola developers
#pragma once
// Little-endian fields of the Windows bitmap and icon headers.

#include <QByteArray>
#include <QtGlobal>

namespace assetgen {

inline void putU16(QByteArray& out, quint16 v) {
    out.append(char(v & 0xff));
    out.append(char(v >> 8));
}

inline void putU32(QByteArray& out, quint32 v) {
    putU16(out, quint16(v & 0xffff));
    putU16(out, quint16(v >> 16));
}

}  // namespace assetgen
