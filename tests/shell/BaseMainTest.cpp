#include "AppDirectory.h"
#include "TestSupport.h"
#include "WidgetTexts.h"

#include "data/TabX.h"
#include "menu/NavigationBar.h"
#include "platform/ScreenSize.h"
#include "shell/BaseMain.h"
#include "shell/SpinButton.h"

#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QListWidget>
#include <QPushButton>
#include <QStackedWidget>
#include <gtest/gtest.h>
#include <memory>

using namespace tg;
using namespace tg::test;

namespace {

QString user(int code, const QString &name, const QString &info1, const QString &inactive = QStringLiteral("NULL"))
{
    return QStringLiteral("INSERT INTO UTENTI (CODICE,NOMEUTENTE,INFO1,UTENTEINATTIVO) VALUES (%1,'%2',%3,%4)")
        .arg(code)
        .arg(name, info1, inactive);
}

class MainWindowStart : public ::testing::Test {
protected:
    MainWindowStart() { ScreenSize::override(QSize(800, 600)); }
    ~MainWindowStart() override { ScreenSize::override(QSize()); }

    TBaseMainForm &start()
    {
        window = std::make_unique<TBaseMainForm>();
        return *window;
    }

    AppDirectory app;
    RecordingPrompter prompter;
    std::unique_ptr<TBaseMainForm> window;
};

TEST_F(MainWindowStart, ListsTerminalUsersInCodeOrderSkippingInactiveOnes)
{
    app.execUser({user(5, QStringLiteral("ELENA"), QStringLiteral("'TERM'")),
                  user(1, QStringLiteral("ADMIN"), QStringLiteral("NULL")),
                  user(2, QStringLiteral("VUOTO"), QStringLiteral("''"), QStringLiteral("'0'")),
                  user(3, QStringLiteral("UFFICIO"), QStringLiteral("'PC'")),
                  user(4, QStringLiteral("MINUSCOLO"), QStringLiteral("'term'")),
                  user(6, QStringLiteral("SPAZIO"), QStringLiteral("'TERM '")),
                  user(7, QStringLiteral("SOSPESO"), QStringLiteral("NULL"), QStringLiteral("'1'"))});
    TBaseMainForm &form = start();
    const QStringList expected = {QStringLiteral("ADMIN"), QStringLiteral("VUOTO"), QStringLiteral("ELENA")};
    EXPECT_EQ(items(form.ComboUtenti1), expected);
    EXPECT_EQ(items(form.ListaUtenti2), expected);
    EXPECT_EQ(form.ListaUtenti2->currentRow(), 0);
    EXPECT_EQ(form.ComboUtenti1->currentIndex(), -1);
    EXPECT_TRUE(prompter.messages.isEmpty()) << prompter.texts().join(QLatin1Char('|')).toStdString();
    EXPECT_FALSE(form.utenteCollegato());
    EXPECT_FALSE(form.mantieniStdMin());
    EXPECT_EQ(form.edizione(), EdizioneProgramma);
}

TEST_F(MainWindowStart, WithoutTheInactiveColumnEveryTerminalUserIsListed)
{
    app.execUser({QStringLiteral("ALTER TABLE UTENTI DROP UTENTEINATTIVO"),
                  QStringLiteral("INSERT INTO UTENTI (CODICE,NOMEUTENTE,INFO1) VALUES (1,'UNO','TERM')"),
                  QStringLiteral("INSERT INTO UTENTI (CODICE,NOMEUTENTE,INFO1) VALUES (2,'DUE','PC')"),
                  QStringLiteral("INSERT INTO UTENTI (CODICE,NOMEUTENTE,INFO1) VALUES (3,'TRE',NULL)")});
    RecordingObserver observer;
    TBaseMainForm &form = start();
    EXPECT_EQ(items(form.ListaUtenti2), (QStringList{QStringLiteral("UNO"), QStringLiteral("TRE")}));
    EXPECT_TRUE(observer.statements.contains(QStringLiteral("SELECT NOMEUTENTE,INFO1 FROM UTENTI\nORDER BY CODICE")));
}

TEST_F(MainWindowStart, NoUserPassingLeavesBothListsEmptyWithoutSelection)
{
    app.execUser({user(1, QStringLiteral("UFFICIO"), QStringLiteral("'PC'"))});
    TBaseMainForm &form = start();
    EXPECT_EQ(form.ComboUtenti1->count(), 0);
    EXPECT_EQ(form.ListaUtenti2->count(), 0);
    EXPECT_EQ(form.ListaUtenti2->currentRow(), -1);
}

TEST_F(MainWindowStart, CallLogWindowTrackingNeedsBothColumns)
{
    EXPECT_TRUE(start().logFinestre());
    window.reset();
    app.execUser({QStringLiteral("DROP INDEX IX_MARTILOGFUNZ_FINESTRA"), QStringLiteral("ALTER TABLE MARTILOGFUNZ DROP IDFINESTRA")});
    EXPECT_FALSE(start().logFinestre());
    window.reset();
    app.execUser({QStringLiteral("ALTER TABLE MARTILOGFUNZ ADD IDFINESTRA INTEGER"),
                  QStringLiteral("ALTER TABLE MARTILOGFUNZ DROP HANDLEFINESTRA")});
    EXPECT_FALSE(start().logFinestre());
}

class LoginPageChoice : public MainWindowStart, public ::testing::WithParamInterface<std::pair<const char *, bool>> {};

TEST_P(LoginPageChoice, OnlyExactlyOneShowsTheListLayout)
{
    const auto [text, listLayout] = GetParam();
    if (text)
        app.execUser({QStringLiteral("INSERT INTO TABX (CODICE,NOME,TESTO) VALUES (1,'InterfacciaAccesso',%1)")
                          .arg(QString::fromUtf8(text))});
    TBaseMainForm &form = start();
    EXPECT_EQ(form.NotebookMain->currentWidget(), listLayout ? form.ModalitaLista : form.ModalitaDefault);
    EXPECT_TRUE(prompter.messages.isEmpty());
}

INSTANTIATE_TEST_SUITE_P(Values, LoginPageChoice,
                         ::testing::Values(std::pair<const char *, bool>{"'1'", true},
                                           std::pair<const char *, bool>{"'01'", false},
                                           std::pair<const char *, bool>{"' 1'", false},
                                           std::pair<const char *, bool>{"'2'", false},
                                           std::pair<const char *, bool>{"NULL", false},
                                           std::pair<const char *, bool>{nullptr, false}));

TEST_F(MainWindowStart, UserDatabaseWithoutTabxKeepsTheDefaultLayoutSilently)
{
    app.execUser({QStringLiteral("DROP TABLE TABX")});
    TBaseMainForm &form = start();
    EXPECT_EQ(form.NotebookMain->currentWidget(), form.ModalitaDefault);
    EXPECT_TRUE(prompter.messages.isEmpty());
}

TEST_F(MainWindowStart, ArchiveParameterIsRecordedAsNamedValueOfUserZero)
{
    app.execUser({QStringLiteral("INSERT INTO TABQUADREL (UTENTE,INTESTAZIONE,PARAMETRO,VALORE,PROGRESSIVO) "
                                 "VALUES ('0','','Archivio','/dati/x.fdb','1')")});
    TBaseMainForm &form = start();
    const MemTabX &memory = form.PTabX->TabX->memTabX;
    ASSERT_EQ(memory.recordCount(), 1);
    EXPECT_EQ(memory.record(0).Tipo, QStringLiteral("VRT"));
    EXPECT_EQ(memory.record(0).Nome, QStringLiteral("Archivio"));
    EXPECT_EQ(memory.record(0).Testo, QStringLiteral("/dati/x.fdb"));
    EXPECT_EQ(memory.record(0).Utente, std::optional<qint16>(0));
    EXPECT_FALSE(memory.record(0).Numero.has_value());
    EXPECT_EQ(form.PTabX->TabX->mainWindowHandle(), static_cast<qint64>(form.winId()));
}

TEST_F(MainWindowStart, SmallScreenLayoutScaledTwiceOnAn800By600Screen)
{
    TBaseMainForm &form = start();
    EXPECT_EQ(form.windowTitle(), QStringLiteral("Autenticazione"));
    EXPECT_EQ(form.frameGeometry(), QRect(0, 0, 460, 600)) << "the designed size is the outer size, frame included";
    EXPECT_EQ(form.ListaUtenti2->geometry(), QRect(2, 60, 220, 400));
    EXPECT_EQ(form.ListaUtenti2->font().pointSize(), 20);
    EXPECT_EQ(form.Label6->geometry(), QRect(2, 4, 220, 70));
    EXPECT_EQ(form.Label6->font().pointSize(), 16);
    EXPECT_EQ(form.EditPassword2->geometry().topLeft(), QPoint(230, 60));
    EXPECT_EQ(form.SpinButtonLista->geometry(), QRect(230, 120, 200, 220));
    EXPECT_EQ(form.ButtonOK2->geometry(), QRect(230, 360, 200, 100));
    EXPECT_EQ(form.ButtonOK2->font().pointSize(), 20);
    EXPECT_EQ(form.ButtonOk->x(), 150);
    EXPECT_EQ(form.Label4->x(), 124);
    EXPECT_EQ(form.Label4->font().pointSize(), 14);
    EXPECT_EQ(form.font().pointSize(), 16);
    EXPECT_EQ(form.MenuProgrammi->entryPointSize(), 16);
    EXPECT_EQ(form.MenuProgrammi->maxVisibleGroups(), 0);
    EXPECT_EQ(form.MenuProgrammi->width(), form.width());
    EXPECT_FALSE(form.MenuProgrammi->isVisibleTo(&form));
    EXPECT_FALSE(form.ButtonSceltaDisco2->isVisibleTo(&form));
    EXPECT_FALSE(form.ButtonSceltaDisco->isVisibleTo(&form));
    EXPECT_FALSE(form.LabelCambioUtente->isVisibleTo(&form));
    EXPECT_FALSE(form.LabelCambioDitta->isVisibleTo(&form));
    EXPECT_EQ(form.ButtonOk->toolTip(), QStringLiteral("Premere dopo\r\naver inserito i dati\r\nper l'autenticazione"));
    EXPECT_TRUE(form.ButtonOk->isDefault());
}

TEST_F(MainWindowStart, SystemMenuOffersOnlyEsciBeforeLogin)
{
    TBaseMainForm &form = start();
    EXPECT_EQ(form.N1->title(), QStringLiteral("&Sistema")) << "the caption with S as its access key";
    EXPECT_FALSE(form.Sessioni1->isEnabled());
    EXPECT_FALSE(form.Gestionesemafori1->isEnabled());
    EXPECT_FALSE(form.Accessoaquadrel1->isEnabled());
    EXPECT_TRUE(form.N2->isSeparator());
    EXPECT_TRUE(form.Esci1->isEnabled());
    EXPECT_EQ(form.Esci1->text(), QStringLiteral("Esci"));
}

TEST(MainWindowGraphics, MissingGraphicsDirectoryWarnsOnceAndStartGoesOn)
{
    AppDirectory app;
    QDir(app.path() + QStringLiteral("Grafica")).removeRecursively();
    app.execUser({user(1, QStringLiteral("UNO"), QStringLiteral("NULL"))});
    RecordingPrompter prompter;
    TBaseMainForm form;
    EXPECT_EQ(prompter.messages,
              (QList<QPair<MessageKind, QString>>{{MessageKind::Warning, QStringLiteral("Directory \"Grafica\" mancante")}}));
    EXPECT_EQ(form.ListaUtenti2->count(), 1);
}

TEST(MainWindowFirstStart, EmptyDirectoryCreatesTheDatabaseThenReportsTheMissingSchema)
{
    AppDirectory app(AppDirectory::Contents::GraphicsOnly);
    RecordingPrompter prompter;
    TBaseMainForm form;
    ASSERT_EQ(prompter.messages.size(), 2) << prompter.texts().join(QLatin1Char('|')).toStdString();
    EXPECT_EQ(prompter.messages[0], qMakePair(MessageKind::Plain, QStringLiteral("Effettuata creazione data base")));
    EXPECT_EQ(prompter.messages[1].first, MessageKind::Error);
    EXPECT_TRUE(prompter.messages[1].second.contains(QStringLiteral("TABQUADREL")))
        << prompter.messages[1].second.toStdString();
    EXPECT_TRUE(QFile::exists(app.userDatabasePath()));
    EXPECT_EQ(form.ListaUtenti2->count(), 0);
    ASSERT_NE(form.PTabX, nullptr);
    EXPECT_TRUE(form.PTabX->TabX->IBDatabaseUser.connected());
}

} // namespace
