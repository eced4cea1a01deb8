#pragma once

#include "AppDirectory.h"
#include "SuiteRows.h"
#include "TestSupport.h"

#include "platform/ScreenSize.h"
#include "shell/BaseMain.h"

#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <gtest/gtest.h>
#include <memory>

namespace tg::test {

// A main window whose plug-in calls are recorded instead of made:
// "form|library|entry|text|window id".
class RecordingMainForm : public TBaseMainForm {
public:
    void CaricaFunzioneDLL(const QString &dll, const QString &f) override { calls << join("DLL", dll, f, {}, 0); }
    void CaricaFunzioneDLL2(const QString &dll, const QString &f, const QString &p) override
    {
        calls << join("DLL2", dll, f, p, 0);
    }
    void CaricaFunzioneDLLX(const QString &dll, const QString &f, int id) override { calls << join("DLLX", dll, f, {}, id); }
    void CaricaFunzioneDLL2X(const QString &dll, const QString &f, const QString &p, int id) override
    {
        calls << join("DLL2X", dll, f, p, id);
    }
    void CaricaFunzioneDLL3Y(const QString &dll, const QString &f, const QString &p, int id) override
    {
        calls << join("DLL3Y", dll, f, p, id);
    }
    QStringList calls;

private:
    static QString join(const char *form, const QString &dll, const QString &f, const QString &p, int id)
    {
        return QStringList{QString::fromLatin1(form), dll, f, p, QString::number(id)}.join(QLatin1Char('|'));
    }
};

// An application directory with user MARIO (number 1, profile 1, project 1,
// companies ROSSI SPA and VERDI SRL, each with its archive), program 1 of
// project 1, a main window of the given kind in it, and the current
// directory moved there for the life of the fixture.
template <typename Form = TBaseMainForm>
class LoggedInWindow : public ::testing::Test {
protected:
    LoggedInWindow()
    {
        EdizioneProgramma = QStringLiteral("SMALL"); // as the program entry sets it
        ScreenSize::override(QSize(800, 600));
    }
    ~LoggedInWindow() override { ScreenSize::override(QSize()); }

    void SetUp() override
    {
        rossi = app.createArchive(QStringLiteral("rossi.fdb"));
        verdi = app.createArchive(QStringLiteral("verdi.fdb"));
        app.execUser({rows::user(1, QStringLiteral("MARIO"), QStringLiteral("DITTA,PROFILOSICUREZZA,PROGETTO"),
                                 QStringLiteral("'ROSSI SPA',1,1")),
                      rows::parameter(1, QStringLiteral("ROSSI SPA"), QStringLiteral("Archivio"), rossi, 1),
                      rows::parameter(1, QStringLiteral("VERDI SRL"), QStringLiteral("Archivio"), verdi, 2),
                      QStringLiteral("INSERT INTO PROFILI (CODICE,LIVELLOPREDEFINITO) VALUES (1,'5')"),
                      rows::program(1, QStringLiteral("Vendite")), rows::projectProgram(1, 1)});
        previousDirectory = QDir::currentPath();
        QDir::setCurrent(app.path());
    }
    void TearDown() override
    {
        form.reset();
        QDir::setCurrent(previousDirectory);
    }
    // Logs MARIO in; `shown` puts the window on screen first, as the
    // program does.
    Form &login(bool shown = false)
    {
        form = std::make_unique<Form>();
        if (shown)
            form->show();
        form->ComboUtenti1->setCurrentIndex(form->ComboUtenti1->findText(QStringLiteral("MARIO")));
        form->ButtonOkClick();
        return *form;
    }
    QStringList calls() const
    {
        return app.queryUserRows(QStringLiteral("SELECT FUNZIONECHIAMATA,IDFINESTRA FROM MARTILOGFUNZ ORDER BY IDFINESTRA"));
    }

    AppDirectory app;
    QString rossi;
    QString verdi;
    QString previousDirectory;
    RecordingPrompter prompter;
    std::unique_ptr<Form> form;
};

} // namespace tg::test
