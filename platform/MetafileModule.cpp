// The entry point of the metafile module.

#include "platform/MetafileEmf.h"
#include "platform/MetafileRenderers.h"
#include "platform/MetafileWmf.h"

namespace {
const platform::pictures::MetafileRenderers kRenderers{&platform::pictures::renderWmf, &platform::pictures::renderEmf};
}

extern "C" __attribute__((visibility("default"))) const platform::pictures::MetafileRenderers*
tarvola_metafile_renderers() {
    return &kRenderers;
}
