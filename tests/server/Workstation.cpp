// One workstation of the multi-workstation tests: the program's real main
// window, offscreen, in a process of its own, run from the application
// directory named on the command line and driven through standard input.
//
// Each command line is answered by exactly one line on standard output:
//   ok<TAB>detail<TAB>messages     or     error<TAB>detail<TAB>messages
// where messages are the texts the user was shown meanwhile, joined by "¦".
// Every question is answered Yes (or OK).
//
// Commands:
//   login USER               logs USER in; detail: the session code
//   open                     shows the main window on its login page, as the
//                            program does when it starts
//   enter USER               logs USER in on the login page of the window
//                            shown; detail: the session code
//   choose PROGRAM MENU      chooses a menu entry, as a click on it would
//   repeat N PROGRAM MENU    chooses it N times; detail: N
//   key F8|F9|F12            presses the function key on the main window
//   company                  detail: the current company
//   edit KEY TEXT            starts changing TESTO of TABX row CODICE=KEY in
//                            the company archive; detail: "locked" or
//                            "refused"
//   save | cancel            saves or drops that change
//   release-semaphores       releases every taken semaphore from the
//                            semaphores screen; detail: how many were listed
//   close-session CODE       closes a session from the open sessions screen
//   sessions                 detail: the open sessions screen's rows as
//                            CODE:CONNESSA, joined by ","
//   close-orphan-sessions    on the open sessions screen: "Segna orfane",
//                            then "Chiudi selezionate"; detail: the codes
//                            marked, joined by ","
//   semaphores               detail: the semaphores screen's rows as
//                            ID:CONNESSA, joined by ","
//   release-orphan-semaphores  on the semaphores screen: "Segna orfani",
//                            then "Libera semafori"; detail: the IDs selected
//   calls N PROGRAM MENU MS  chooses the entry N times, MS milliseconds
//                            apart, going on through failures; detail:
//                            "ANSWERED FAILED LAST IDS": LAST is the number
//                            of the last failed call (0 for none), IDS the
//                            window ids of the calls that reached the
//                            plug-in with nothing shown to the user, joined
//                            by ","; the messages are those of the failed
//                            calls
//   windows                  detail: the plug-in windows open
//   close                    closes the main window; detail: "closed" or
//                            "open"
//   ping                     detail: "pong"

#include "data/TabX.h"
#include "db/TableDataSet.h"
#include "platform/ExecutableDirectory.h"
#include "platform/Prompter.h"
#include "semaphores/Semafori.h"
#include "sessions/Sessioni.h"
#include "shell/Application.h"
#include "shell/BaseMain.h"

#include <QAbstractItemModel>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QLibrary>
#include <QPushButton>
#include <QTest>
#include <QTextStream>
#include <QThread>

#include <cstdio>
#include <iostream>
#include <memory>
#include <string>

using namespace tg;

namespace {

class AnsweringPrompter : public Prompter {
public:
    MessageAnswer show(MessageKind, const QString &text, MessageButtons buttons) override
    {
        shown << text;
        return buttons == MessageButtons::YesNo ? MessageAnswer::Yes : MessageAnswer::Ok;
    }
    QStringList shown;
};

struct Reply {
    bool ok = true;
    QString detail;
};

class Workstation {
public:
    Reply run(const QStringList &words)
    {
        const QString command = words.value(0);
        if (command == QLatin1String("ping"))
            return {true, QStringLiteral("pong")};
        if (command == QLatin1String("login"))
            return login(words.value(1));
        if (command == QLatin1String("open"))
            return open();
        if (!m_form)
            return {false, QStringLiteral("not logged in")};
        if (command == QLatin1String("enter"))
            return enter(words.value(1));
        if (command == QLatin1String("choose"))
            return choose(1, words.value(1).toInt(), words.value(2).toInt());
        if (command == QLatin1String("repeat"))
            return choose(words.value(1).toInt(), words.value(2).toInt(), words.value(3).toInt());
        if (command == QLatin1String("key"))
            return key(words.value(1));
        if (command == QLatin1String("company"))
            return {true, m_form->PTabX->TabX->dittaCorrente()};
        if (command == QLatin1String("edit"))
            return edit(words.value(1), words.mid(2).join(QLatin1Char(' ')));
        if (command == QLatin1String("save") || command == QLatin1String("cancel"))
            return finishEdit(command == QLatin1String("save"));
        if (command == QLatin1String("release-semaphores"))
            return releaseSemaphores();
        if (command == QLatin1String("close-session"))
            return closeSession(words.value(1));
        if (command == QLatin1String("sessions"))
            return sessions(false);
        if (command == QLatin1String("close-orphan-sessions"))
            return sessions(true);
        if (command == QLatin1String("semaphores"))
            return semaphores(false);
        if (command == QLatin1String("release-orphan-semaphores"))
            return semaphores(true);
        if (command == QLatin1String("calls"))
            return calls(words.value(1).toInt(), words.value(2).toInt(), words.value(3).toInt(), words.value(4).toInt());
        if (command == QLatin1String("windows"))
            return {true, QString::number(pluginWindows())};
        if (command == QLatin1String("close"))
            return closeMainWindow();
        return {false, QStringLiteral("unknown command ") + command};
    }

private:
    Reply login(const QString &user)
    {
        m_form = std::make_unique<TBaseMainForm>();
        m_form->show();
        return enter(user);
    }

