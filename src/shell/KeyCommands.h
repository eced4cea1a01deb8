#pragma once

namespace tg {

// What a function key released in the main window asks for.
enum class KeyCommand {
    None,          // not one of the function keys, or the keys sleep
    ChangeUser,    // F8: back to the login page
    ChangeCompany, // F9: the company chosen in the list
    NextCompany,   // F12: the company after the current one
};

// The function keys act only for a logged-in user; a user who keeps the
// standard window has none of them.
class KeyCommands {
public:
    static KeyCommand forKey(int key, bool loggedIn, bool keepsStandardMinimum);
};

} // namespace tg
