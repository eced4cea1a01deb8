#include "platform/ModalRunner.h"

#include <QDialog>

namespace tg {
namespace {
ModalRunner::Script installedScript;
}

int ModalRunner::run(QDialog &dialog)
{
    if (installedScript)
        return installedScript(dialog);
    return dialog.exec();
}

void ModalRunner::install(Script script)
{
    installedScript = std::move(script);
}

} // namespace tg
