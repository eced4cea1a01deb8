// New integer keys for the first field of a data-entry window's table, and
// the generators behind them. Each statement runs on a new query of the data
// set's connection, in that connection's default transaction. A generator
// value once taken is never given again, even when the row that got it is
// never saved; the keys read from the rows (last, maximum) can collide when
// two workstations add at the same moment.

#include "data/TabX.h"
#include "db/DataSet.h"
#include "db/DatabaseError.h"
#include "db/SqlText.h"
#include "platform/Logging.h"

namespace tg {
namespace {

// A statement on the data set's connection, in its default transaction.
class ConnectionQuery : public db::Query {
public:
    explicit ConnectionQuery(db::DataSet &dataSet)
        : db::Query(dataSet.database(), dataSet.database() ? dataSet.database()->defaultTransaction() : nullptr)
    {
    }
};

qint64 nextGeneratorValue(db::DataSet &dataSet, const QString &generator)
{
    ConnectionQuery query(dataSet);
    query.sql() << QStringLiteral("SELECT GEN_ID(") + generator + QStringLiteral(",1) FROM RDB$DATABASE;");
    query.open();
    return query.field(0).asInteger();
}

} // namespace

void TTabXForm::NuovoIntSuLast(db::DataSet &dataSet, QVariant &bookmark, bool &valid, QObject *saveButton)
{
    ChiudiTransEAggiorna(dataSet, bookmark, valid, saveButton);
    dataSet.last();
    const qint64 number = dataSet.field(0).asInteger(); // 0 for an empty data set or a NULL key
    dataSet.append();
    dataSet.setFieldValue(0, QVariant::fromValue<qlonglong>(number + 1));
    ChiudiTransEAggiorna(dataSet, bookmark, valid, saveButton);
}

void TTabXForm::NuovoIntSuMax(db::DataSet &dataSet, QVariant &bookmark, bool &valid, QObject *saveButton,
                              const QString &tableName)
{
    ChiudiTransEAggiorna(dataSet, bookmark, valid, saveButton);
    qint64 number = 0;
    {
        ConnectionQuery query(dataSet);
        query.sql() << QStringLiteral("SELECT MAX(") + dataSet.firstFieldName() + QStringLiteral(") FROM ") + tableName;
        query.open();
        number = query.field(0).asInteger(); // an empty table gives NULL: 0
    }
    dataSet.append();
    dataSet.setFieldValue(0, QVariant::fromValue<qlonglong>(number + 1));
    ChiudiTransEAggiorna(dataSet, bookmark, valid, saveButton);
}

void TTabXForm::NuovoIntSuGeneratore(db::DataSet &dataSet, QVariant &bookmark, bool &valid, QObject *saveButton,
                                     const QString &, const QString &generator)
{
    ChiudiTransEAggiorna(dataSet, bookmark, valid, saveButton);
    const qint64 number = nextGeneratorValue(dataSet, generator);
    dataSet.append();
    dataSet.setFieldValue(0, QVariant::fromValue<qlonglong>(number));
    dataSet.post();
    // The row is written but not committed: the window saves or cancels it.
    setSaveButtonPending(saveButton, true);
}

void TTabXForm::NuovoIntSuGenSQL(db::DataSet &dataSet, QVariant &bookmark, bool &valid, QObject *saveButton,
                                 const QString &tableText, const QString &generator)
{
    valid = false;
    ChiudiTransEAggiorna(dataSet, bookmark, valid, saveButton);
    const qint64 number = nextGeneratorValue(dataSet, generator);
    {
        // The table text follows "INSERT " directly: callers put "INTO "
        // at its start, or the server refuses the statement.
        ConnectionQuery insert(dataSet);
        insert.sql() << QStringLiteral("INSERT ") + tableText + QLatin1Char('(') + dataSet.firstFieldName()
                            + QLatin1Char(')')
                     << QStringLiteral("VALUES (%1)").arg(number);
        insert.execSql();
    }
    valid = false;
    ChiudiTransEAggiorna(dataSet, bookmark, valid, saveButton);
    dataSet.first();
}

bool TTabXForm::CreaGeneratore(db::DataSet &dataSet, QVariant &bookmark, bool &valid, QObject *saveButton,
                               const QString &generator)
{
    try {
        {
            ConnectionQuery statement(dataSet);
            statement.sql() << QStringLiteral("CREATE GENERATOR ") + generator;
            statement.execSql();
        }
        ChiudiTransEAggiorna(dataSet, bookmark, valid, saveButton);
        return true;
    } catch (const db::DatabaseError &error) {
        qCWarning(lcData).noquote() << "Creating the generator" << generator << "failed:" << error.message();
        return false;
    }
}

bool TTabXForm::SetGeneratore(db::DataSet &dataSet, QVariant &bookmark, bool &valid, QObject *saveButton,
                              const QString &generator, int value)
{
    bool result = true;
    try {
        ConnectionQuery statement(dataSet);
        statement.sql() << QStringLiteral("SET GENERATOR ") + generator + QStringLiteral(" TO %1;").arg(value);
        statement.execSql();
    } catch (const db::DatabaseError &error) {
        qCWarning(lcData).noquote() << "Setting the generator" << generator << "failed:" << error.message();
        result = false;
    }
    ChiudiTransEAggiorna(dataSet, bookmark, valid, saveButton);
    return result;
}

bool TTabXForm::CheckGeneratore(db::DataSet &dataSet, const QString &generator)
{
    // The name is compared as the server stores it: upper case for a
    // generator created without quotes.
    ConnectionQuery query(dataSet);
    query.sql() << QStringLiteral("SELECT RDB$GENERATOR_NAME") << QStringLiteral("FROM RDB$GENERATORS")
                << QStringLiteral("WHERE RDB$GENERATOR_NAME='") + db::quotedValue(generator) + QStringLiteral("';");
    query.open();
    return !query.eof();
}

void TTabXForm::ValoreGeneratore(const QString &generator, QString &value)
{
    // Always on the company archive, whatever database the caller works on;
    // the transaction stays as it is.
    db::Query query(&IBDatabase1, &IBTransaction1);
    query.sql() << QStringLiteral("SELECT") << QStringLiteral("  GEN_ID(") + generator + QStringLiteral(",1) AS VALORE")
                << QStringLiteral("FROM") << QStringLiteral("  RDB$DATABASE");
    query.open();
    value = query.fieldByName(QStringLiteral("VALORE")).asText();
}

} // namespace tg
