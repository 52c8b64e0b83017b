#pragma once
// Pictures compiled into the program (":/..." paths). The bitmaps the windows show first
// can be read ahead on a second thread while the program starts, before the application
// object exists: they are read by the program's own decoder, not by Qt's reader.

#include <QImage>
#include <QString>

#include <functional>
#include <span>

namespace ctl {

// Reads a compiled-in picture: a 24-bit bitmap by the program's own decoder, anything else
// by Qt's reader told the format its suffix names (left to guess, it offers the format to
// every image plugin installed, loading each, and the SVG and JPEG libraries behind them).
// A picture being read ahead is taken from there, once.
QImage readResourceImage(const QString& path);

// Who may read a picture read ahead: the program's own decoder alone, which is safe before
// the application object exists, or Qt's reader too, which is not.
enum class ReadAheadBy { OwnDecoder, AnyReader };

// Registers pictures to read ahead, so that readResourceImage waits for them rather than
// reading them twice, and gives the work that reads them in order, for another thread.
// Should the work never run, or the own decoder not know a picture, readResourceImage
// reads it itself.
std::function<void()> readAheadResourceImages(std::span<const char* const> paths, ReadAheadBy by);

// Forgets the pictures read ahead that nobody asked for.
void dropReadAheadResourceImages();

}  // namespace ctl
