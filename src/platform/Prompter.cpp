#include "platform/Prompter.h"

namespace tg {
namespace {

class SilentPrompter : public Prompter {
public:
    MessageAnswer show(MessageKind, const QString &, MessageButtons buttons) override
    {
        return buttons == MessageButtons::YesNo ? MessageAnswer::Yes : MessageAnswer::Ok;
    }
};

SilentPrompter silentPrompter;
Prompter *installedPrompter = nullptr;

} // namespace

Prompter &Prompter::current()
{
    return installedPrompter ? *installedPrompter : silentPrompter;
}

void Prompter::install(Prompter *prompter)
{
    installedPrompter = prompter;
}

} // namespace tg
