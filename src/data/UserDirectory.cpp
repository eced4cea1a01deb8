// The user directory: look-ups in UTENTI and the choice of the module's
// current user. Every statement runs on QueryQuadrel in TransazioneUser;
// only SetUserPerNum and ProfiloSicurezzaUtente restart the transaction,
// to read what other programs have committed since.

#include "data/TabX.h"
#include "db/SqlText.h"

namespace tg {

void TTabXForm::openUserQuery(const QStringList &lines)
{
    QueryQuadrel.close();
    QueryQuadrel.sql() = lines;
    QueryQuadrel.open();
}

QString TTabXForm::whereUserName(const QString &name)
{
    return QStringLiteral("WHERE (NOMEUTENTE='") + db::quotedValue(name) + QStringLiteral("')");
}

void TTabXForm::CaricaUser(QStringList &list)
{
    openUserQuery({QStringLiteral("SELECT NOMEUTENTE FROM UTENTI"), QStringLiteral("ORDER BY CODICE")});
    QueryQuadrel.fetchAll();
    for (; !QueryQuadrel.eof(); QueryQuadrel.next())
        list << QueryQuadrel.field(0).asText();
}

bool TTabXForm::VerificaPasswordUser(const QString &name, const QString &password)
{
    openUserQuery({QStringLiteral("SELECT PWDUTENTE FROM UTENTI"), whereUserName(name)});
    if (QueryQuadrel.eof())
        return false;
    const QString stored = QueryQuadrel.field(0).asText();
    // No stored password lets any password in; otherwise an exact match,
    // case included, without trimming.
    return stored.isEmpty() || stored == password;
}

int TTabXForm::NumUserPerNome(const QString &name)
{
    openUserQuery({QStringLiteral("SELECT CODICE FROM UTENTI"), whereUserName(name)});
    return QueryQuadrel.eof() ? 0 : static_cast<int>(QueryQuadrel.field(0).asInteger());
}

void TTabXForm::SetUserPerNum(int number)
{
    m_userNumber = number;
    // The name of the user with this number, and the password and the
    // company of the first user of that name, as the look-ups by name give
    // them: one statement after a fresh start (the company must be read as
    // other programs have committed it), not five over the network.
    QueryQuadrel.close();
    QueryQuadrel.sql().clear();
    TransazioneUser.rollback();
    TransazioneUser.start();
    openUserQuery({QStringLiteral("SELECT N.NOMEUTENTE,U.PWDUTENTE,U.DITTA FROM"),
                   QStringLiteral("(SELECT COALESCE((SELECT FIRST 1 NOMEUTENTE FROM UTENTI WHERE CODICE='%1'),'')")
                       .arg(number),
                   QStringLiteral("NOMEUTENTE FROM RDB$DATABASE) N"),
                   QStringLiteral("LEFT JOIN UTENTI U ON U.NOMEUTENTE=N.NOMEUTENTE")});
    m_userName = QueryQuadrel.field(0).asText();
    m_userPassword = QueryQuadrel.field(1).asText();
    m_currentCompany = QueryQuadrel.field(2).asText();
    CaricaQuadrel(number);
}

void TTabXForm::SetUserPerNome(const QString &name)
{
    SetUserPerNum(NumUserPerNome(name));
}

int TTabXForm::ProfiloSicurezzaUtente()
{
    TransazioneUser.rollback();
    TransazioneUser.start();
    openUserQuery({QStringLiteral("SELECT PROFILOSICUREZZA"), QStringLiteral("FROM UTENTI"),
                   QStringLiteral("WHERE CODICE='%1'").arg(m_userNumber)});
    return QueryQuadrel.eof() ? 0 : static_cast<int>(QueryQuadrel.field(0).asInteger());
}

void TTabXForm::DecodificaNomeUser(int number, QString &name)
{
    name.clear();
    db::Query query(&IBDatabaseUser, &TransazioneUser);
    query.sql() << QStringLiteral("SELECT NOMEUTENTE") << QStringLiteral("FROM UTENTI")
                << QStringLiteral("WHERE CODICE=%1").arg(number);
    query.open();
    if (!query.eof())
        name = query.field(0).asText();
}

} // namespace tg
