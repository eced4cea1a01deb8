#pragma once

#include "SuiteRows.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <utility>

namespace tg::test {

// A user whose project holds a generated catalogue: `programs` programs of
// `entriesPerProgram` top-level entries each, every second entry (the odd
// menu numbers) a quick entry, every entry calling the recording plug-in's
// RecX, which takes no semaphore. The user reads menus in languages 2 then
// 3: two entries in three have a caption in language 2 and every entry one
// in language 3, so that a third of them fall back to the second language.
// The user's security profile is 1, which the suite must hold.
struct GeneratedCatalogue {
    int user = 0;
    QString name;
    int project = 0;
    int firstProgram = 0;
    int programs = 0;
    int entriesPerProgram = 0;

    int entries() const { return programs * entriesPerProgram; }
    // A quick entry: the first entry of the first program.
    int quickProgram() const { return firstProgram; }
    int quickMenu() const { return 1; }

    // The rows for the user database. `companies` are the user's companies
    // with the Archivio of each, the first one current.
    QStringList rows(const QList<std::pair<QString, QString>> &companies) const
    {
        QStringList statements{
            rows::user(user, name, QStringLiteral("DITTA,PROFILOSICUREZZA,PROGETTO,LINGUA1,LINGUA2"),
                       QStringLiteral("'%1',1,%2,2,3").arg(companies.value(0).first).arg(project)),
            QStringLiteral("INSERT INTO PROGETTI (CODICE,MODOMENUSISTEMA) VALUES (%1,0)").arg(project)};
        for (int i = 0; i < companies.size(); ++i)
            statements << rows::parameter(user, companies.at(i).first, QStringLiteral("Archivio"),
                                          companies.at(i).second, i + 1);
        const int lastProgram = firstProgram + programs - 1;
        for (int program = firstProgram; program <= lastProgram; ++program) {
            statements << rows::program(program, QStringLiteral("Programma %1").arg(program))
                       << rows::projectProgram(project, program);
            for (int menu = 1; menu <= entriesPerProgram; ++menu) {
                statements << rows::menuEntry(rows::Entry{
                    .program = program,
                    .menu = menu,
                    .caption = QStringLiteral("Voce %1.%2").arg(program).arg(menu),
                    .quick = menu % 2 ? QStringLiteral("'1'") : QStringLiteral("'0'"),
                    .function = QStringLiteral("'RecX'")});
                if (menu % 3 != 0)
                    statements << rows::translation(program, menu, 2, QStringLiteral("'Item %1.%2'").arg(program).arg(menu));
                statements << rows::translation(program, menu, 3, QStringLiteral("'Eintrag %1.%2'").arg(program).arg(menu));
            }
        }
        statements << QStringLiteral("UPDATE DETTMENU SET DLL='taskgatetest.dll', PARAMETRIBLOB='P=1' "
                                     "WHERE PROGRAMMA BETWEEN %1 AND %2")
                          .arg(firstProgram)
                          .arg(lastProgram);
        return statements;
    }
};

} // namespace tg::test
