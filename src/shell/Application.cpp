#include "shell/Application.h"

#include "db/DatabaseError.h"
#include "platform/Prompter.h"
#include "platform/QtTranslations.h"

namespace tg {

TaskgateApplication::TaskgateApplication(int &argc, char **argv) : QApplication(argc, argv)
{
    setApplicationName(QStringLiteral("Taskgate"));
    // Standard buttons and dialogs read "Sì", "No", "Annulla" beside the
    // suite's Italian texts.
    installToolkitTranslations(*this);
}

bool TaskgateApplication::notify(QObject *receiver, QEvent *event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (...) {
        reportUnhandledError(std::current_exception());
        return false;
    }
}

void reportUnhandledError(std::exception_ptr error)
{
    QString text;
    try {
        std::rethrow_exception(error);
    } catch (const db::DatabaseError &databaseError) {
        text = databaseError.message();
    } catch (const std::exception &other) {
        text = QString::fromUtf8(other.what());
    } catch (...) {
        text = QStringLiteral("Errore imprevisto");
    }
    showMessage(MessageKind::Error, text);
}

} // namespace tg
