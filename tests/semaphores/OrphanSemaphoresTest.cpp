#include "AppDirectory.h"
#include "TestDatabase.h"
#include "TestSupport.h"

#include "db/Database.h"
#include "db/Query.h"
#include "db/Transaction.h"
#include "semaphores/SemaphoreChecks.h"
#include "semaphores/TakenSemaphores.h"

#include <gtest/gtest.h>

using namespace tg;
using namespace tg::test;

namespace {

// Window W is blocked by the taken semaphores of V: 41 (MARIO, 1), 42
// (ANNA, 2) and 43 (GINO, 3). Which of their workstations are gone is told
// by the holders the test installs, as the program installs the server's
// monitoring.
class OrphanSemaphores : public ::testing::Test {
protected:
    void SetUp() override
    {
        path = app.createArchive(QStringLiteral("archivio.fdb"));
        AppDirectory::exec(path, {QStringLiteral("INSERT INTO SEMAFORIFCRITICHE (DLL,FORM,OSSERVATASPECIALE) VALUES ('a.dll','W',0)"),
                                  QStringLiteral("INSERT INTO SEMAFORIFCRITICHE (DLL,FORM,OSSERVATASPECIALE) VALUES ('b.dll','V',0)"),
                                  QStringLiteral("INSERT INTO SEMAFORIFCRITICHECOLL (DLLPRIN,FORMPRIN,DLLCOLLEGATA,FORMCOLLEGATA) "
                                                 "VALUES ('a.dll','W','b.dll','V')"),
                                  QStringLiteral("INSERT INTO SEMAFORIF VALUES (41,'b.dll','V',1,1,'NOW')"),
                                  QStringLiteral("INSERT INTO SEMAFORIF VALUES (42,'b.dll','V',2,1,'NOW')"),
                                  QStringLiteral("INSERT INTO SEMAFORIF VALUES (43,'b.dll','V',3,1,'NOW')")});
        attachTestDatabase(archive, path);
    }
    void TearDown() override { installSemaphoreHolders({}); }

    // The holders answer `told` (nothing at all when it is empty) and
    // remember what they were asked.
    void tell(std::optional<QHash<int, bool>> told)
    {
        installSemaphoreHolders([this, told](const QList<TakenWindow> &windows) {
            for (const TakenWindow &window : windows)
                asked << QStringLiteral("%1|%2|%3").arg(window.id).arg(window.user).arg(window.form);
            return told;
        });
    }
    bool mayOpenW()
    {
        return ControllaFinestraCritica(QStringLiteral("a.dll"), QStringLiteral("W"), archive, nullptr, 9).mayOpen;
    }
    QString taken() const
    {
        return AppDirectory::queryRows(path, QStringLiteral("SELECT ID FROM SEMAFORIF WHERE OCCUPATO=1 ORDER BY ID"))
            .join(QLatin1Char(','));
    }
    QStringList anomalies() const
    {
        return AppDirectory::queryRows(path, QStringLiteral("SELECT UTENTE,DLL,FORM,DESCRIZIONE FROM SEMAFORIFANOMALIE ORDER BY ID"));
    }

    AppDirectory app;
    QString path;
    db::Database archive;
    QStringList asked;
};

TEST_F(OrphanSemaphores, CheckReleasesOnlyTheBlockersOfGoneWorkstationsWithAnAnomalyRowAndChecksAgain)
{
    // Nobody can tell: blocked, nothing written, as always.
    EXPECT_FALSE(mayOpenW());
    tell(std::nullopt);
    EXPECT_FALSE(mayOpenW());
    EXPECT_EQ(taken(), QStringLiteral("41,42,43"));
    EXPECT_TRUE(anomalies().isEmpty());

    // 41 gone, 42 connected, 43 not told: only 41 goes, W stays blocked.
    asked.clear();
    tell(QHash<int, bool>{{41, false}, {42, true}});
    EXPECT_FALSE(mayOpenW());
    asked.sort();
    EXPECT_EQ(asked, (QStringList{QStringLiteral("41|1|V"), QStringLiteral("42|2|V"), QStringLiteral("43|3|V")}))
        << "each blocker with its user and window";
    EXPECT_EQ(taken(), QStringLiteral("42,43"));
    const QString released = QStringLiteral("9|b.dll|V|") + OrphanReleasedText;
    EXPECT_EQ(anomalies(), QStringList{released}) << "the asking user, the released window, why";

    // Without the asking user (the plain check) nothing is released.
    tell(QHash<int, bool>{{42, false}, {43, false}});
    EXPECT_FALSE(VerificaSemaforiCritici(QStringLiteral("a.dll"), QStringLiteral("W"), archive));
    EXPECT_EQ(taken(), QStringLiteral("42,43"));

    // Both others gone: released, and the check made again lets W open.
    EXPECT_TRUE(mayOpenW());
    EXPECT_EQ(taken(), QString());
    EXPECT_EQ(anomalies(), (QStringList{released, released, released}));
}

TEST_F(OrphanSemaphores, TakenListShowsWhetherEachHolderIsConnectedOnlyWhenItCanBeTold)
{
    db::Transaction transaction(&archive);
    db::Query list(&archive, &transaction);
    db::Query aux(&archive, &transaction);
    TakenSemaphores semaphores(list, aux, transaction);
    semaphores.carica();
    EXPECT_FALSE(semaphores.holdersKnown());
    EXPECT_EQ(semaphores.columns().join(QLatin1Char(',')), QStringLiteral("ID,DLL,FORM,UTENTE,OCCUPATO,DATAORA"));

    tell(QHash<int, bool>{{41, false}, {42, true}});
    semaphores.carica();
    ASSERT_TRUE(semaphores.holdersKnown());
    EXPECT_EQ(semaphores.columns().last(), QStringLiteral("Connessa"));
    QStringList connected;
    for (const QStringList &row : semaphores.rows())
        connected << row.first() + QLatin1Char(':') + row.last();
    EXPECT_EQ(connected, (QStringList{QStringLiteral("43:?"), QStringLiteral("42:Sì"), QStringLiteral("41:No")}));
    EXPECT_EQ(semaphores.orfani(), QStringList{QStringLiteral("41")});
}

} // namespace
