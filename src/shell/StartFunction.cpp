#include "shell/StartFunction.h"

#include <QStringList>

namespace tg {

bool wholeNumber(const QString &item, int &number)
{
    const QString text = item.trimmed();
    if (text.contains(QChar(0)))
        return false;
    bool ok = false;
    number = text.toInt(&ok);
    return ok;
}

bool parseStartFunction(const QString &value, int &program, int &menu)
{
    const QStringList items = value.split(QLatin1Char(','));
    int programValue = 0;
    int menuValue = 0;
    if (!wholeNumber(items.value(0), programValue) || !wholeNumber(items.value(1), menuValue))
        return false;
    program = programValue;
    menu = menuValue;
    return true;
}

} // namespace tg
