// Default form scripts in the user database, printing through the suite's
// report library "Rptx", and the call of any library function with one
// integer argument.

#include "data/TabX.h"
#include "db/DataSet.h"
#include "db/QueryDataSet.h"
#include "db/SqlText.h"
#include "platform/Clock.h"
#include "platform/DynamicLibrary.h"
#include "platform/Prompter.h"

#include <taskgate/plugin.h>

namespace tg {
namespace {

// The report entries take the data set and the address of a variable that
// holds the module.
using ReportEntry = void(TASKGATE_CALL *)(void *dataSet, void *moduleAddress);
using IntegerEntry = void(TASKGATE_CALL *)(int32_t value);

QString todayForStatement()
{
    return Clock::current().now().date().toString(QStringLiteral("MM/dd/yyyy"));
}

} // namespace

void TTabXForm::IniScriptForm(const QString &project, const QString &form, const QString &context,
                              const QString &user, const QString &script, const QString &overwrite)
{
    const QString p = db::quotedValue(project);
    const QString f = db::quotedValue(form);
    const QString c = db::quotedValue(context);
    const QString u = db::quotedValue(user);
    const QString s = db::quotedValue(script);
    const QStringList keyLines{QStringLiteral("WHERE (PROGETTO='") + p + QStringLiteral("')AND"),
                               QStringLiteral("(SCRIPTFORM='") + f + QStringLiteral("')AND"),
                               QStringLiteral("(CONTESTO='") + c + QStringLiteral("')AND"),
                               QStringLiteral("(UTENTE='") + u + QStringLiteral("');")};
    const QString today = todayForStatement();

    db::Query query(&IBDatabaseUser, &TransazioneUser);
    query.sql() = QStringList{QStringLiteral("SELECT * FROM TABSCRIPT")} + keyLines;
    query.open();
    if (query.eof()) {
        query.close();
        query.sql() = QStringList{QStringLiteral("INSERT INTO TABSCRIPT"),
                                  QStringLiteral("VALUES ('") + p + QStringLiteral("',") + QStringLiteral("'") + f
                                      + QStringLiteral("',") + QStringLiteral("'") + c + QStringLiteral("',")
                                      + QStringLiteral("'") + u + QStringLiteral("',") + QStringLiteral("NULL,")
                                      + QStringLiteral("'") + s + QStringLiteral("',") + QStringLiteral("NULL,")
                                      + QStringLiteral("'") + today + QStringLiteral("',")
                                      + QStringLiteral("NULL);")};
        query.execSql();
        TransazioneUser.commit();
        return;
    }
    // A stored script is kept unless it is empty or overwriting is asked for.
    if (!query.fieldByName(QStringLiteral("SCRIPT")).asText().isEmpty() && overwrite != QLatin1String("1"))
        return;
    query.close();
    query.sql() = QStringList{QStringLiteral("UPDATE TABSCRIPT"),
                              QStringLiteral("SET SCRIPT='") + s + QStringLiteral("',"),
                              QStringLiteral("DATAULTIMAMODIFICA='") + today + QLatin1Char('\'')}
                  + keyLines;
    query.execSql();
    TransazioneUser.commit();
}

void TTabXForm::LanciaStampaConDll(const QString &title, const QString &reportName, db::DataSet &dataSet)
{
    void *library = DynamicLibrary::load(QStringLiteral("Rptx"));
    // The report library reads the title and the report name from memory.
    SetV(QStringLiteral("TitoloStampa"), title);
    SetV(QStringLiteral("NomeReport"), reportName);
    if (!library)
        return;
    try {
        const QString entryName = dynamic_cast<db::QueryDataSet *>(&dataSet) ? QStringLiteral("ShowRptx11FormD")
                                                                             : QStringLiteral("ShowRptx11MemFormD");
        if (auto entry = reinterpret_cast<ReportEntry>(DynamicLibrary::symbol(library, entryName))) {
            TTabXForm *module = this;
            entry(&dataSet, &module);
        }
        DynamicLibrary::unload(library);
    } catch (...) {
        // The library stays loaded: the report may still own objects in it.
        showMessage(MessageKind::Error, QStringLiteral("Errore nell'accesso alla DLL Rptx delle stampe"));
    }
}

void TTabXForm::AvviaFunzXDll(const QString &library, const QString &function, qint32 value)
{
    // A missing library or function is ignored; the library stays loaded.
    void *handle = DynamicLibrary::load(library);
    if (!handle)
        return;
    if (auto entry = reinterpret_cast<IntegerEntry>(DynamicLibrary::symbol(handle, function)))
        entry(value);
}

} // namespace tg
