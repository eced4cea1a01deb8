#pragma once

#include "db/Query.h"
#include "db/Transaction.h"

#include <QObject>

namespace tg {

namespace db {
class Database;
}

// Reads the translations of menu captions in the current user's languages,
// on the user database in a transaction of its own that lives as long as the
// reader. The look-up statement is prepared once and kept.
class TLingueMenuReader : public QObject {
    Q_OBJECT

public:
    TLingueMenuReader(QObject *owner, db::Database *connection);

    // Takes the languages of a user (0 for none; errors leave them as read).
    void LeggiLingueUtente(int utente);
    bool HaLingue() const { return Lingua1 != 0 || Lingua2 != 0; }
    // The translation in the first language that has a non-empty one.
    bool Traduci(int programma, int menu, QString &testo);
    bool TraduciInLingua(int programma, int menu, int lingua, QString &testo);

    int Lingua1 = 0;
    int Lingua2 = 0;

private:
    db::Database *m_connection;
    db::Transaction m_transaction;
    db::Query m_lookup;
};

} // namespace tg
