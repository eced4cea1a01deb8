#include "shell/KeyCommands.h"

#include <Qt>

namespace tg {

KeyCommand KeyCommands::forKey(int key, bool loggedIn, bool keepsStandardMinimum)
{
    if (!loggedIn || keepsStandardMinimum)
        return KeyCommand::None;
    switch (key) {
    case Qt::Key_F8:
        return KeyCommand::ChangeUser;
    case Qt::Key_F9:
        return KeyCommand::ChangeCompany;
    case Qt::Key_F12:
        return KeyCommand::NextCompany;
    default:
        return KeyCommand::None;
    }
}

} // namespace tg