    Reply open()
    {
        if (!m_form) {
            m_form = std::make_unique<TBaseMainForm>();
            m_form->show();
        }
        QCoreApplication::processEvents();
        return {true, {}};
    }

    Reply enter(const QString &user)
    {
        const int index = m_form->ComboUtenti1->findText(user);
        if (index < 0)
            return {false, QStringLiteral("no user ") + user};
        m_form->ComboUtenti1->setCurrentIndex(index);
        reportingErrors([this] { m_form->ButtonOkClick(); })();
        return {true, QString::number(m_form->codiceSessione())};
    }

    // Each choice goes through the same error report as a click on the entry.
    Reply choose(int times, int program, int menu)
    {
        for (int i = 0; i < times; ++i) {
            reportingErrors([&] { m_form->EseguiFunzioneVoce(program, menu, 1); })();
            QCoreApplication::processEvents();
        }
        return {true, QString::number(times)};
    }

    Reply key(const QString &name)
    {
        const Qt::Key key = name == QLatin1String("F8")    ? Qt::Key_F8
                            : name == QLatin1String("F9")  ? Qt::Key_F9
                            : name == QLatin1String("F12") ? Qt::Key_F12
                                                           : Qt::Key_unknown;
        if (key == Qt::Key_unknown)
            return {false, QStringLiteral("unknown key ") + name};
        QTest::keyClick(m_form.get(), key);
        QCoreApplication::processEvents();
        return {true, m_form->PTabX->TabX->dittaCorrente()};
    }

    Reply edit(const QString &key, const QString &text)
    {
        TTabXForm &module = *m_form->PTabX->TabX;
        m_edited = std::make_unique<db::TableDataSet>();
        m_edited->setDatabase(&module.IBDatabase1);
        m_edited->setTableName(QStringLiteral("TABX"));
        m_edited->setBeforeEdit([&module, this](db::DataSet &dataSet) {
            return module.EventoBeforeEditDataSet(dataSet, &m_saveButton, QStringLiteral("TABX"));
        });
        module.AggiornaTabella(*m_edited, QVariant(), false);
        if (!m_edited->locate(QStringLiteral("CODICE"), key))
            return {false, QStringLiteral("no row ") + key};
        return {true, m_edited->setFieldValue(QStringLiteral("TESTO"), text) ? QStringLiteral("locked")
                                                                             : QStringLiteral("refused")};
    }

    Reply finishEdit(bool save)
    {
        if (!m_edited)
            return {false, QStringLiteral("nothing edited")};
        TTabXForm &module = *m_form->PTabX->TabX;
        if (save)
            module.ChiudiTransEAggiorna(*m_edited, m_bookmark, m_valid, &m_saveButton);
        else
            module.Annulla(*m_edited, m_bookmark, m_valid, &m_saveButton);
        m_edited.reset();
        return {true, {}};
    }

    Reply releaseSemaphores()
    {
        TSemaforiForm screen(m_form.get(), m_form->PTabX.get());
        const int listed = screen.SourceSemafori->rowCount();
        screen.ButtonSelClick();
        screen.ButtonLiberaSemaforiClick();
        return {true, QString::number(listed)};
    }

    Reply closeSession(const QString &code)
    {
        TSessioniForm screen(m_form.get(), m_form->PTabX.get());
        screen.SessioniSelezionate = QStringList{code};
        screen.ButtonChiudiSelClick();
        return {true, {}};
    }

    // The rows of a screen's grid as KEY:CONNESSA.
    static QString connections(QAbstractItemModel &source)
    {
        int connected = -1;
        for (int column = 0; column < source.columnCount(); ++column) {
            if (source.headerData(column, Qt::Horizontal).toString() == QLatin1String("Connessa"))
                connected = column;
        }
        QStringList rows;
        for (int row = 0; row < source.rowCount(); ++row)
            rows << source.index(row, 0).data().toString() + QLatin1Char(':') +
                        (connected < 0 ? QStringLiteral("-") : source.index(row, connected).data().toString());
        return rows.join(QLatin1Char(','));
    }

    Reply sessions(bool closeOrphans)
    {
        TSessioniForm screen(m_form.get(), m_form->PTabX.get());
        if (!closeOrphans)
            return {true, connections(*screen.SourceSessioni)};
        screen.ButtonSegnaOrfaneClick();
        const QString marked = screen.SessioniSelezionate.join(QLatin1Char(','));
        if (!screen.SessioniSelezionate.isEmpty())
            screen.ButtonChiudiSelClick();
        return {true, marked};
    }

