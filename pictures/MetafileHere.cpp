#include "pictures/MetafileHere.h"

#include "pictures/MetafileEmf.h"
#include "pictures/MetafileWmf.h"

namespace pictures {

core::Picture renderMetafileHere(const QByteArray& data, Format format, const QString& name) {
    switch (format) {
    case Format::Wmf: return renderWmf(data, name);
    case Format::Emf: return renderEmf(data, name);
    default: throw unknownFormat(name);
    }
}

}  // namespace pictures
