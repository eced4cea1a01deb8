// Every column the front-end writes, written through the front-end's own
// operation with a value holding an apostrophe, accented letters, "´" and
// "€", and read back from the database: exactly that value, except where the
// suite's conventions change it (named values in TABX store "´" for the
// apostrophe; the parameter editor drops apostrophes).

#include "HostileRows.h"
#include "LoggedInWindow.h"

#include "companies/MemoQuadrel.h"
#include "data/QuadrelText.h"
#include "companies/SelezDitta.h"
#include "data/TabX.h"
#include "db/TableDataSet.h"
#include "layout/WindowPositions.h"
#include "platform/IniFile.h"
#include "platform/ModalRunner.h"
#include "semaphores/SemaphoreChecks.h"

#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

using namespace tg;
using namespace tg::test;
using namespace tg::test::hostile;

namespace {

const QString Value = Mixed;
// As TABX stores free text: "´" in place of every apostrophe.
const QString NamedValue = QString(Mixed).replace(QLatin1Char('\''), QStringLiteral("´"));
// As the parameter editor stores it: without apostrophes.
const QString EditorValue = senzaApici(Mixed);
// For the form-script keys, fifteen characters at most.
const QString Short = QStringLiteral("L'À ´€");

class RoundTrip : public LoggedInWindow<> {
protected:
    void SetUp() override
    {
        LoggedInWindow::SetUp();
        app.execUser({QStringLiteral("ALTER TABLE \"STOPOS1\" ADD NOTA VARCHAR(64)"),
                      rows::user(2, QStringLiteral("ANNA"), {}, {}),
                      rows::parameter(1, db::quotedValue(Value), QStringLiteral("Archivio"), rossi, 3),
                      rows::parameter(2, db::quotedValue(Value), db::quotedValue(Value), db::quotedValue(Value), 1),
                      QStringLiteral("INSERT INTO DETTMENU (PROGRAMMA,MENU,VISIBILE,DESCRIZIONE,DLL,FUNZIONE) "
                                     "VALUES (1,1,'1','Voce','manca.dll',%1)")
                          .arg(literal(Value)),
                      QStringLiteral("INSERT INTO \"STOPOS1\" VALUES (1,1,1,0,0,0,0,%1)").arg(literal(Value))});
        AppDirectory::exec(rossi, {QStringLiteral("INSERT INTO SEMAFORIFCRITICHE (DLL,FORM,OSSERVATASPECIALE) "
                                                  "VALUES (%1,%1,0)")
                                       .arg(literal(Value)),
                                   QStringLiteral("INSERT INTO TABX (CODICE,NOME,TESTO) VALUES (1000,'Generale',%1)")
                                       .arg(literal(Value)),
                                   QStringLiteral("INSERT INTO TABX (CODICE,NOME,TESTO) VALUES (1001,'Riga','x')")});
        login();
        form->show();
    }
    void TearDown() override
    {
        ModalRunner::install({});
        LoggedInWindow::TearDown();
    }
    TTabXForm &module() { return *form->PTabX->TabX; }
    QString user(const QString &statement) const { return app.queryUserRows(statement).join(QLatin1Char('\n')); }
    QString archive(const QString &statement) const
    {
        return AppDirectory::queryRows(rossi, statement).join(QLatin1Char('\n'));
    }
    // Back to ROSSI SPA as the user's current company.
    void resetCompany()
    {
        app.execUser({QStringLiteral("UPDATE UTENTI SET DITTA='ROSSI SPA' WHERE CODICE=1")});
        module().SetUserPerNum(1);
    }
    void pressF12UntilTheValue()
    {
        for (int i = 0; i < 3 && module().dittaCorrente() != Value; ++i)
            QTest::keyRelease(form.get(), Qt::Key_F12);
    }
    // A table data set of the archive's TABX, locking rows before an edit.
    // A data-entry window's TABX: its rows, save button, bookmark and valid flag.
    struct EditedTable {
        QPushButton save;
        QVariant bookmark;
        bool valid = false;
        db::TableDataSet rows;
    };
    void bind(EditedTable &table)
    {
        table.rows.setDatabase(&module().IBDatabase1);
        table.rows.setTableName(QStringLiteral("TABX"));
        table.rows.setBeforeEdit([this, &table](db::DataSet &d) {
            return module().EventoBeforeEditDataSet(d, &table.save, QStringLiteral("TABX"));
        });
        module().AggiornaTabella(table.rows, QVariant(), false);
    }
};

TEST_F(RoundTrip, EveryWrittenColumnReadsBackWhatWasWritten)
{
    struct Case {
        const char *column;
        std::function<void()> write;
        std::function<QString()> read;
        QString expected;
    };
    QString out;
    qint64 newKey = 0;
    const QString value = literal(Value);
    const QList<Case> cases = {
        {"UTENTI.DITTA: the company recorded before a call",
         [&] { form->AggiornaDittaUtente(1, Value); },
         [&] { return user(QStringLiteral("SELECT DITTA FROM UTENTI WHERE CODICE=1")); }, Value},
        {"UTENTI.DITTA: the company dialog (F9)",
         [&] {
             ModalRunner::install([](QDialog &dialog) {
                 auto &choice = dynamic_cast<TSelezDittaForm &>(dialog);
                 choice.ListBoxSelDitta->setCurrentItem(choice.ListBoxSelDitta->findItems(Value, Qt::MatchExactly).value(0));
                 choice.ButtonOk->click();
                 return choice.result();
             });
             QTest::keyRelease(form.get(), Qt::Key_F9);
         },
         [&] { return user(QStringLiteral("SELECT DITTA FROM UTENTI WHERE CODICE=1")) + QLatin1Char('|') + module().dittaCorrente(); },
         Value + QLatin1Char('|') + Value},
        {"UTENTI.DITTA: the next company (F12)", [&] { pressF12UntilTheValue(); },
         [&] { return user(QStringLiteral("SELECT DITTA FROM UTENTI WHERE CODICE=1")); }, Value},
        {"TABQUADREL.INTESTAZIONE, PARAMETRO, VALORE: a new parameter",
         [&] { module().ScriviParametroQuadrel(Value + QLatin1Char('2'), Value, Value); },
         [&] {
             return user(QStringLiteral("SELECT INTESTAZIONE,PARAMETRO,VALORE FROM TABQUADREL WHERE UTENTE=1 AND "
                                        "PARAMETRO=%1").arg(value));
         },
         Value + QStringLiteral("2|") + Value + QLatin1Char('|') + Value},
        {"TABQUADREL.VALORE: a parameter rewritten",
         [&] {
             module().SettaParametro(QStringLiteral("Nota"), QStringLiteral("x"));
             module().SettaParametro(QStringLiteral("Nota"), Value);
         },
         [&] { return user(QStringLiteral("SELECT VALORE FROM TABQUADREL WHERE PARAMETRO='Nota'")); }, Value},
        {"UTENTI.QUADREL: the parameter set rendered from the rows", [&] { module().ScriviQuadrel(2); },
         [&] { return user(QStringLiteral("SELECT QUADREL FROM UTENTI WHERE CODICE=2")); },
         QLatin1Char('[') + Value + QStringLiteral("]\n") + Value + QLatin1Char('=') + Value + QLatin1Char('\n')},
        {"MARTILOGFUNZ.FUNZIONECHIAMATA: a dispatched function", [&] { form->EseguiFunzioneVoce(1, 1, 1); },
         [&] { return user(QStringLiteral("SELECT FUNZIONECHIAMATA FROM MARTILOGFUNZ")); }, Value},
        {"SEMAFORIF.DLL, FORM: the semaphore of a critical window",
         [&] { OccupaSemaforo(Value, Value, 1, 4242, module().IBDatabase1); },
         [&] { return archive(QStringLiteral("SELECT DLL,FORM FROM SEMAFORIF WHERE ID=4242")); },
         Value + QLatin1Char('|') + Value},
        {"SEMAFORIFANOMALIE.DLL, FORM: a refused window",
         [&] { RegistraAnomaliaSemaforo(1, Value, Value, module().IBDatabase1); },
         [&] { return archive(QStringLiteral("SELECT DLL,FORM FROM SEMAFORIFANOMALIE")); },
         Value + QLatin1Char('|') + Value},
        {"TABX.NOME, TESTO: a plain named value", [&] { module().SettaValoreTabX(Value, Value, true); },
         [&] { return archive(QStringLiteral("SELECT NOME,TESTO FROM TABX WHERE UTENTE=1 AND NOME=%1").arg(value)); },
         Value + QLatin1Char('|') + NamedValue},
        {"TABX.MEMO: a plain long value", [&] { module().SettaValoreMTabX(Value + QLatin1Char('M'), Value, false); },
         [&] { return archive(QStringLiteral("SELECT MEMO FROM TABX WHERE NOME=%1").arg(literal(Value + QLatin1Char('M')))); },
         NamedValue},
        {"TABX.CODPROGETTO, CODSITUAZIONE, NOME, TESTO, MEMO: a project value added",
         [&] {
             module().AggiungiParametroInTabX(Value, Value, Value + QLatin1Char('P'), QStringLiteral("3,5"), Value,
                                              QStringLiteral("31/12/2023"), Value, QStringLiteral("1"), QStringLiteral("2"));
         },
         [&] {
             return archive(QStringLiteral("SELECT CODPROGETTO,CODSITUAZIONE,NOME,TESTO,MEMO FROM TABX WHERE NOME=%1")
                                .arg(literal(Value + QLatin1Char('P'))));
         },
         QStringList{Value, Value, Value + QLatin1Char('P'), NamedValue, NamedValue}.join(QLatin1Char('|'))},
        {"TABX.TESTO, MEMO: a project value rewritten",
         [&] {
             module().ScriviParametroInTabX(Value, Value, Value + QLatin1Char('P'), QString(), Value + QLatin1Char('!'),
                                            QString(), Value + QLatin1Char('!'));
         },
         [&] {
             return archive(QStringLiteral("SELECT TESTO,MEMO FROM TABX WHERE NOME=%1").arg(literal(Value + QLatin1Char('P'))));
         },
         NamedValue + QStringLiteral("!|") + NamedValue + QLatin1Char('!')},
        {"TABX.TESTO: the user's own copy of a general value",
         [&] { module().ValoreTabXUserCheckGen(QStringLiteral("Generale"), out); },
         [&] { return archive(QStringLiteral("SELECT TESTO FROM TABX WHERE NOME='Generale' AND UTENTE=1")); }, NamedValue},
        {"STOPOS1: a column of its own carried along by the position save",
         [&] { SalvaPosizioneFinestra(QRect(7, 8, 9, 10), 1, 1, 1, module().IBDatabaseUser); },
         [&] { return user(QStringLiteral("SELECT PosX,PosY,DimX,DimY,NOTA FROM \"STOPOS1\"")); },
         QStringLiteral("7|8|9|10|") + Value},
        {"an archive table's text: record editing",
         [&] {
             EditedTable table;
             bind(table);
             ASSERT_TRUE(table.rows.locate(QStringLiteral("CODICE"), QStringLiteral("1001")));
             ASSERT_TRUE(table.rows.setFieldValue(QStringLiteral("TESTO"), Value));
             module().ChiudiTransazione(table.rows, table.bookmark, table.valid, &table.save);
         },
         [&] { return archive(QStringLiteral("SELECT TESTO FROM TABX WHERE CODICE=1001")); }, Value},
        {"an archive table's text: a new row keyed by a generator",
         [&] {
             EditedTable table;
             bind(table);
             module().NuovoIntSuGeneratore(table.rows, table.bookmark, table.valid, &table.save,
                                           QStringLiteral("TABX"), QStringLiteral("CODICETABXCOUNTER"));
             newKey = table.rows.fieldByName(QStringLiteral("CODICE")).asInteger();
             ASSERT_TRUE(table.rows.setFieldValue(QStringLiteral("NOME"), Value));
             module().ChiudiTransEAggiorna(table.rows, table.bookmark, table.valid, &table.save);
         },
         [&] { return archive(QStringLiteral("SELECT NOME FROM TABX WHERE CODICE=%1").arg(newKey)); }, Value},
        {"TABSCRIPT: a form script",
         [&] { module().IniScriptForm(Short, Short, QStringLiteral("1"), Short, Value, QStringLiteral("0")); },
         [&] { return user(QStringLiteral("SELECT PROGETTO,SCRIPTFORM,UTENTE,SCRIPT FROM TABSCRIPT")); },
         QStringList{Short, Short, Short, Value}.join(QLatin1Char('|'))},
        {"the per-user INI file", [&] { module().SettaFileIni(Value, Value, Value); },
         [&] { return IniFile(module().fileIniPath()).readString(Value, Value); }, Value},
        {"UTENTI.QUADREL, TABQUADREL: the parameter editor",
         [&] {
             TMemoQuadrelForm editor(form.get(), form->PTabX.get());
             editor.MemoQD->setPlainText(QLatin1Char('[') + Value + QStringLiteral("]\n") + Value + QLatin1Char('=') + Value);
             editor.ButtonOk->click();
         },
         [&] {
             return user(QStringLiteral("SELECT QUADREL FROM UTENTI WHERE CODICE=1")) + QLatin1Char('\n')
                    + user(QStringLiteral("SELECT INTESTAZIONE,PARAMETRO,VALORE FROM TABQUADREL WHERE UTENTE=1"));
         },
         QLatin1Char('[') + EditorValue + QStringLiteral("]\r\n") + EditorValue + QLatin1Char('=') + EditorValue
             + QLatin1Char('\n') + EditorValue + QLatin1Char('|') + EditorValue + QLatin1Char('|') + EditorValue},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.column);
        c.write();
        EXPECT_EQ(c.read(), c.expected);
        EXPECT_TRUE(prompter.messages.isEmpty()) << prompter.texts().join(QLatin1Char('|')).toStdString();
        prompter.messages.clear();
        resetCompany();
    }
}

} // namespace
