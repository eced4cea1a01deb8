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
    int project = 0;
    int profile = 0;
    if (!readWholeNumber(userName, QStringLiteral("PROGETTO"), row.project, project))
        return configuration;
    if (!row.profile.isEmpty() && !readWholeNumber(userName, QStringLiteral("PROFILOSICUREZZA"), row.profile, profile))
        return configuration;
    QString parameter;
    m_module.CaricaParametro(QStringLiteral("PROFILO SICUREZZA"), parameter);
    if (!parameter.isEmpty()
        && !readWholeNumber(userName, QStringLiteral("il parametro PROFILO SICUREZZA"), parameter, profile))
        return configuration;
    m_module.CaricaParametro(QStringLiteral("PROGETTO"), parameter);
    if (!parameter.isEmpty() && !readWholeNumber(userName, QStringLiteral("il parametro PROGETTO"), parameter, project))
        return configuration;
    configuration.valid = true;
    configuration.project = project;
    configuration.profile = profile;
    return configuration;
}

UserConfiguration LoginSteps::readProjectAndProfile(const QString &userName)
{
    const UserRow row = readUserRow();
    UserConfiguration configuration;
    configuration.editsParameters = row.editsParameters;
    configuration.keepsStandardMinimum = row.keepsStandardMinimum;
    if (!row.project.isEmpty())
        readWholeNumber(userName, QStringLiteral("PROGETTO"), row.project, configuration.project);
    if (!row.profile.isEmpty())
        readWholeNumber(userName, QStringLiteral("PROFILOSICUREZZA"), row.profile, configuration.profile);
    QString parameter;
    m_module.CaricaParametro(QStringLiteral("PROFILO SICUREZZA"), parameter);
    if (!parameter.isEmpty())
        readWholeNumber(userName, QStringLiteral("il parametro PROFILO SICUREZZA"), parameter, configuration.profile);
    m_module.CaricaParametro(QStringLiteral("PROGETTO"), parameter);
    if (!parameter.isEmpty())
        readWholeNumber(userName, QStringLiteral("il parametro PROGETTO"), parameter, configuration.project);
    configuration.valid = true;
    return configuration;
}

} // namespace tg
