// SPDX-License-Identifier: GPL-2.0-or-later
// SPDX-FileCopyrightText: 2026 Tarvola developers
#pragma once
// The natural size of a vector picture in 96-dpi pixels, checked against the limits.

#include "pictures/PictureErrors.h"

#include <QSize>

namespace pictures {

inline constexpr double kScreenDpi = 96.0;

// Rounds to whole pixels (at least one). Throws "no extent" for a zero, negative or
// non-finite size and "too large" beyond the limits for drawn pictures.
QSize naturalSize(double width, double height, const QString& name, Format format);

}  // namespace pictures