    Reply semaphores(bool releaseOrphans)
    {
        TSemaforiForm screen(m_form.get(), m_form->PTabX.get());
        if (!releaseOrphans)
            return {true, connections(*screen.SourceSemafori)};
        screen.ButtonSegnaOrfaniClick();
        const QString selected = screen.Selezione.join(QLatin1Char(','));
        if (!screen.Selezione.isEmpty())
            screen.ButtonLiberaSemaforiClick();
        return {true, selected};
    }

    // The recording plug-in as the program loaded it: the same file gives
    // the same library.
    QLibrary &plugin()
    {
        if (!m_plugin.isLoaded()) {
            m_plugin.setFileName(QDir::current().filePath(QStringLiteral("taskgatetest.so")));
            m_plugin.load();
        }
        return m_plugin;
    }

    Reply calls(int times, int program, int menu, int pauseMs)
    {
        using Calls = const char *(*)();
        using Reset = void (*)();
        const auto recorded = reinterpret_cast<Calls>(plugin().resolve("TaskgateTestCalls"));
        const auto reset = reinterpret_cast<Reset>(plugin().resolve("TaskgateTestReset"));
        if (!recorded || !reset)
            return {false, QStringLiteral("the recording plug-in is not loaded: ") + m_plugin.errorString()};
        QStringList ids;
        QStringList failures;
        int lastFailed = 0;
        for (int i = 0; i < times; ++i) {
            reset();
            m_prompter.shown.clear();
            reportingErrors([&] { m_form->EseguiFunzioneVoce(program, menu, 1); })();
            QCoreApplication::processEvents();
            const QStringList words = QString::fromUtf8(recorded()).split(QLatin1Char(' '), Qt::SkipEmptyParts);
            if (m_prompter.shown.isEmpty() && words.size() == 3)
                ids << words.at(2).trimmed();
            else {
                failures << m_prompter.shown;
                lastFailed = i + 1;
            }
            QThread::msleep(static_cast<unsigned long>(pauseMs));
        }
        m_prompter.shown = failures;
        return {true, QStringLiteral("%1 %2 %3 %4")
                          .arg(ids.size())
                          .arg(times - ids.size())
                          .arg(lastFailed)
                          .arg(ids.join(QLatin1Char(',')))};
    }

    int pluginWindows() const
    {
        int count = 0;
        for (QWidget *widget : QApplication::topLevelWidgets()) {
            if (widget != m_form.get() && widget->isVisible())
                ++count;
        }
        return count;
    }

    Reply closeMainWindow()
    {
        m_form->close();
        QCoreApplication::processEvents();
        return {true, m_form->isVisible() ? QStringLiteral("open") : QStringLiteral("closed")};
    }

public:
    explicit Workstation(AnsweringPrompter &prompter) : m_prompter(prompter) {}

private:
    AnsweringPrompter &m_prompter;
    QLibrary m_plugin;
    std::unique_ptr<TBaseMainForm> m_form;
    std::unique_ptr<db::TableDataSet> m_edited;
    QPushButton m_saveButton;
    QVariant m_bookmark;
    bool m_valid = false;
};

// Tabs and line ends would break the reply's layout.
QString flattened(QString text)
{
    return text.replace(QLatin1Char('\t'), QLatin1Char(' ')).replace(QLatin1Char('\n'), QLatin1Char(' ')).remove(QLatin1Char('\r'));
}

} // namespace

int main(int argc, char **argv)
{
    TaskgateApplication app(argc, argv);
    if (argc < 2) {
        std::fputs("usage: taskgate_workstation <application directory>\n", stderr);
        return 2;
    }
    EdizioneProgramma = QStringLiteral("SMALL");
    ExecutableDirectory::override(QString::fromLocal8Bit(argv[1]));
    QDir::setCurrent(QString::fromLocal8Bit(argv[1]));
    AnsweringPrompter prompter;
    Prompter::install(&prompter);

    Workstation workstation(prompter);
    std::string line;
    while (std::getline(std::cin, line)) {
        const QStringList words = QString::fromUtf8(line).split(QLatin1Char(' '), Qt::SkipEmptyParts);
        if (words.isEmpty())
            continue;
        if (words.first() == QLatin1String("quit"))
            break;
        prompter.shown.clear();
        Reply reply;
        try {
            reply = workstation.run(words);
        } catch (...) {
            // What a click would have done: the top-level report.
            reportUnhandledError(std::current_exception());
            reply = {false, QStringLiteral("reported")};
        }
        const QString answer = (reply.ok ? QStringLiteral("ok") : QStringLiteral("error")) + QLatin1Char('\t') +
                               flattened(reply.detail) + QLatin1Char('\t') +
                               flattened(prompter.shown.join(QStringLiteral("¦")));
        std::cout << answer.toStdString() << std::endl;
    }
    Prompter::install(nullptr);
    return 0;
}
