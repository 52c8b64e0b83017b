#pragma once
// The metafile renderers live in a module of their own beside the program
// (libtarvola_metafile.so), loaded on the first metafile: the libraries they need
// (libwmf, libemf2svg, Qt SVG) then cost nothing at start-up.

#include "controls/Picture.h"

#include <QByteArray>
#include <QString>

namespace platform::pictures {

struct MetafileRenderers {
    ctl::Picture (*renderWmf)(const QByteArray& data, const QString& name);
    ctl::Picture (*renderEmf)(const QByteArray& data, const QString& name);
};

// The module's one entry point, by this name.
inline constexpr const char* kMetafileModule = "libtarvola_metafile.so";
inline constexpr const char* kMetafileEntry = "tarvola_metafile_renderers";
using MetafileEntry = const MetafileRenderers* (*)();

// The renderers, loading the module from the program's folder on first use; throws the
// program's error when the module is missing or broken.
const MetafileRenderers& metafileRenderers();

}  // namespace platform::pictures
