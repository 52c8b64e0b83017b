#pragma once
// Windows and enhanced metafiles are drawn by a program of their own beside this one
// (tarvola-metafile) under a time and a memory limit: the C libraries that parse them have a
// long history of hangs and crashes on hostile files, and a file that sends them astray must
// cost a refused picture, never the program. Their libraries (libwmf, libemf2svg, Qt SVG)
// then cost nothing at start-up either. The renderer is started on the first metafile and
// kept while it draws well; one that failed in any way is ended and replaced.

#include "core/Picture.h"
#include "pictures/PictureErrors.h"

#include <QByteArray>
#include <QString>
#include <chrono>

namespace pictures {

inline constexpr const char* kRendererProgram = "tarvola-metafile";

// Wall-clock time a metafile may take, from asking (and starting the renderer if need be)
// to the answer's last byte.
inline constexpr std::chrono::milliseconds kRenderTime{2000};

// Draws a metafile (format Wmf or Emf) at its natural size and at twice that size. Throws
// the renderer's own errors; tooLargeToDraw when it runs out of time or memory, corrupt
// when it crashes; err::kDllNotFound when the renderer program is missing or broken.
core::Picture renderMetafile(const QByteArray& data, Format format, const QString& name);

// How the loader draws a metafile: renderMetafile, unless replaced. A fuzzing build draws in
// its own process (renderMetafileHere), so that the fuzzer sees the parsers' branches.
using MetafileRenderer = core::Picture (*)(const QByteArray& data, Format format, const QString& name);
void setMetafileRenderer(MetafileRenderer renderer);
core::Picture drawMetafile(const QByteArray& data, Format format, const QString& name);

}  // namespace pictures
