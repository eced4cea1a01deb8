#include "menu/CaptionParameter.h"

namespace tg {
namespace {

const QString Linea = QStringLiteral("<LINEA>");
const QString FineLinea = QStringLiteral("</LINEA>");

} // namespace

QString captionWithParameter(const QString &stored, const QString &shown, const ParameterReader &parameter)
{
    // The value of the parameter named between the markers replaces them and
    // whatever follows. A translation without the markers stands as it is.
    const qsizetype start = shown.indexOf(Linea);
    if (!stored.contains(Linea) || start < 0)
        return shown;
    const qsizetype nameStart = start + Linea.size();
    const qsizetype end = shown.indexOf(FineLinea, nameStart);
    const QString name = shown.mid(nameStart, end < 0 ? -1 : end - nameStart);
    return shown.left(start) + parameter(name);
}

} // namespace tg
