#include "menu/LingueMenuReader.h"

#include "db/DatabaseError.h"
#include "platform/Logging.h"

#include <QStringList>

namespace tg {
namespace {

// Beyond this many programs a read takes the translations of every program
// rather than list them all in the statement.
constexpr int MaxListedPrograms = 1000;

QString joinedNumbers(const QList<int> &numbers)
{
    QStringList texts;
    texts.reserve(numbers.size());
    for (int number : numbers)
        texts << QString::number(number);
    return texts.join(QLatin1Char(','));
}

} // namespace

TLingueMenuReader::TLingueMenuReader(QObject *owner, db::Database *connection)
    : QObject(owner), m_connection(connection), m_transaction(connection), m_lookup(connection, &m_transaction)
{
    // The transaction starts with the first reading (a login), not with the
    // program: nothing of it is needed on the login page.
}

void TLingueMenuReader::LeggiLingueUtente(int utente)
{
    Lingua1 = 0;
    Lingua2 = 0;
    forgetTranslations();
    try {
        db::Query query(m_connection, &m_transaction);
        query.sql() << QStringLiteral("SELECT LINGUA1,LINGUA2 FROM UTENTI WHERE CODICE=%1").arg(utente);
        query.open();
        if (!query.eof()) {
            Lingua1 = static_cast<int>(query.fieldByName(QStringLiteral("LINGUA1")).asInteger());
            Lingua2 = static_cast<int>(query.fieldByName(QStringLiteral("LINGUA2")).asInteger());
        }
    } catch (const db::DatabaseError &error) {
        // No languages can be read: captions stay as stored.
        qCWarning(lcCatalogue).noquote() << "Reading the menu languages of user" << utente << "failed:"
                                         << error.message();
    }
    if (!HaLingue())
        m_transaction.endWithCommit(); // nothing more to read for this user
}

bool TLingueMenuReader::Traduci(int programma, int menu, QString &testo)
{
    testo.clear();
    if (Lingua1 != 0 && TraduciInLingua(programma, menu, Lingua1, testo))
        return true;
    return Lingua2 != 0 && TraduciInLingua(programma, menu, Lingua2, testo);
}

bool TLingueMenuReader::TraduciInLingua(int programma, int menu, int lingua, QString &testo)
{
    testo.clear();
    if (!heldInMemory(lingua))
        return lookUp(programma, menu, lingua, testo);
    readTranslationsOf(programma);
    testo = m_translations.value(Key{programma, menu, lingua});
    return !testo.isEmpty();
}

void TLingueMenuReader::forgetTranslations()
{
    m_translations.clear();
    m_readPrograms.clear();
    m_allProgramsRead = false;
    m_readLingua1 = Lingua1;
    m_readLingua2 = Lingua2;
}

void TLingueMenuReader::readTranslationsOf(int programma)
{
    if (m_readLingua1 != Lingua1 || m_readLingua2 != Lingua2)
        forgetTranslations();
    if (m_allProgramsRead || m_readPrograms.contains(programma))
        return;
    QList<int> programs{programma};
    for (int announced : std::as_const(m_announced))
        if (announced != programma && !m_readPrograms.contains(announced))
            programs << announced;
    m_announced.clear();
    QList<int> languages;
    for (int language : {Lingua1, Lingua2})
        if (language != 0 && !languages.contains(language))
            languages << language;

    const bool listed = programs.size() <= MaxListedPrograms;
    if (listed) {
        for (int program : std::as_const(programs))
            m_readPrograms.insert(program);
    } else {
        m_allProgramsRead = true;
    }
    QStringList lines{QStringLiteral("SELECT PROGRAMMA,MENU,LINGUA,DESCRIZIONE FROM LINGUEMENU"),
                      QStringLiteral("WHERE (LINGUA IN (%1))").arg(joinedNumbers(languages))};
    if (listed)
        lines << QStringLiteral("AND (PROGRAMMA IN (%1))").arg(joinedNumbers(programs));
    // A failing read leaves these programs without translations, as a failing
    // look-up of each of their entries would.
    try {
        db::Query query(m_connection, &m_transaction);
        query.sql() = lines;
        query.open();
        query.fetchAll();
        for (; !query.eof(); query.next()) {
            const db::FieldValue program = query.field(0);
            const db::FieldValue menu = query.field(1);
            const db::FieldValue language = query.field(2);
            // A row without its key is never found by a look-up.
            if (program.isNull() || menu.isNull() || language.isNull())
                continue;
            const Key key{static_cast<int>(program.asInteger()), static_cast<int>(menu.asInteger()),
                          static_cast<int>(language.asInteger())};
            if (!m_translations.contains(key))
                m_translations.insert(key, query.field(3).asText());
        }
    } catch (const db::DatabaseError &error) {
        qCWarning(lcCatalogue).noquote() << "Reading the menu translations of programs" << joinedNumbers(programs)
                                         << "failed:" << error.message();
    }
    // What the login needs is in memory: no snapshot of the user database
    // is held open for the rest of the session (it would keep the server
    // from collecting old record versions); a later reading starts afresh.
    m_transaction.endWithCommit();
}

bool TLingueMenuReader::lookUp(int programma, int menu, int lingua, QString &testo)
{
    try {
        if (!m_lookup.prepared()) {
            m_lookup.sql() = QStringList{QStringLiteral("SELECT"),         QStringLiteral("  DESCRIZIONE"),
                                         QStringLiteral("FROM"),           QStringLiteral("  LINGUEMENU"),
                                         QStringLiteral("WHERE"),          QStringLiteral("  PROGRAMMA=:PROGRAMMA"),
                                         QStringLiteral("  AND"),          QStringLiteral("  MENU=:MENU"),
                                         QStringLiteral("  AND"),          QStringLiteral("  LINGUA=:LINGUA")};
            m_lookup.prepare();
        }
        m_lookup.setParam(QStringLiteral("PROGRAMMA"), programma);
        m_lookup.setParam(QStringLiteral("MENU"), menu);
        m_lookup.setParam(QStringLiteral("LINGUA"), lingua);
        m_lookup.open();
        if (!m_lookup.eof())
            testo = m_lookup.field(0).asText();
        m_lookup.close();
    } catch (const db::DatabaseError &error) {
        qCWarning(lcCatalogue).noquote() << "Translating menu" << menu << "of program" << programma << "into language"
                                         << lingua << "failed:" << error.message();
        m_lookup.close();
        testo.clear();
        return false;
    }
    return !testo.isEmpty();
}

} // namespace tg
