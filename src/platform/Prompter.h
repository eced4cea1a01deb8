#pragma once

#include "taskgate_core_export.h"

#include <QString>

namespace tg {

// Kinds of message box the front-end shows.
enum class MessageKind { Error, Warning, Information, Confirmation, Plain };

// Button sets offered by a message box.
enum class MessageButtons { Ok, OkCancel, YesNo };

// What the user pressed.
enum class MessageAnswer { Ok, Cancel, Yes, No };

// Every message box of the program goes through one Prompter, so that tests
// can see the exact sequence of messages and script the answers.
class TASKGATE_CORE_EXPORT Prompter {
public:
    virtual ~Prompter() = default;
    virtual MessageAnswer show(MessageKind kind, const QString &text,
                               MessageButtons buttons = MessageButtons::Ok) = 0;

    // The prompter in use; the program installs the message-box one at start.
    static Prompter &current();
    // Installs a prompter (not owned); nullptr restores the default, which
    // answers Ok/Yes without showing anything.
    static void install(Prompter *prompter);
};

// Shorthand for a message with the OK button only.
inline void showMessage(MessageKind kind, const QString &text)
{
    Prompter::current().show(kind, text, MessageButtons::Ok);
}

} // namespace tg
