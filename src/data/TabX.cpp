#include "data/TabX.h"
#include "data/TabScript.h"

#include "archive/ArchiveLocator.h"
#include "db/DatabaseError.h"
#include "db/SqlText.h"
#include "platform/ExecutableDirectory.h"
#include "platform/Logging.h"
#include "platform/Prompter.h"
#include "platform/SuiteFileName.h"

#include <QDir>

namespace tg {
namespace {

// Separates a database path into its directory (up to and including the last
// separator: backslash, slash or the colon of a server name) and file name.
void splitDatabasePath(const QString &path, QString &directory, QString &fileName)
{
    qsizetype cut = -1;
    for (QChar separator : {QLatin1Char('\\'), QLatin1Char('/'), QLatin1Char(':')})
        cut = std::max(cut, path.lastIndexOf(separator));
    directory = path.left(cut + 1);
    fileName = path.mid(cut + 1);
}

// A local database path stored with backslashes among its folders, as the
// suite's programs wrote them ("/srv/dati\archivio.fdb"), names the file
// found ignoring letter case with "\" read as "/". When there is none it is
// still read so, so that the database (and the dati.ini beside it) is looked
// for in the intended folder rather than created in the one above under a
// name containing a backslash. Network paths ("\\host\share") and server
// paths ("host:path") are left as they are.
QString localDatabasePath(const QString &path)
{
    if (!path.startsWith(QLatin1Char('/')) || !path.contains(QLatin1Char('\\')))
        return path;
    const QString found = SuiteFileName::find(QString(), path);
    return found.isEmpty() ? QString(path).replace(QLatin1Char('\\'), QLatin1Char('/')) : found;
}

} // namespace

TTabXForm::TTabXForm(QObject *owner, quint8 mode) : QObject(owner), m_mode(mode)
{
    db::Database *archives[] = {&IBDatabase1, &IBDatabase2, &IBDatabase3, &IBDatabase4, &IBDatabase5};
    db::Transaction *archiveTransactions[] = {&IBTransaction1, &IBTransaction2, &IBTransaction3,
                                              &IBTransaction4, &IBTransaction5};
    for (int i = 0; i < 5; ++i) {
        archives[i]->setSqlDialect(3);
        archives[i]->setDefaultTransaction(archiveTransactions[i]);
        archiveTransactions[i]->setDefaultDatabase(archives[i]);
    }
    // Only the company archive refuses to wait on a lock: a record being
    // edited elsewhere is then noticed at once.
    IBTransaction1.params() = QStringList{QStringLiteral("isc_tpb_concurrency"), QStringLiteral("isc_tpb_nowait")};
    archiveChecks.setDefaultDatabase(&IBDatabase1);
    archiveChecks.params() = QStringList{QStringLiteral("isc_tpb_read_committed"), QStringLiteral("isc_tpb_rec_version"),
                                         QStringLiteral("isc_tpb_read")};
    IBDatabaseUser.setSqlDialect(3);
    IBDatabaseUser.setDefaultTransaction(&TransazioneUser);
    TransazioneUser.setDefaultDatabase(&IBDatabaseUser);
    QueryQuadrel.setDatabase(&IBDatabaseUser);
    QueryQuadrel.setTransaction(&TransazioneUser);
}

TTabXForm::~TTabXForm()
{
    chiudiConnessioni();
}

void TTabXForm::chiudiConnessioni()
{
    // Every transaction still open is committed as its connection closes.
    QueryQuadrel.close();
    for (db::Database *database : {&IBDatabase1, &IBDatabase2, &IBDatabase3, &IBDatabase4, &IBDatabase5,
                                   &IBDatabaseUser})
        database->disconnect();
}

void TTabXForm::Avvia()
{
    const QString base = ExecutableDirectory::path();
    SetVerde(base + QStringLiteral("Grafica/Verde.bmp"));
    SetRosso(base + QStringLiteral("Grafica/Rosso.bmp"));
    QDir().mkdir(base + QStringLiteral("user"));
    if (!ApriArchivio(IBDatabaseUser, base + QStringLiteral("user/"), QStringLiteral("user.fdb"), QString(),
                      QString()))
        showMessage(MessageKind::Error, QStringLiteral("Errore inizializzazione database utenti"));
    ensureTabScript();
    memTabX.open();
}

void TTabXForm::readOptionalSchema()
{
    // TABSCRIPT (a table has at least one column) and the columns that some
    // suites' tables lack, as "TABLE.COLUMN", in one read of the schema:
    // over a network each statement costs round trips.
    m_optionalColumns.clear();
    QueryQuadrel.close();
    QueryQuadrel.sql() = QStringList{
        QStringLiteral("SELECT RDB$RELATION_NAME,RDB$FIELD_NAME FROM RDB$RELATION_FIELDS WHERE"),
        QStringLiteral("(RDB$RELATION_NAME='TABSCRIPT')OR"),
        QStringLiteral("((RDB$FIELD_NAME='UTENTEINATTIVO')AND(RDB$RELATION_NAME='UTENTI'))OR"),
        QStringLiteral("((RDB$FIELD_NAME IN ('HANDLEFINESTRA','IDFINESTRA'))AND(RDB$RELATION_NAME='MARTILOGFUNZ'))")};
    QueryQuadrel.open();
    QueryQuadrel.fetchAll();
    for (; !QueryQuadrel.eof(); QueryQuadrel.next()) {
        const QString table = QueryQuadrel.field(0).asText().trimmed();
        m_optionalColumns << (table == QLatin1String("TABSCRIPT")
                                  ? table
                                  : table + QLatin1Char('.') + QueryQuadrel.field(1).asText().trimmed());
    }
    QueryQuadrel.close();
}

void TTabXForm::ensureTabScript()
{
    readOptionalSchema();
    if (m_optionalColumns.contains(QStringLiteral("TABSCRIPT")))
        return;
    QueryQuadrel.sql() = tabScriptDefinition();
    try {
        QueryQuadrel.execSql();
        TransazioneUser.commit();
    } catch (const db::DatabaseError &error) {
        qCWarning(lcData).noquote() << "Creating the table TABSCRIPT failed:" << error.message();
        showMessage(MessageKind::Error,
                    QStringLiteral("Errore interno di CREATE: impossibile creare la tabella TABSCRIPT"));
    }
}

void TTabXForm::connettiDatabase(db::Database &database, const QString &path)
{
    QString directory;
    QString fileName;
    splitDatabasePath(localDatabasePath(path), directory, fileName);
    if (!ApriArchivio(database, directory, fileName, QString(), QString())) {
        showMessage(MessageKind::Error, QStringLiteral("Errore apertura archivio"));
        return;
    }
    if (&database != &IBDatabase1)
        return;
    // The company archive's checks find their transaction open.
    try {
        archiveChecks.start();
    } catch (const db::DatabaseError &error) {
        qCWarning(lcData).noquote() << "Starting the checks' transaction of" << database.databaseName()
                                    << "failed, each check starts one of its own:" << error.message();
    }
}

void TTabXForm::ConnettiDatabase0(const QString &path)
{
    connettiDatabase(IBDatabase1, path);
}

#define TG_CONNETTI_DATABASE(N)                                   \
    void TTabXForm::ConnettiDatabase##N(const QString &name)      \
    {                                                             \
        QString path;                                             \
        GetV(name, path);                                         \
        connettiDatabase(IBDatabase##N, path);                    \
    }
TG_CONNETTI_DATABASE(1)
TG_CONNETTI_DATABASE(2)
TG_CONNETTI_DATABASE(3)
TG_CONNETTI_DATABASE(4)
TG_CONNETTI_DATABASE(5)
#undef TG_CONNETTI_DATABASE

void TTabXForm::GetV(const QString &name, QString &text) const
{
    const int index = memTabX.locate([&](const MemTabX::Record &r) { return r.Nome == name; });
    text = index < 0 ? QString() : memTabX.record(index).Testo;
}

void TTabXForm::GetM(const QString &name, QString &memo) const
{
    const int index = memTabX.locate([&](const MemTabX::Record &r) { return r.Nome == name; });
    memo = index < 0 ? QString() : memTabX.record(index).Memo;
}

bool TTabXForm::SetV(const QString &name, const QString &text)
{
    const int index = memTabX.locate([&](const MemTabX::Record &r) { return r.Nome == name; });
    if (index < 0)
        return false;
    MemTabX::Record record = memTabX.record(index);
    record.Testo = text;
    memTabX.post(std::move(record), index);
    return true;
}

bool TTabXForm::SetM(const QString &name, const QString &memo)
{
    const int index = memTabX.locate([&](const MemTabX::Record &r) { return r.Nome == name; });
    if (index < 0)
        return false;
    MemTabX::Record record = memTabX.record(index);
    record.Memo = memo;
    memTabX.post(std::move(record), index);
    return true;
}

void TTabXForm::Inserisci(const QString &tipo, const QString &nome, const QString &numero, const QString &testo,
                          const QString &data, const QString &memo, const QString &livello1,
                          const QString &livello2, const QString &utente)
{
    memTabX.open();
    // Every conversion happens before anything is stored, so a bad text
    // leaves the table as it was.
    const std::optional<qint16> user = MemTabX::smallFromText(utente);
    MemTabX::Record values;
    values.Numero = MemTabX::numberFromText(numero);
    values.Testo = testo;
    values.Data = MemTabX::dateFromText(data);
    values.Memo = memo;
    values.Livello1 = MemTabX::smallFromText(livello1);
    values.Livello2 = MemTabX::smallFromText(livello2);

    // Compare with the stored (cut) forms, so that a long name finds its record.
    const QString storedTipo = tipo.left(MemTabX::TipoWidth);
    const QString storedNome = nome.left(MemTabX::NomeWidth);
    const int index = memTabX.locate([&](const MemTabX::Record &r) {
        return r.Tipo == storedTipo && r.Nome == storedNome && r.Utente == user;
    });
    if (index >= 0) {
        MemTabX::Record record = memTabX.record(index);
        record.Numero = values.Numero;
        record.Testo = values.Testo;
        record.Data = values.Data;
        record.Memo = values.Memo;
        record.Livello1 = values.Livello1;
        record.Livello2 = values.Livello2;
        memTabX.post(std::move(record), index);
        return;
    }
    values.Tipo = tipo;
    values.Nome = nome;
    values.Utente = user;
    memTabX.post(std::move(values));
}

} // namespace tg
