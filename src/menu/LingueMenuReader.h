#pragma once

#include "taskgate_core_export.h"

#include "db/Query.h"
#include "db/Transaction.h"

#include <QHash>
#include <QList>
#include <QObject>
#include <QSet>

namespace tg {

namespace db {
class Database;
}

// Reads the translations of menu captions in the current user's languages,
// on the user database in a transaction of its own, ended once a reading in
// bulk is done and started again by the next reading. The translations of the user's languages are read in bulk, a
// program at a time or all the programs of a catalogue at once, and looked
// up in memory; any other language is looked up row by row with a statement
// prepared once and kept.
class TASKGATE_CORE_EXPORT TLingueMenuReader : public QObject {
    Q_OBJECT

public:
    TLingueMenuReader(QObject *owner, db::Database *connection);

    // Takes the languages of a user (0 for none; errors leave them as read)
    // and forgets the translations read so far.
    void LeggiLingueUtente(int utente);
    bool HaLingue() const { return Lingua1 != 0 || Lingua2 != 0; }
    // The translation in the first language that has a non-empty one.
    bool Traduci(int programma, int menu, QString &testo);
    bool TraduciInLingua(int programma, int menu, int lingua, QString &testo);

    // The programs whose captions are about to be asked for: the first
    // translation asked for after this reads those of all of them in one
    // statement.
    void announcePrograms(const QList<int> &programs) { m_announced = programs; }

    int Lingua1 = 0;
    int Lingua2 = 0;

private:
    struct Key {
        int program;
        int menu;
        int language;
        bool operator==(const Key &other) const
        {
            return program == other.program && menu == other.menu && language == other.language;
        }
    };
    friend size_t qHash(const Key &key, size_t seed) { return qHashMulti(seed, key.program, key.menu, key.language); }

    bool heldInMemory(int lingua) const { return lingua != 0 && (lingua == Lingua1 || lingua == Lingua2); }
    void readTranslationsOf(int programma);
    void forgetTranslations();
    bool lookUp(int programma, int menu, int lingua, QString &testo);

    db::Database *m_connection;
    db::Transaction m_transaction;
    db::Query m_lookup;
    // The translations read, for the languages they were read in: the first
    // row of each entry and language, as a look-up of that row would find it.
    QHash<Key, QString> m_translations;
    int m_readLingua1 = 0;
    int m_readLingua2 = 0;
    QSet<int> m_readPrograms;
    bool m_allProgramsRead = false;
    QList<int> m_announced;
};

} // namespace tg
