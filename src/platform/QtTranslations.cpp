#include "platform/QtTranslations.h"

#include "platform/Logging.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace tg {

int installToolkitTranslations(QCoreApplication &application)
{
    // The suite speaks Italian whatever the workstation's locale says.
    const QLocale italian(QLocale::Italian, QLocale::Italy);
    const QString directory = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    int installed = 0;
    // qtbase holds the texts of the core, widget and print support modules.
    for (const char *catalogue : {"qtbase"}) {
        auto *translator = new QTranslator(&application);
        if (translator->load(italian, QString::fromLatin1(catalogue), QStringLiteral("_"), directory)
            && QCoreApplication::installTranslator(translator)) {
            ++installed;
            continue;
        }
        qCWarning(lcShell).noquote() << "The toolkit's Italian texts" << catalogue << "were not found in"
                                        << directory << "- its standard buttons stay in English";
        delete translator;
    }
    return installed;
}

} // namespace tg
