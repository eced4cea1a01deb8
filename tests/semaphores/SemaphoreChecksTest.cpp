#include "AppDirectory.h"
#include "TestDatabase.h"
#include "TestSupport.h"

#include "db/Database.h"
#include "semaphores/SemaphoreChecks.h"

#include <gtest/gtest.h>

using namespace tg;
using namespace tg::test;

namespace {

const QString Refusal = QStringLiteral(
    "Errore: ci sono altre finestre critiche aperte da questo utente o da altri utenti che bloccano l'apertura di "
    "questa finestra.\r\nChiudere prima le altre finestre e riprovare.\r\nVedere Gestione semafori per maggiori "
    "dettagli.");

class Semaphores : public ::testing::Test {
protected:
    void SetUp() override
    {
        path = app.createArchive(QStringLiteral("archivio.fdb"));
        AppDirectory::exec(path, {QStringLiteral("INSERT INTO SEMAFORIFCRITICHE (DLL,FORM,OSSERVATASPECIALE) VALUES ('a.dll','W',0)"),
                                  QStringLiteral("INSERT INTO SEMAFORIFCRITICHECOLL (DLLPRIN,FORMPRIN,DLLCOLLEGATA,FORMCOLLEGATA) "
                                                 "VALUES ('a.dll','W','b.dll','V')"),
                                  QStringLiteral("INSERT INTO SEMAFORIFCRITICHE (DLL,FORM,OSSERVATASPECIALE) VALUES ('a.dll','S',1)"),
                                  QStringLiteral("INSERT INTO SEMAFORIFCRITICHECOLL (DLLPRIN,FORMPRIN,DLLCOLLEGATA,FORMCOLLEGATA) "
                                                 "VALUES ('a.dll','S','b.dll','Z')"),
                                  QStringLiteral("INSERT INTO SEMAFORIFCRITICHE (DLL,FORM,OSSERVATASPECIALE) VALUES ('a.dll','Solo',1)"),
                                  QStringLiteral("INSERT INTO SEMAFORIFCRITICHE (DLL,FORM,OSSERVATASPECIALE) VALUES ('b.dll','V',0)")});
        attachTestDatabase(archive, path);
    }
    QStringList semaphores() const
    {
        return AppDirectory::queryRows(path, QStringLiteral("SELECT ID,DLL,FORM,UTENTE,OCCUPATO FROM SEMAFORIF ORDER BY ID"));
    }
    QStringList anomalies() const
    {
        return AppDirectory::queryRows(path, QStringLiteral("SELECT UTENTE,DLL,FORM,DESCRIZIONE FROM SEMAFORIFANOMALIE ORDER BY ID"));
    }

    AppDirectory app;
    QString path;
    db::Database archive;
    RecordingPrompter prompter;
};

TEST_F(Semaphores, LinkedWindowWithATakenSemaphoreBlocksUntilReleased)
{
    EXPECT_TRUE(VerificaSemaforiCritici(QStringLiteral("a.dll"), QStringLiteral("W"), archive));
    OccupaSemaforo(QStringLiteral("b.dll"), QStringLiteral("V"), 9, 41, archive);
    EXPECT_EQ(semaphores(), QStringList{QStringLiteral("41|b.dll|V|9|1")});
    EXPECT_FALSE(VerificaSemaforiCritici(QStringLiteral("a.dll"), QStringLiteral("W"), archive))
        << "a taken linked window blocks, whoever holds it";
    SegnalaSemaforoOccupato(3, QStringLiteral("a.dll"), QStringLiteral("W"), archive);
    EXPECT_EQ(anomalies(), QStringList{QStringLiteral("3|a.dll|W|Semaforo occupato")})
        << "the refused window is logged, not the one that blocks it";
    EXPECT_EQ(prompter.messages, (QList<QPair<MessageKind, QString>>{{MessageKind::Error, Refusal}}));

    ASSERT_TRUE(LiberaSemaforoFinestra(41, archive));
    EXPECT_EQ(semaphores(), QStringList{QStringLiteral("41|b.dll|V|9|0")});
    EXPECT_TRUE(VerificaSemaforiCritici(QStringLiteral("a.dll"), QStringLiteral("W"), archive));
}

TEST_F(Semaphores, SpecialWatchBlocksASecondOpeningOnlyWithLinks)
{
    OccupaSemaforo(QStringLiteral("a.dll"), QStringLiteral("S"), 1, 7, archive);
    EXPECT_FALSE(VerificaSemaforiCritici(QStringLiteral("a.dll"), QStringLiteral("S"), archive));
    OccupaSemaforo(QStringLiteral("a.dll"), QStringLiteral("Solo"), 1, 8, archive);
    EXPECT_TRUE(VerificaSemaforiCritici(QStringLiteral("a.dll"), QStringLiteral("Solo"), archive))
        << "without a link row a window under watch never blocks itself";
    OccupaSemaforo(QStringLiteral("a.dll"), QStringLiteral("W"), 1, 9, archive);
    OccupaSemaforo(QStringLiteral("a.dll"), QStringLiteral("W"), 1, 10, archive);
    EXPECT_TRUE(VerificaSemaforiCritici(QStringLiteral("a.dll"), QStringLiteral("W"), archive));
    EXPECT_EQ(semaphores().size(), 4) << "every opening of a critical window takes a row";
}

TEST_F(Semaphores, WindowsThatAreNotCriticalAreFreeAndTakeNothing)
{
    OccupaSemaforo(QStringLiteral("x.dll"), QStringLiteral("Libera"), 1, 5, archive);
    EXPECT_TRUE(semaphores().isEmpty());
    EXPECT_TRUE(VerificaSemaforiCritici(QStringLiteral("x.dll"), QStringLiteral("Libera"), archive));
    EXPECT_TRUE(VerificaSemaforiCritici(QStringLiteral("l'a.dll"), QStringLiteral("d'W"), archive));
}

TEST_F(Semaphores, MissingTablesAllowEverythingAndWriteNothing)
{
    AppDirectory::exec(path, {QStringLiteral("DROP TABLE SEMAFORIFCRITICHECOLL"), QStringLiteral("DROP TABLE SEMAFORIF"),
                              QStringLiteral("DROP TABLE SEMAFORIFANOMALIE")});
    EXPECT_TRUE(VerificaSemaforiCritici(QStringLiteral("a.dll"), QStringLiteral("W"), archive));
    OccupaSemaforo(QStringLiteral("a.dll"), QStringLiteral("W"), 1, 1, archive);
    RegistraAnomaliaSemaforo(1, QStringLiteral("a.dll"), QStringLiteral("W"), archive);
    EXPECT_TRUE(prompter.messages.isEmpty());
    EXPECT_FALSE(LiberaSemaforoFinestra(1, archive));
}

TEST(SemaphoresWithoutArchive, ClosedConnectionAllowsTheOpening)
{
    db::Database closed;
    EXPECT_TRUE(VerificaSemaforiCritici(QStringLiteral("a.dll"), QStringLiteral("W"), closed));
    OccupaSemaforo(QStringLiteral("a.dll"), QStringLiteral("W"), 1, 1, closed);
}

} // namespace
