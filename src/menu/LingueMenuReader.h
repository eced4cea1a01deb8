#pragma once

#include "db/Transaction.h"

#include <QObject>

namespace tg {

namespace db {
class Database;
}

// Reads the translations of menu captions in the current user's languages,
// on the user database in a transaction of its own that lives as long as the
// reader.
class TLingueMenuReader : public QObject {
    Q_OBJECT

public:
    TLingueMenuReader(QObject *owner, db::Database *connection);

    int Lingua1() const { return m_lingua1; }
    int Lingua2() const { return m_lingua2; }
    db::Database *connection() const { return m_connection; }
    db::Transaction &transaction() { return m_transaction; }

private:
    db::Database *m_connection;
    db::Transaction m_transaction;
    int m_lingua1 = 0;
    int m_lingua2 = 0;
};

} // namespace tg
