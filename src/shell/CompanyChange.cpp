#include "shell/CompanyChange.h"

#include "data/TabX.h"
#include "db/DatabaseError.h"
#include "db/Query.h"
#include "db/SqlText.h"
#include "db/Transaction.h"
#include "platform/Logging.h"
#include "platform/Prompter.h"
#include "sessions/StatementDump.h"

namespace tg {

CompanyChange::CompanyChange(TTabXForm &module, db::Query &query, db::Transaction &transaction)
    : m_module(module), m_query(query), m_transaction(transaction)
{
}

QString CompanyChange::nextCompany(const QStringList &companies, const QString &current)
{
    if (companies.isEmpty())
        return {};
    qsizetype index = -1;
    for (qsizetype i = 0; i < companies.size() && index < 0; ++i)
        if (companies.at(i).compare(current, Qt::CaseInsensitive) == 0)
            index = i;
    const qsizetype next = index == companies.size() - 1 ? 0 : index + 1;
    return companies.at(next);
}

bool CompanyChange::writeUserCompany(const QString &company)
{
    m_query.close();
    m_query.sql() = QStringList{QStringLiteral("UPDATE UTENTI SET DITTA='") + db::quotedValue(company) + QStringLiteral("' WHERE"),
                                QStringLiteral("CODICE='%1'").arg(m_module.GetNumUser())};
    // The fresh start of the transaction is part of the write: when the
    // user database is gone it fails here, and is reported as the write.
    try {
        m_transaction.rollback();
        m_transaction.start();
        m_query.execSql();
        m_transaction.commit();
        return true;
    } catch (const db::DatabaseError &error) {
        qCWarning(lcCompanies).noquote() << "Recording company" << company << "for the user failed:" << error.message();
        saveStatementDump(QStringLiteral("CambioDitta"), m_query.sql());
        showMessage(MessageKind::Error, QStringLiteral("Errore interno: impossibile effettuare il cambio ditta. Riprovare"));
        return false;
    }
}

bool CompanyChange::recordAndReselectUser(const QString &company)
{
    if (!writeUserCompany(company))
        return false;
    // Setting the user again takes the company from UTENTI.DITTA.
    QString userName;
    m_module.GetNomeUser(userName);
    m_module.SetUserPerNome(userName);
    return true;
}

void CompanyChange::connectArchive(db::Query &archiveQuery)
{
    try {
        QString archive;
        m_module.CaricaParametro(QStringLiteral("Archivio"), archive);
        m_module.SetV(QStringLiteral("Archivio"), archive);
        // The named value keeps only the first characters of a long path:
        // connected through it, such a path would be cut short and a new,
        // empty database created where nobody asked for one. The path is
        // connected as the parameter gives it then.
        QString named;
        m_module.GetV(QStringLiteral("Archivio"), named);
        if (named == archive)
            m_module.ConnettiDatabase1(QStringLiteral("Archivio"));
        else
            m_module.ConnettiDatabase0(archive);
        archiveQuery.close();
        archiveQuery.setDatabase(&m_module.IBDatabase1);
        archiveQuery.setTransaction(&m_module.IBTransaction1);
    } catch (const std::exception &error) {
        // The change goes on without the archive; its own message, if any,
        // has been shown.
        qCWarning(lcCompanies).noquote() << "Connecting the company archive failed, the user goes on without it:"
                                         << QString::fromUtf8(error.what());
    }
}

bool CompanyChange::recordForUser(int userNumber, const QString &company)
{
    m_query.close();
    m_transaction.rollback();
    m_transaction.start();
    m_query.sql() = QStringList{QStringLiteral("SELECT DITTA FROM UTENTI"),
                                QStringLiteral("WHERE CODICE='%1'").arg(userNumber)};
    m_query.open();
    const bool found = !m_query.eof();
    const QString stored = found ? m_query.field(0).asText() : QString();
    m_query.close();
    return recordIfChanged(userNumber, company, found, stored);
}

bool CompanyChange::recordIfChanged(int userNumber, const QString &company, bool userFound,
                                    const QString &storedCompany)
{
    if (!userFound || storedCompany == company)
        return true;
    m_query.sql() = QStringList{QStringLiteral("UPDATE UTENTI SET DITTA='") + db::quotedValue(company) + QLatin1Char('\''),
                                QStringLiteral("WHERE CODICE='%1'").arg(userNumber)};
    try {
        m_query.execSql();
        m_transaction.commitRetaining();
        return true;
    } catch (const db::DatabaseError &error) {
        qCWarning(lcCompanies).noquote() << "Recording company" << company << "for user" << userNumber
                                         << "before a function failed:" << error.message();
        showMessage(MessageKind::Error, QStringLiteral("Errore interno di lettura parametro ditta"));
        return false;
    }
}

} // namespace tg
