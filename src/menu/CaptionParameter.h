#pragma once

#include "taskgate_core_export.h"

#include <QString>

#include <functional>

namespace tg {

// Reads a per-user parameter of the current company by name.
using ParameterReader = std::function<QString(const QString &name)>;

// The caption of a menu entry. When both the stored description and the
// caption shown (the description itself or its translation) contain
// "<LINEA>", the caption is the shown text before its first "<LINEA>"
// followed by the value of the parameter named between that marker and the
// next "</LINEA>" (or the end of the text when none follows); whatever
// follows "</LINEA>" is dropped. Otherwise the shown text stands as it is
// and no parameter is read.
TASKGATE_CORE_EXPORT QString captionWithParameter(const QString &stored, const QString &shown, const ParameterReader &parameter);

} // namespace tg
