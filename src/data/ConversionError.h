#pragma once

#include "taskgate_core_export.h"

#include <QString>
#include <stdexcept>

namespace tg {

// A text that should have been a number or a date and is not.
class TASKGATE_CORE_EXPORT ConversionError : public std::runtime_error {
public:
    explicit ConversionError(const QString &message) : std::runtime_error(message.toStdString()) {}
};

} // namespace tg
