#pragma once

#include <QString>
#include <stdexcept>

namespace tg {

// A text that should have been a number or a date and is not.
class ConversionError : public std::runtime_error {
public:
    explicit ConversionError(const QString &message) : std::runtime_error(message.toStdString()) {}
};

} // namespace tg
