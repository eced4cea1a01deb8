// The quoting helper over arbitrary texts. For every input: the quoted text
// between single quotes reads back, apostrophe pairs taken as one, as exactly
// one literal holding the text, and a text without apostrophes comes back as
// it is; read as UTF-16, the statement's bytes in the code page still hold
// one literal with all of the text's apostrophes. For a deterministic sample
// of the inputs that the suite's code page carries (every input up to
// SampleAllUpTo bytes, one in SampleOneIn of the longer ones): the embedded
// database engine parses an INSERT carrying the literal, stores the text
// unchanged (read back and compared), and finds the row again with the
// literal in a WHERE clause.
//
// The database is created once per process in a temporary directory; each
// sampled input runs in its own transaction, rolled back at the end.
//
// Input: the text, bytes in the suite's code page (Windows-1252).

#include "FuzzSupport.h"
#include "TestDatabase.h"

#include "db/Database.h"
#include "db/DatabaseError.h"
#include "db/Query.h"
#include "db/SqlText.h"
#include "db/Transaction.h"
#include "platform/TextCodec.h"

#include <QDir>
#include <QHash>
#include <QTemporaryDir>

#include <cstdlib>

using namespace tg;

namespace {

constexpr qsizetype SampleAllUpTo = 64;
constexpr size_t SampleOneIn = 4;
// Longer texts are checked in the pure part only: a statement must stay
// well below the server's limit on a literal.
constexpr qsizetype LongestStored = 8000;

// The content of the literal that starts at `text[0]` (a single quote), with
// each pair of quotes inside read as one; `end` receives the position of the
// closing quote, or -1 when the literal is not closed.
QString readLiteral(const QString &text, qsizetype &end)
{
    QString content;
    end = -1;
    for (qsizetype i = 1; i < text.size(); ++i) {
        if (text.at(i) != QLatin1Char('\'')) {
            content += text.at(i);
            continue;
        }
        if (i + 1 < text.size() && text.at(i + 1) == QLatin1Char('\'')) {
            content += QLatin1Char('\'');
            ++i;
            continue;
        }
        end = i;
        break;
    }
    return content;
}

// The temporary database and its table, created on first use and removed
// when the process ends.
struct Store {
    QTemporaryDir *dir = nullptr;
    db::Database *database = nullptr;

    static Store &instance()
    {
        static Store store = create();
        return store;
    }

private:
    static Store create()
    {
        Store store;
        store.dir = new QTemporaryDir(QDir::tempPath() + QStringLiteral("/taskgate-fuzz-XXXXXX"));
        store.database = new db::Database;
        db::Database &database = *store.database;
        try {
            test::createTestDatabase(database, store.dir->filePath(QStringLiteral("quoted.fdb")));
            test::execCommitted(database, QStringLiteral("CREATE TABLE TESTI (ID INTEGER NOT NULL, VALORE VARCHAR(32000))"));
        } catch (const db::DatabaseError &error) {
            fuzz::fail(__FILE__, __LINE__, "the test database can be created", error.message());
        }
        std::atexit([] {
            Store &store = instance();
            store.database->disconnect();
            delete store.database;
            delete store.dir;
        });
        return store;
    }
};

void checkStored(const QString &text, const QString &quoted)
{
    db::Database &database = *Store::instance().database;
    db::Transaction transaction(&database);
    db::Query query(&database, &transaction);
    const QString literal = QLatin1Char('\'') + quoted + QLatin1Char('\'');
    QString step = QStringLiteral("insert");
    try {
        query.sql() = QStringList{QStringLiteral("INSERT INTO TESTI (ID,VALORE) VALUES("), QStringLiteral("1,") + literal + QLatin1Char(')')};
        query.execSql();
        step = QStringLiteral("read back");
        query.sql() = QStringList{QStringLiteral("SELECT VALORE FROM TESTI WHERE ID=1")};
        query.open();
        FUZZ_CHECK(!query.eof(), QStringLiteral("text: ") + text);
        const QString back = query.field(0).asText();
        FUZZ_CHECK(back == text, QStringLiteral("text: ") + text + QStringLiteral("\nread back: ") + back);
        query.close();
        step = QStringLiteral("find");
        query.sql() = QStringList{QStringLiteral("SELECT COUNT(*) FROM TESTI WHERE"), QStringLiteral("VALORE=") + literal};
        query.open();
        FUZZ_CHECK(query.field(0).asInteger() == 1, QStringLiteral("text: ") + text);
        query.close();
        transaction.rollback();
    } catch (const db::DatabaseError &error) {
        fuzz::fail(__FILE__, __LINE__, "the statement runs",
                   QStringLiteral("text: ") + text + QStringLiteral("\nstep: ") + step + QStringLiteral("\nerror: ")
                       + error.message());
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    const QString text = fromSuiteBytes(bytes);
    const QString quoted = db::quotedValue(text);
    const QString case_ = QStringLiteral("text: ") + text + QStringLiteral("\nquoted: ") + quoted;

    FUZZ_CHECK(quoted.size() == text.size() + text.count(QLatin1Char('\'')), case_);
    if (!text.contains(QLatin1Char('\'')))
        FUZZ_CHECK(quoted == text, case_);
    qsizetype end = -1;
    const QString content = readLiteral(QLatin1Char('\'') + quoted + QLatin1Char('\''), end);
    FUZZ_CHECK(end == quoted.size() + 1, case_ + QStringLiteral("\nthe literal ends at %1").arg(end));
    FUZZ_CHECK(content == text, case_ + QStringLiteral("\nliteral: ") + content);

    // Whatever the text holds (here the input read as UTF-16: unpaired
    // surrogates, characters outside the code page), the statement's bytes
    // still hold one literal from the opening to the closing quote, with the
    // text's apostrophes inside: the conversion to the code page neither
    // drops nor adds one.
    QString wide;
    for (qsizetype i = 0; i + 1 < bytes.size(); i += 2)
        wide += QChar(static_cast<char16_t>(static_cast<uint8_t>(bytes[i]) | (static_cast<uint8_t>(bytes[i + 1]) << 8)));
    const QByteArray statement = toSuiteBytes(QLatin1Char('\'') + db::quotedValue(wide) + QLatin1Char('\''));
    qsizetype wideEnd = -1;
    const QString wideContent = readLiteral(QString::fromLatin1(statement), wideEnd);
    FUZZ_CHECK(wideEnd == statement.size() - 1,
               QStringLiteral("wide text: ") + wide + QStringLiteral("\nthe literal ends at %1 of %2").arg(wideEnd).arg(statement.size()));
    FUZZ_CHECK(wideContent.count(QLatin1Char('\'')) == wide.count(QLatin1Char('\'')), QStringLiteral("wide text: ") + wide);

    // Only texts the code page carries can reach the database unchanged.
    if (toSuiteBytes(text) != bytes || text.size() > LongestStored)
        return 0;
    const bool sampled = text.size() <= SampleAllUpTo || qHash(bytes, 0) % SampleOneIn == 0;
    if (sampled)
        checkStored(text, quoted);
    return 0;
}
