#pragma once
// Pictures compiled into the program (":/..." paths).

#include <QImage>
#include <QString>

namespace core {

// Reads a compiled-in picture with Qt's reader told the format its suffix names: left to
// guess, the reader offers the picture to every image plugin installed, loading each, and the
// SVG and JPEG libraries behind them.
QImage readResourceImage(const QString& path);

}  // namespace core
