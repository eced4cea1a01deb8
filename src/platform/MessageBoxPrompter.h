#pragma once

#include "taskgate_core_export.h"

#include "platform/Prompter.h"

namespace tg {

// The real prompter: a modal QMessageBox with the icon of the message kind.
class TASKGATE_CORE_EXPORT MessageBoxPrompter : public Prompter {
public:
    MessageAnswer show(MessageKind kind, const QString &text, MessageButtons buttons) override;
};

} // namespace tg
