// The per-user parameter store of the data module: parameters of the
// current company read and written one at a time in TABQUADREL, and their
// text rendering kept in UTENTI.QUADREL.

#include "data/QuadrelText.h"
#include "data/TabX.h"
#include "db/DatabaseError.h"
#include "db/SqlText.h"
#include "platform/ExecutableDirectory.h"
#include "platform/IniFile.h"
#include "platform/Logging.h"
#include "platform/Prompter.h"

#include <QDir>

namespace tg {
namespace {

QStringList parameterKeyLines(int user, const QString &section, const QString &key)
{
    return {QStringLiteral("(UTENTE='%1')AND").arg(user),
            QStringLiteral("(INTESTAZIONE='") + db::quotedValue(section) + QStringLiteral("')AND"),
            QStringLiteral("(PARAMETRO='") + db::quotedValue(key) + QStringLiteral("')")};
}

// Runs a write and commits it; a failure is shown with its message.
void executeAndCommit(db::Query &query, db::Transaction &transaction, const QString &failureMessage)
{
    try {
        query.execSql();
        transaction.commit();
    } catch (const db::DatabaseError &error) {
        qCWarning(lcCompanies).noquote() << "Writing the parameters (" + query.sql().value(0) + ") failed:"
                                         << error.message();
        showMessage(MessageKind::Error, failureMessage);
    }
}

} // namespace

void TTabXForm::CaricaParametro(const QString &key, QString &value)
{
    value.clear();
    openUserQuery(QStringList{QStringLiteral("SELECT VALORE FROM TABQUADREL WHERE")}
                  + parameterKeyLines(m_userNumber, m_currentCompany, key));
    if (!QueryQuadrel.eof())
        value = QueryQuadrel.field(0).asText();
}

void TTabXForm::SettaParametro(const QString &key, const QString &value)
{
    ScriviParametroQuadrel(m_currentCompany, key, value);
    ScriviQuadrel(m_userNumber);
}

void TTabXForm::ScriviParametroQuadrel(const QString &section, const QString &key, const QString &value)
{
    {
        db::Query query(&IBDatabaseUser, &TransazioneUser);
        // Start from what is committed now; whatever was left pending in the
        // user transaction is dropped.
        TransazioneUser.rollback();
        TransazioneUser.start();
        const QStringList keyLines = parameterKeyLines(m_userNumber, section, key);
        query.sql() = QStringList{QStringLiteral("SELECT * FROM TABQUADREL WHERE")} + keyLines;
        query.open();
        const bool exists = !query.eof();
        query.close();
        const QString quotedValue = QLatin1Char('\'') + db::quotedValue(value) + QLatin1Char('\'');
        if (exists) {
            query.sql() = QStringList{QStringLiteral("UPDATE TABQUADREL SET"),
                                      value.isEmpty() ? QStringLiteral("VALORE=NULL")
                                                      : QStringLiteral("VALORE=") + quotedValue,
                                      QStringLiteral("WHERE ") + keyLines[0], keyLines[1], keyLines[2]};
            executeAndCommit(query, TransazioneUser,
                             QStringLiteral("Errore interno di UPDATE: impossibile aggiornare la tabella dei parametri"));
        } else {
            query.sql() = QStringList{QStringLiteral("SELECT MAX(PROGRESSIVO) FROM TABQUADREL"),
                                      QStringLiteral("WHERE (UTENTE='%1')").arg(m_userNumber)};
            query.open();
            const qint64 position = (query.eof() ? 0 : query.field(0).asInteger()) + 1;
            query.close();
            query.sql() = QStringList{
                QStringLiteral("INSERT INTO TABQUADREL (UTENTE,INTESTAZIONE,PARAMETRO,VALORE,"),
                QStringLiteral("PROGRESSIVO) VALUES("),
                QStringLiteral("'%1',").arg(m_userNumber),
                QLatin1Char('\'') + db::quotedValue(section) + QStringLiteral("',"),
                QLatin1Char('\'') + db::quotedValue(key) + QStringLiteral("',"),
                value.isEmpty() ? QStringLiteral("NULL,") : quotedValue + QLatin1Char(','),
                QStringLiteral("'%1')").arg(position)};
            executeAndCommit(query, TransazioneUser,
                             QStringLiteral("Errore interno di INSERT: impossibile aggiornare la tabella dei parametri"));
        }
    }
    ScriviQuadrel(m_userNumber);
}

QString TTabXForm::renderQuadrel(db::Query &rows)
{
    QVector<TQuadrel> entries;
    const int sectionField = rows.fieldIndex(QStringLiteral("INTESTAZIONE"));
    const int keyField = rows.fieldIndex(QStringLiteral("PARAMETRO"));
    const int valueField = rows.fieldIndex(QStringLiteral("VALORE"));
    for (; !rows.eof(); rows.next())
        entries.append({rows.field(sectionField).asText(), rows.field(keyField).asText(),
                        rows.field(valueField).asText()});
    return tg::renderQuadrel(entries);
}

void TTabXForm::ScriviQuadrel(int userNumber)
{
    openUserQuery({QStringLiteral("SELECT * FROM TABQUADREL WHERE"), QStringLiteral("(UTENTE='%1')AND").arg(userNumber),
                   QStringLiteral("(INTESTAZIONE IS NOT NULL)"),
                   QStringLiteral("ORDER BY INTESTAZIONE,PROGRESSIVO,UTENTE")});
    QueryQuadrel.fetchAll();
    const QString text = renderQuadrel(QueryQuadrel);
    QueryQuadrel.close();
    QueryQuadrel.sql() = QStringList{
        text.isEmpty() ? QStringLiteral("UPDATE UTENTI SET QUADREL=NULL WHERE")
                       : QStringLiteral("UPDATE UTENTI SET QUADREL='") + db::quotedValue(text) + QStringLiteral("' WHERE"),
        QStringLiteral("CODICE='%1'").arg(userNumber)};
    executeAndCommit(QueryQuadrel, TransazioneUser,
                     QStringLiteral("Errore interno di UPDATE: impossibile aggiornare i parametri quadrel dell'utente"));
}

QString TTabXForm::fileIniPath() const
{
    return ExecutableDirectory::path() + QStringLiteral("NOMIDIT/USERCFG/") + QString::number(m_userNumber)
           + QLatin1Char(' ') + m_userName + QStringLiteral(".INI");
}

void TTabXForm::SettaFileIni(const QString &section, const QString &key, const QString &value)
{
    QDir().mkpath(ExecutableDirectory::path() + QStringLiteral("NOMIDIT/USERCFG"));
    IniFile(fileIniPath()).writeString(section, key, value);
}

void TTabXForm::CaricaQuadrel(int userNumber)
{
    // The parameter set is read from the rows when needed; nothing is loaded.
    Q_UNUSED(userNumber);
}

} // namespace tg
