// SPDX-License-Identifier: GPL-2.0-or-later
// SPDX-FileCopyrightText: 2026 Tarvola developers
#pragma once
// Every picture is read by a program of its own beside this one (tarvola-metafile) under a
// processor-time and a memory limit: the C libraries that parse metafiles, and libjpeg with a
// progressive JPEG of thousands of scans, can be sent into endless work or a crash by a hostile
// file, and that must cost a refused picture, never the program or its start. Their libraries
// (libwmf, libemf2svg, Qt SVG, the image plugins) then cost nothing here either. The renderer is
// started on the first picture and kept while it reads well; one that failed in any way is
// ended and replaced, and one kept that no longer answers (stopped, or dead since its last
// picture) is replaced and the picture tried once more.

#include "core/Picture.h"
#include "pictures/PictureErrors.h"

#include <QByteArray>
#include <QString>
#include <chrono>

namespace pictures {

inline constexpr const char* kRendererProgram = "tarvola-metafile";

// Processor time the renderer may spend on one picture: the limit that counts, the same on a busy
// machine as on an idle one.
inline constexpr std::chrono::milliseconds kRenderProcessorTime{2000};
// Wall-clock time after which a renderer that has not used its processor time (asleep, stopped)
// is given up; the time a busy machine keeps it waiting for the processor comes on top.
inline constexpr std::chrono::milliseconds kRenderWallTime{6000};

// Reads a picture (any format but Unknown) in the renderer program: a metafile at its natural
// size and at twice that size, a raster picture as it is. Throws the renderer's own errors;
// tooLargeToDraw when it runs out of processor time or memory, corrupt when it crashes or
// answers nonsense; err::kDllNotFound when the renderer program is missing, broken or does not
// answer.
core::Picture renderPicture(const QByteArray& data, Format format, const QString& name);

// How the loader reads a picture: renderPicture, unless replaced. A fuzzing build reads in its
// own process (renderPictureHere), so that the fuzzer sees the parsers' branches.
using PictureRenderer = core::Picture (*)(const QByteArray& data, Format format, const QString& name);
void setPictureRenderer(PictureRenderer renderer);
core::Picture drawPicture(const QByteArray& data, Format format, const QString& name);

}  // namespace pictures
