// Record editing for data-entry windows: saving commits and reopens the data
// set where it was, cancelling rolls back, deleting and emptying ask first
// and cope with other workstations' changes, and an edit first takes the
// row's write lock with a dummy update so that two users never edit one row
// at once. On the company archive the transaction does not wait on a lock,
// so the second editor is refused at once.

#include "data/TabX.h"
#include "db/DataSet.h"
#include "db/DatabaseError.h"
#include "db/TableDataSet.h"
#include "platform/Logging.h"
#include "platform/Prompter.h"

namespace tg {
namespace {

const char *const TagProperty = "tag";

// The transaction the data set runs in.
db::Transaction &dataSetTransaction(db::DataSet &dataSet)
{
    db::Transaction *transaction = dataSet.transaction();
    if (!transaction)
        throw db::DatabaseError(QStringLiteral("Transaction not assigned"));
    return *transaction;
}

// The default transaction of the data set's connection.
db::Transaction &connectionTransaction(db::DataSet &dataSet)
{
    db::Transaction *transaction = dataSet.database() ? dataSet.database()->defaultTransaction() : nullptr;
    if (!transaction)
        throw db::DatabaseError(QStringLiteral("Transaction not assigned"));
    return *transaction;
}

// Rolls back and starts again: pending changes are dropped, and the new
// snapshot sees what other workstations committed meanwhile.
void restart(db::Transaction &transaction)
{
    transaction.rollback();
    transaction.start();
}

bool confirmed(const QString &question)
{
    return Prompter::current().show(MessageKind::Confirmation, question, MessageButtons::YesNo)
           == MessageAnswer::Yes;
}

} // namespace

int TTabXForm::saveButtonTag(const QObject *saveButton)
{
    return saveButton ? saveButton->property(TagProperty).toInt() : 0;
}

void TTabXForm::setSaveButtonPending(QObject *saveButton, bool pending)
{
    if (!saveButton)
        return;
    saveButton->setProperty(TagProperty, pending ? 1 : 0);
    // The window shows the picture: a missing bitmap leaves its button
    // without one.
    emit pendingChangesChanged(saveButton, pending);
}

void TTabXForm::AggiornaTabella(db::DataSet &dataSet, QVariant bookmark, bool valid)
{
    dataSet.close();
    restart(dataSetTransaction(dataSet));
    dataSet.open();
    if (valid)
        dataSet.gotoBookmark(bookmark); // the row may be gone: stay where opening left us
    if (dataSet.isTable()) {
        auto &table = static_cast<db::TableDataSet &>(dataSet);
        // A table without indexes keeps the server's order.
        const QStringList indexes = table.indexNames();
        if (!indexes.isEmpty())
            table.selectIndex(indexes.first());
    }
}

void TTabXForm::ChiudiTransazione(db::DataSet &dataSet, QVariant &bookmark, bool &valid, QObject *saveButton)
{
    if (dataSet.active()) {
        dataSet.post();
        bookmark = dataSet.bookmark();
        dataSetTransaction(dataSet).commit();
        valid = true;
    } else {
        dataSetTransaction(dataSet).commit();
        valid = false;
    }
    setSaveButtonPending(saveButton, false);
}

void TTabXForm::ChiudiTransEAggiorna(db::DataSet &dataSet, QVariant &bookmark, bool &valid, QObject *saveButton)
{
    ChiudiTransazione(dataSet, bookmark, valid, saveButton);
    AggiornaTabella(dataSet, bookmark, valid);
}

void TTabXForm::Annulla(db::DataSet &dataSet, QVariant &bookmark, bool &valid, QObject *saveButton)
{
    if (saveButtonTag(saveButton) != 1)
        return;
    if (!confirmed(QStringLiteral("Conferma l'annullamento delle modifiche apportate?")))
        return;
    setSaveButtonPending(saveButton, false);
    AggiornaTabella(dataSet, bookmark, valid);
}

bool TTabXForm::Elimina(db::DataSet &dataSet, QVariant &bookmark, bool &valid, QObject *saveButton)
{
    bool deleted = false;
    const QVariant localBookmark = dataSet.bookmark();
    const QString key = dataSet.firstFieldText();

    // Read again, to see what other workstations did (this window's pending
    // changes are dropped).
    AggiornaTabella(dataSet, localBookmark, valid);
    if (dataSet.recordCount() == 0) {
        showMessage(MessageKind::Information, QStringLiteral("La tabella è vuota"));
        return false;
    }
    if (!confirmed(QStringLiteral("Conferma la cacellazione del record?")))
        return false;
    if (!dataSet.locate(dataSet.firstFieldName(), key)) {
        showMessage(MessageKind::Warning, QStringLiteral("Questo record è già stato cancellato da un altro utente in "
                                                         "un'altra sessione di lavoro"));
        return false;
    }
    try {
        dataSet.deleteRow();
        ChiudiTransazione(dataSet, bookmark, valid, saveButton);
        deleted = true;
    } catch (const db::DatabaseError &error) {
        qCWarning(lcData).noquote() << "Deleting the record" << key << "failed:" << error.message();
        showMessage(MessageKind::Warning, QStringLiteral("Impossibile cancellare questo record, altri utenti stanno "
                                                         "lavorando su questo record."));
        return false;
    }
    // The local bookmark names the deleted row: the data set stays where
    // reopening leaves it.
    AggiornaTabella(dataSet, localBookmark, valid);
    return deleted;
}

void TTabXForm::Azzera(db::DataSet &dataSet, QVariant &bookmark, bool &valid, QObject *saveButton,
                       const QString &tableName)
{
    if (!confirmed(QStringLiteral("Confermare l'azzeramento della tabella?")))
        return;
    try {
        AggiornaTabella(dataSet, bookmark, valid);
        if (!dataSet.isTable()) {
            db::Query statement(dataSet.database(), &connectionTransaction(dataSet));
            statement.sql() << QStringLiteral("DELETE FROM ") + tableName;
            statement.execSql();
        } else {
            dataSet.close();
            static_cast<db::TableDataSet &>(dataSet).deleteAll();
        }
        ChiudiTransEAggiorna(dataSet, bookmark, valid, saveButton);
    } catch (const db::DatabaseError &error) {
        qCWarning(lcData).noquote() << "Emptying the table" << tableName << "failed:" << error.message();
        showMessage(MessageKind::Plain, QStringLiteral("Impossibile azzerare la tabella!"));
    }
}

void TTabXForm::Chiudi(db::DataSet &dataSet, QVariant &, bool &, QObject *saveButton)
{
    if (saveButtonTag(saveButton) != 1)
        return;
    if (confirmed(QStringLiteral("Salvare le modifiche apportate?")))
        return; // the changes stay pending in the transaction
    db::Transaction &transaction = connectionTransaction(dataSet);
    if (transaction.active())
        restart(transaction);
}

void TTabXForm::AggiornamentoDaPulsante(db::DataSet &dataSet, QVariant &bookmark, bool &valid,
                                        QObject *saveButton)
{
    if (saveButtonTag(saveButton) == 1) {
        if (confirmed(QStringLiteral("Attenzione: sono state fatte delle modifiche che non sono state ancora salvate. "
                                     "Prima di aggiornare la griglia si desidera salvare gli aggiornamenti?"))) {
            dataSet.post();
            setSaveButtonPending(saveButton, false);
        } else {
            restart(connectionTransaction(dataSet));
        }
    }
    ChiudiTransEAggiorna(dataSet, bookmark, valid, saveButton);
}

bool TTabXForm::EventoBeforeEditDataSet(db::DataSet &dataSet, QObject *saveButton, const QString &tableName)
{
    // A dummy update of the key takes the row's write lock until the
    // transaction ends. The key is an integer and goes in unquoted.
    const QString name = dataSet.firstFieldName();
    const QString key = dataSet.firstFieldText();
    try {
        db::Query lock(dataSet.database(), &connectionTransaction(dataSet));
        lock.sql() << QStringLiteral("UPDATE ") + tableName << QStringLiteral("SET ") + name + QLatin1Char('=') + key
                   << QStringLiteral("WHERE ") + name + QLatin1Char('=') + key;
        lock.execSql();
    } catch (const db::DatabaseError &error) {
        qCWarning(lcData).noquote() << "Locking the record" << key << "of" << tableName << "failed:" << error.message();
        showMessage(MessageKind::Warning,
                    QStringLiteral("Attenzione: altri utenti stanno lavorando su questo record. Provare ad aggiornare "
                                   "la griglia. Nel caso in cui questo messaggio riapparisse, provare ad editare il "
                                   "record in un secondo momento."));
        return false;
    }
    setSaveButtonPending(saveButton, true);
    return true;
}

} // namespace tg
