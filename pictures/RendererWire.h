// SPDX-License-Identifier: GPL-2.0-or-later
// SPDX-FileCopyrightText: 2026 Tarvola developers
#pragma once
// What the renderer program hands back on its standard output: the picture as raw pixels (no
// encoding to pay for on either side), or the error the renderer raised. Both ends are this
// program's own, but the parent reads the child's output as untrusted: a renderer that went
// wrong may have written anything.
//
// An answer is its length (64-bit little-endian), then either "TVMP" and the base and the
// double-resolution image, each as width, height and QImage format (32-bit little-endian)
// followed by its rows of 4-byte pixels (an absent image has width and height 0), or "TVME",
// the error's number and its description's length (32-bit little-endian) and the description
// in UTF-8.

#include "core/Picture.h"
#include "core/RuntimeError.h"
#include "pictures/PictureErrors.h"

#include <QByteArrayView>
#include <QString>
#include <functional>

namespace pictures {

// Hands bytes on; false when they could not be.
using WireWrite = std::function<bool(QByteArrayView bytes)>;
// Fills `count` bytes, or throws the error that explains why they did not come.
using WireRead = std::function<void(char* into, qsizetype count)>;

// What a request starts with: the name to show in descriptions (32-bit little-endian length, UTF-8)
// and the length of the picture file's bytes (64-bit), which follow.
QByteArray requestHead(const QString& name, std::uint64_t dataBytes);

bool writeRendered(const core::Picture& picture, const WireWrite& write);
bool writeRenderError(const core::RuntimeError& error, const WireWrite& write);

// Reads one answer: the picture, or throws the error that was handed back. An answer that is
// neither (cut short, longer than a picture may be, images beyond the limits, anything else)
// throws corrupt(name, format) as soon as that shows, before its pixels are taken. The pixels
// are read straight into the images, so an answer costs no more memory than its picture.
core::Picture readRendered(const WireRead& read, const QString& name, Format format);

}  // namespace pictures
