#include "menu/LingueMenuReader.h"

#include "db/DatabaseError.h"
#include "platform/Logging.h"

namespace tg {

TLingueMenuReader::TLingueMenuReader(QObject *owner, db::Database *connection)
    : QObject(owner), m_connection(connection), m_transaction(connection), m_lookup(connection, &m_transaction)
{
    m_transaction.start();
}

void TLingueMenuReader::LeggiLingueUtente(int utente)
{
    Lingua1 = 0;
    Lingua2 = 0;
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
