#include "RecordsFixture.h"

#include "db/DatabaseError.h"
#include "db/QueryDataSet.h"

using namespace tg;
using namespace tg::test;

namespace {

const QString LockWarning = QStringLiteral(
    "Attenzione: altri utenti stanno lavorando su questo record. Provare ad aggiornare la griglia. Nel caso in cui "
    "questo messaggio riapparisse, provare ad editare il record in un secondo momento.");
const QString AlreadyDeleted =
    QStringLiteral("Questo record è già stato cancellato da un altro utente in un'altra sessione di lavoro");
const QString CannotDelete =
    QStringLiteral("Impossibile cancellare questo record, altri utenti stanno lavorando su questo record.");

using RecordEditing = Workstations;

TEST_F(RecordEditing, SecondEditorOfARowIsRefusedUntilTheFirstSavesOrCancels)
{
    QObject saveA, saveB;
    db::TableDataSet a, b;
    bind(a, first, &saveA);
    bind(b, second, &saveB);
    QVariant bookmarkA, bookmarkB;
    bool validA = false, validB = false;

    ASSERT_TRUE(a.locate(QStringLiteral("CODICE"), QStringLiteral("2")));
    EXPECT_TRUE(a.setFieldValue(QStringLiteral("TESTO"), QStringLiteral("da A")));
    EXPECT_EQ(tag(saveA), 1);
    EXPECT_EQ(shown(saveA), red());

    ASSERT_TRUE(b.locate(QStringLiteral("CODICE"), QStringLiteral("2")));
    EXPECT_FALSE(b.setFieldValue(QStringLiteral("TESTO"), QStringLiteral("da B")));
    EXPECT_EQ(prompter.messages, (QList<QPair<MessageKind, QString>>{{MessageKind::Warning, LockWarning}}));
    EXPECT_EQ(b.state(), db::DataSet::State::Browse);
    EXPECT_EQ(b.fieldByName(QStringLiteral("TESTO")).asText(), QStringLiteral("b"));
    EXPECT_EQ(tag(saveB), 0);
    EXPECT_TRUE(shown(saveB).isEmpty()) << "a refused edit announces nothing";
    EXPECT_TRUE(b.locate(QStringLiteral("CODICE"), QStringLiteral("3")));
    EXPECT_TRUE(b.setFieldValue(QStringLiteral("TESTO"), QStringLiteral("altra riga"))) << "other rows stay free";

    first.ChiudiTransEAggiorna(a, bookmarkA, validA, &saveA);
    EXPECT_EQ(tag(saveA), 0);
    EXPECT_EQ(shown(saveA), green());
    EXPECT_TRUE(validA);
    EXPECT_EQ(a.fieldByName(QStringLiteral("CODICE")).asText(), QStringLiteral("2")) << "reopened at the bookmark";
    EXPECT_EQ(rows().value(1), QStringLiteral("2|da A"));

    // B's snapshot predates A's save: the grid must be refreshed first.
    second.AggiornamentoDaPulsante(b, bookmarkB, validB, &saveB);
    EXPECT_EQ(prompter.messages.size(), 2) << "B's pending change is saved after the question";
    EXPECT_EQ(rows().value(2), QStringLiteral("3|altra riga"));
    ASSERT_TRUE(b.locate(QStringLiteral("CODICE"), QStringLiteral("2")));
    EXPECT_TRUE(b.setFieldValue(QStringLiteral("TESTO"), QStringLiteral("da B")));
    EXPECT_EQ(tag(saveB), 1);

    // Now A is the second editor; B cancels and A may edit again.
    prompter.messages.clear();
    first.AggiornaTabella(a, bookmarkA, true);
    EXPECT_FALSE(a.setFieldValue(QStringLiteral("TESTO"), QStringLiteral("ancora A")));
    prompter.answers = {MessageAnswer::Yes};
    second.Annulla(b, bookmarkB, validB, &saveB);
    EXPECT_EQ(tag(saveB), 0);
    EXPECT_EQ(shown(saveB), green());
    ASSERT_TRUE(b.locate(QStringLiteral("CODICE"), QStringLiteral("2")));
    EXPECT_EQ(b.fieldByName(QStringLiteral("TESTO")).asText(), QStringLiteral("da A")) << "B's change rolled back";
    EXPECT_TRUE(a.setFieldValue(QStringLiteral("TESTO"), QStringLiteral("ancora A")));
    EXPECT_EQ(prompter.texts(),
              (QStringList{LockWarning, QStringLiteral("Conferma l'annullamento delle modifiche apportate?")}));
}

TEST_F(RecordEditing, TextFirstFieldRefusesEveryEdit)
{
    exec({QStringLiteral("CREATE TABLE SIGLE (SIGLA VARCHAR(10) NOT NULL PRIMARY KEY, NOTA VARCHAR(20))"),
          QStringLiteral("INSERT INTO SIGLE VALUES ('AB','x')")});
    QObject save;
    db::TableDataSet sigle;
    bind(sigle, first, &save, QStringLiteral("SIGLE"));
    EXPECT_FALSE(sigle.setFieldValue(QStringLiteral("NOTA"), QStringLiteral("y")));
    EXPECT_EQ(prompter.texts(), QStringList{LockWarning});
    EXPECT_EQ(tag(save), 0);
}

TEST_F(RecordEditing, TableWithoutIndexesIsRefreshedInTheServersOrder)
{
    exec({QStringLiteral("CREATE TABLE LIBERA (CODICE INTEGER, NOTA VARCHAR(5))"),
          QStringLiteral("INSERT INTO LIBERA VALUES (4,'x')")});
    db::TableDataSet libera;
    bind(libera, first, nullptr, QStringLiteral("LIBERA"));
    EXPECT_EQ(libera.recordCount(), 1);
    EXPECT_TRUE(libera.indexName().isEmpty());
}

TEST_F(RecordEditing, CancelAndCloseFollowTheButtonTag)
{
    QObject save;
    db::TableDataSet data;
    bind(data, first, &save);
    QVariant bookmark;
    bool valid = false;

    // Tag 0: a change posted without the lock is neither asked about nor dropped.
    data.setBeforeEdit({});
    data.setFieldValue(QStringLiteral("TESTO"), QStringLiteral("senza blocco"));
    data.post();
    first.Annulla(data, bookmark, valid, &save);
    first.Chiudi(data, bookmark, valid, &save);
    EXPECT_TRUE(prompter.messages.isEmpty());
    EXPECT_EQ(data.fieldByName(QStringLiteral("TESTO")).asText(), QStringLiteral("senza blocco"));

    // Closing answered No drops the pending changes and restarts the transaction.
    first.setSaveButtonPending(&save, true);
    prompter.answers = {MessageAnswer::No};
    first.Chiudi(data, bookmark, valid, &save);
    EXPECT_EQ(prompter.texts(), QStringList{QStringLiteral("Salvare le modifiche apportate?")});
    EXPECT_TRUE(first.IBTransaction1.active());
    EXPECT_FALSE(data.active());
    first.IBTransaction1.commit();
    EXPECT_EQ(rows().value(0), QStringLiteral("1|a"));

    // Answered Yes the changes stay pending and the closing connection commits them.
    first.AggiornaTabella(data, QVariant(), false);
    data.setFieldValue(QStringLiteral("TESTO"), QStringLiteral("tenuto"));
    data.post();
    prompter.answers = {MessageAnswer::Yes};
    first.Chiudi(data, bookmark, valid, &save);
    EXPECT_EQ(rows().value(0), QStringLiteral("1|a")) << "not yet committed";
    data.close();
    first.chiudiConnessioni();
    EXPECT_EQ(rows().value(0), QStringLiteral("1|tenuto"));
}

TEST_F(RecordEditing, DeletingCopesWithOtherWorkstations)
{
    QObject save, saveB;
    db::TableDataSet data, b;
    bind(data, first, &save);
    bind(b, second, &saveB);
    QVariant bookmark = QStringLiteral("stale");
    bool valid = false;

    // Answered No: nothing goes.
    ASSERT_TRUE(data.locate(QStringLiteral("CODICE"), QStringLiteral("2")));
    prompter.answers = {MessageAnswer::No};
    EXPECT_FALSE(first.Elimina(data, bookmark, valid, &save));
    EXPECT_EQ(rows().size(), 3);

    // A row the other workstation is editing cannot be deleted.
    ASSERT_TRUE(b.locate(QStringLiteral("CODICE"), QStringLiteral("2")));
    ASSERT_TRUE(b.edit());
    ASSERT_TRUE(data.locate(QStringLiteral("CODICE"), QStringLiteral("2")));
    prompter.messages.clear();
    EXPECT_FALSE(first.Elimina(data, bookmark, valid, &save));
    EXPECT_EQ(prompter.texts(), (QStringList{QStringLiteral("Conferma la cacellazione del record?"), CannotDelete}));
    EXPECT_EQ(rows().size(), 3);
    QVariant bookmarkB;
    bool validB = false;
    second.ChiudiTransazione(b, bookmarkB, validB, &saveB);

    // Deleted: the caller's bookmark holds the next row, the data set
    // reopens where it starts because the deleted row's bookmark is lost.
    ASSERT_TRUE(data.locate(QStringLiteral("CODICE"), QStringLiteral("2")));
    prompter.messages.clear();
    EXPECT_TRUE(first.Elimina(data, bookmark, valid, &save));
    EXPECT_EQ(rows(), (QStringList{QStringLiteral("1|a"), QStringLiteral("3|c")}));
    EXPECT_EQ(bookmark.toLongLong(), 3);
    EXPECT_TRUE(valid);
    EXPECT_EQ(data.recNo(), 0);
    EXPECT_EQ(data.recordCount(), 2);
    EXPECT_EQ(tag(save), 0);
    EXPECT_EQ(shown(save), green());

    // Deleted meanwhile by the other workstation: only the warning.
    ASSERT_TRUE(data.locate(QStringLiteral("CODICE"), QStringLiteral("3")));
    exec({QStringLiteral("DELETE FROM TABX WHERE CODICE=3")});
    prompter.messages.clear();
    EXPECT_FALSE(first.Elimina(data, bookmark, valid, &save));
    EXPECT_EQ(prompter.texts(), (QStringList{QStringLiteral("Conferma la cacellazione del record?"), AlreadyDeleted}));
    EXPECT_EQ(rows(), QStringList{QStringLiteral("1|a")});

    // The last row gone elsewhere: the table is empty.
    exec({QStringLiteral("DELETE FROM TABX")});
    prompter.messages.clear();
    EXPECT_FALSE(first.Elimina(data, bookmark, valid, &save));
    EXPECT_EQ(prompter.messages,
              (QList<QPair<MessageKind, QString>>{{MessageKind::Information, QStringLiteral("La tabella è vuota")}}));
}

TEST_F(RecordEditing, RefreshKeepsThePositionWhileItExists)
{
    db::TableDataSet data;
    bind(data, first, nullptr);
    data.last();
    const QVariant bookmark = data.bookmark();
    first.AggiornaTabella(data, bookmark, true);
    EXPECT_EQ(data.recNo(), 2);
    first.AggiornaTabella(data, bookmark, false);
    EXPECT_EQ(data.recNo(), 0);
    exec({QStringLiteral("DELETE FROM TABX WHERE CODICE=3")});
    first.AggiornaTabella(data, bookmark, true);
    EXPECT_EQ(data.recNo(), 0) << "a lost bookmark leaves the data set where opening put it";
    EXPECT_EQ(data.recordCount(), 2) << "the refresh sees other workstations' commits";
    EXPECT_EQ(data.indexName(), QStringLiteral("PK_TABX"));

    // A pending change is lost by the refresh; saving a closed data set
    // commits and marks the bookmark invalid without touching it.
    data.setFieldValue(QStringLiteral("TESTO"), QStringLiteral("perso"));
    first.AggiornaTabella(data, bookmark, false);
    EXPECT_EQ(data.fieldByName(QStringLiteral("TESTO")).asText(), QStringLiteral("a"));
    data.close();
    QVariant kept = QStringLiteral("kept");
    bool valid = true;
    first.ChiudiTransazione(data, kept, valid, nullptr);
    EXPECT_FALSE(valid);
    EXPECT_EQ(kept, QVariant(QStringLiteral("kept")));
    EXPECT_FALSE(first.IBTransaction1.active());
}

TEST_F(RecordEditing, EmptyingAskedConfirmedOrRefused)
{
    QObject save;
    db::QueryDataSet query(&first.IBDatabase1);
    query.sql() << QStringLiteral("SELECT * FROM TABX");
    QVariant bookmark;
    bool valid = false;
    first.AggiornaTabella(query, bookmark, false);

    prompter.answers = {MessageAnswer::No};
    first.Azzera(query, bookmark, valid, &save, QStringLiteral("TABX"));
    EXPECT_EQ(rows().size(), 3);

    // A row locked by the other workstation makes the emptying fail.
    db::TableDataSet b;
    bind(b, second, nullptr);
    ASSERT_TRUE(b.edit());
    prompter.messages.clear();
    first.Azzera(query, bookmark, valid, &save, QStringLiteral("TABX"));
    EXPECT_EQ(prompter.messages.value(1),
              (QPair<MessageKind, QString>{MessageKind::Plain, QStringLiteral("Impossibile azzerare la tabella!")}));
    EXPECT_EQ(rows().size(), 3);
    second.IBTransaction1.rollback();

    first.Azzera(query, bookmark, valid, &save, QStringLiteral("TABX"));
    EXPECT_TRUE(rows().isEmpty());
    EXPECT_TRUE(query.active());
    EXPECT_EQ(query.recordCount(), 0);

    exec({QStringLiteral("INSERT INTO TABX (CODICE) VALUES (9)")});
    db::TableDataSet table;
    bind(table, first, &save);
    first.Azzera(table, bookmark, valid, &save, QStringLiteral("ignored for a table"));
    EXPECT_TRUE(rows().isEmpty());
    EXPECT_EQ(prompter.texts().count(QStringLiteral("Confermare l'azzeramento della tabella?")), 3);
}

TEST_F(RecordEditing, RefreshByButtonSavesOrDropsPendingChanges)
{
    QObject save;
    db::TableDataSet data;
    bind(data, first, &save);
    QVariant bookmark;
    bool valid = false;

    data.setFieldValue(QStringLiteral("TESTO"), QStringLiteral("scartato"));
    prompter.answers = {MessageAnswer::No};
    first.AggiornamentoDaPulsante(data, bookmark, valid, &save);
    EXPECT_EQ(rows().value(0), QStringLiteral("1|a"));
    EXPECT_EQ(tag(save), 0);
    EXPECT_TRUE(data.active());

    data.setFieldValue(QStringLiteral("TESTO"), QStringLiteral("salvato"));
    prompter.answers = {MessageAnswer::Yes};
    first.AggiornamentoDaPulsante(data, bookmark, valid, &save);
    EXPECT_EQ(rows().value(0), QStringLiteral("1|salvato"));
    EXPECT_EQ(prompter.messages.size(), 2);
}

} // namespace
