#include "shell/LoginSteps.h"

#include "data/TabX.h"
#include "db/Query.h"
#include "platform/Prompter.h"
#include "sessions/WorkSessions.h"
#include "shell/StartFunction.h"

namespace tg {
namespace {
const QString ConfigurationError = QStringLiteral("E' stato trovato un errore nella configurazione dell'utente ");
}

LoginSteps::LoginSteps(TTabXForm &module, db::Query &query, WorkSessions &sessions)
    : m_module(module), m_query(query), m_sessions(sessions)
{
}

bool LoginSteps::passwordAccepted(const QString &userName, const QString &password)
{
    if (!userName.isEmpty() && m_module.VerificaPasswordUser(userName, password))
        return true;
    showMessage(MessageKind::Error, QStringLiteral("Accesso negato: scegliere un'utente ed inserire l'eventuale "
                                                   "password. Fare attenzione al maiuscolo / minuscolo"));
    return false;
}

void LoginSteps::enter(const QString &userName)
{
    m_module.SetUserPerNome(userName);
    m_sessions.ApriSessione(m_module.GetNumUser());
}

bool LoginSteps::readWholeNumber(const QString &userName, const QString &source, const QString &text, int &number)
{
    int value = 0;
    if (!wholeNumber(text, value)) {
        showMessage(MessageKind::Error, ConfigurationError + userName + QStringLiteral(": ") + source
                                            + QStringLiteral(" non è un numero intero (\"") + text
                                            + QStringLiteral("\")"));
        return false;
    }
    number = value;
    return true;
}

LoginSteps::UserRow LoginSteps::readUserRow()
{
    // One read of the user's row serves the editor's right, the flag and
    // the configuration: over a network each statement costs round trips.
    m_query.close();
    m_query.sql() = QStringList{QStringLiteral("SELECT ACCESSOQUADREL,PROFILOSICUREZZA,PROGETTO,MANTIENISTDMIN"),
                                QStringLiteral("FROM UTENTI WHERE CODICE='%1'").arg(m_module.GetNumUser())};
    m_query.open();
    UserRow row;
    row.editsParameters = m_query.fieldByName(QStringLiteral("ACCESSOQUADREL")).asText() == QLatin1String("1");
    row.profile = m_query.fieldByName(QStringLiteral("PROFILOSICUREZZA")).asText();
    row.project = m_query.fieldByName(QStringLiteral("PROGETTO")).asText();
    row.keepsStandardMinimum = m_query.fieldByName(QStringLiteral("MANTIENISTDMIN")).asText() == QLatin1String("1");
    m_query.close();
    return row;
}

bool LoginSteps::readNumbers(const UserRow &row, const QString &userName, bool strict,
                             UserConfiguration &configuration)
{
    // An empty text leaves the number as it is; a malformed one is shown,
    // and stops the reading when strict.
    const auto read = [&](const QString &source, const QString &text, int &number) {
        return text.isEmpty() || readWholeNumber(userName, source, text, number) || !strict;
    };
    if (!read(QStringLiteral("PROGETTO"), row.project, configuration.project)
        || !read(QStringLiteral("PROFILOSICUREZZA"), row.profile, configuration.profile))
        return false;
    QString parameter;
    m_module.CaricaParametro(QStringLiteral("PROFILO SICUREZZA"), parameter);
    if (!read(QStringLiteral("il parametro PROFILO SICUREZZA"), parameter, configuration.profile))
        return false;
    m_module.CaricaParametro(QStringLiteral("PROGETTO"), parameter);
    return read(QStringLiteral("il parametro PROGETTO"), parameter, configuration.project);
}

UserConfiguration LoginSteps::readConfiguration(const QString &userName)
{
    const UserRow row = readUserRow();
    UserConfiguration configuration;
    configuration.editsParameters = row.editsParameters;
    configuration.keepsStandardMinimum = row.keepsStandardMinimum;
    if (row.profile.isEmpty() && !row.keepsStandardMinimum) {
        showMessage(MessageKind::Error, ConfigurationError + userName + QStringLiteral(": manca il profilo sicurezza"));
        return configuration;
    }
    if (row.project.isEmpty()) {
        showMessage(MessageKind::Error, ConfigurationError + userName + QStringLiteral(": manca il progetto"));
        return configuration;
    }
    configuration.valid = readNumbers(row, userName, true, configuration);
    return configuration;
}

UserConfiguration LoginSteps::readProjectAndProfile(const QString &userName)
{
    const UserRow row = readUserRow();
    UserConfiguration configuration;
    configuration.editsParameters = row.editsParameters;
    configuration.keepsStandardMinimum = row.keepsStandardMinimum;
    configuration.valid = readNumbers(row, userName, false, configuration);
    return configuration;
}

} // namespace tg
