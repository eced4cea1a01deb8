#include "AppDirectory.h"
#include "TestSupport.h"

#include "data/TabX.h"
#include "db/DatabaseError.h"

#include <gtest/gtest.h>

using namespace tg;
using namespace tg::test;

namespace {

class UserDirectory : public ::testing::Test {
protected:
    void SetUp() override
    {
        app.execUser({QStringLiteral("INSERT INTO UTENTI (CODICE,NOMEUTENTE,PWDUTENTE,DITTA,PROFILOSICUREZZA) "
                                     "VALUES (2,'MARIO','Segreta','ROSSI SPA',4)"),
                      QStringLiteral("INSERT INTO UTENTI (CODICE,NOMEUTENTE,PWDUTENTE,DITTA) VALUES (1,'ANNA',NULL,'')"),
                      QStringLiteral("INSERT INTO UTENTI (CODICE,NOMEUTENTE,PWDUTENTE) VALUES (3,'LUCA','')"),
                      QStringLiteral("INSERT INTO UTENTI (CODICE,NOMEUTENTE,PWDUTENTE,DITTA) "
                                     "VALUES (4,'D''ANGELO',' x ','L''OLIVO SRL')")});
        module.Avvia();
    }

    AppDirectory app;
    RecordingPrompter prompter;
    TTabXForm module{nullptr, 0};
};

TEST_F(UserDirectory, PasswordsCompareExactlyAndAMissingOneLetsAnyPasswordIn)
{
    EXPECT_TRUE(module.VerificaPasswordUser(QStringLiteral("MARIO"), QStringLiteral("Segreta")));
    EXPECT_FALSE(module.VerificaPasswordUser(QStringLiteral("MARIO"), QStringLiteral("segreta")));
    EXPECT_FALSE(module.VerificaPasswordUser(QStringLiteral("MARIO"), QStringLiteral("Segreta ")));
    EXPECT_FALSE(module.VerificaPasswordUser(QStringLiteral("MARIO"), QString()));
    for (const QString &password : {QString(), QStringLiteral("qualsiasi")}) {
        EXPECT_TRUE(module.VerificaPasswordUser(QStringLiteral("ANNA"), password)) << "NULL password";
        EXPECT_TRUE(module.VerificaPasswordUser(QStringLiteral("LUCA"), password)) << "empty password";
    }
    EXPECT_FALSE(module.VerificaPasswordUser(QStringLiteral("mario"), QStringLiteral("Segreta")))
        << "names match with their case";
    EXPECT_FALSE(module.VerificaPasswordUser(QStringLiteral("NESSUNO"), QString()));
    EXPECT_TRUE(module.VerificaPasswordUser(QStringLiteral("D'ANGELO"), QStringLiteral(" x ")))
        << "blanks in a password count, an apostrophe in a name is no obstacle";
    EXPECT_FALSE(module.VerificaPasswordUser(QStringLiteral("D'ANGELO"), QStringLiteral("x")));
}

TEST_F(UserDirectory, SettingAUserTakesNumberNameAndCompanyFromItsRow)
{
    module.SetUserPerNome(QStringLiteral("D'ANGELO"));
    QString name;
    module.GetNomeUser(name);
    EXPECT_EQ(module.GetNumUser(), 4);
    EXPECT_EQ(name, QStringLiteral("D'ANGELO"));
    EXPECT_EQ(module.dittaCorrente(), QStringLiteral("L'OLIVO SRL"));

    module.SetUserPerNome(QStringLiteral("NESSUNO"));
    module.GetNomeUser(name);
    EXPECT_EQ(module.GetNumUser(), 0);
    EXPECT_EQ(name, QString());
    EXPECT_EQ(module.dittaCorrente(), QString());
}

TEST_F(UserDirectory, CompanyAndProfileCommittedElsewhereAreSeen)
{
    module.SetUserPerNome(QStringLiteral("MARIO"));
    EXPECT_EQ(module.dittaCorrente(), QStringLiteral("ROSSI SPA"));
    EXPECT_EQ(module.ProfiloSicurezzaUtente(), 4);
    // The module's transaction now holds a snapshot; another program commits.
    app.execUser({QStringLiteral("UPDATE UTENTI SET DITTA='VERDI SRL', PROFILOSICUREZZA=9 WHERE CODICE=2")});
    module.SetUserPerNome(QStringLiteral("MARIO"));
    EXPECT_EQ(module.dittaCorrente(), QStringLiteral("VERDI SRL"));
    EXPECT_EQ(module.ProfiloSicurezzaUtente(), 9);
    module.SetUserPerNum(3);
    EXPECT_EQ(module.ProfiloSicurezzaUtente(), 0) << "NULL profile";
}

TEST_F(UserDirectory, ListsAndDecodesUsers)
{
    QStringList list{QStringLiteral("già qui")};
    module.CaricaUser(list);
    module.CaricaUser(list);
    const QStringList once{QStringLiteral("ANNA"), QStringLiteral("MARIO"), QStringLiteral("LUCA"),
                           QStringLiteral("D'ANGELO")};
    EXPECT_EQ(list, QStringList{QStringLiteral("già qui")} + once + once);
    QString name = QStringLiteral("stale");
    module.DecodificaNomeUser(2, name);
    EXPECT_EQ(name, QStringLiteral("MARIO"));
    module.DecodificaNomeUser(99, name);
    EXPECT_EQ(name, QString());
}

TEST(UserDirectoryWithoutTable, DatabaseErrorsReachTheCaller)
{
    AppDirectory app;
    app.execUser({QStringLiteral("DROP TABLE UTENTI")});
    TTabXForm module(nullptr, 0);
    module.Avvia();
    EXPECT_THROW(module.VerificaPasswordUser(QStringLiteral("MARIO"), QString()), db::DatabaseError);
    EXPECT_THROW(module.SetUserPerNome(QStringLiteral("MARIO")), db::DatabaseError);
}

} // namespace
