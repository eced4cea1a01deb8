#pragma once

#include "db/StatementObserver.h"
#include "platform/Clock.h"
#include "platform/Prompter.h"

#include <QApplication>
#include <QFont>
#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <ostream>

class QDialog;

// Readable QString values in test failure messages.
inline void PrintTo(const QString &text, std::ostream *out)
{
    *out << '"' << text.toStdString() << '"';
}

namespace tg::test {

// The application's font at the designed text size (11 pixels) for the life
// of the object: the screen shows its designed layout.
struct DesignedTextSize {
    DesignedTextSize()
    {
        QFont designed(QStringLiteral("Tahoma"));
        designed.setPixelSize(11);
        QApplication::setFont(designed);
    }
    ~DesignedTextSize() { QApplication::setFont(previous); }
    const QFont previous = QApplication::font();
};

// Records every message and answers from a script (Ok/Yes when it runs out).
class RecordingPrompter : public Prompter {
public:
    RecordingPrompter() { Prompter::install(this); }
    ~RecordingPrompter() override { Prompter::install(nullptr); }

    MessageAnswer show(MessageKind kind, const QString &text, MessageButtons buttons) override;

    QList<QPair<MessageKind, QString>> messages;
    QList<MessageAnswer> answers; // consumed front first
    QStringList texts() const;
};

// The window title and the texts a dialog shows (a message box's text and
// informative text, else its labels), as a failure message quotes them.
QString describeDialog(const QDialog &dialog);

// Makes a modal dialog that nothing scripted fail the running test at once,
// with its title and text, and rejects it so that the code under test goes
// on: a dialog run with exec() (by ModalRunner when no script is installed,
// by the message-box prompter, or by a function of its own), seen as a modal
// dialog still showing once the event loop of its exec() runs. The tests'
// main calls it, so that no test waits for a click that cannot come.
void failUnscriptedDialogs();

// Installs what the program's window installs for the whole process: the
// window system's look-up of native window handles and the server question
// of a database whose dati.ini names no server (a dialog without an owner).
void installProgramSeams();

// Records what reached the database client.
class RecordingObserver : public db::StatementObserver {
public:
    RecordingObserver() { StatementObserver::install(this); }
    ~RecordingObserver() override { StatementObserver::install(nullptr); }

    void connectionTried(const QString &name) override { connections << name; }
    void creationTried(const QString &statement) override { creations << statement; }
    void statementRun(const QString &text) override { statements << text; }

    QStringList connections;
    QStringList creations;
    QStringList statements;
};

// A clock that steps one second at every reading, from 09/03/2024 08:59:59.
class SteppingClock : public Clock {
public:
    SteppingClock() { Clock::install(this); }
    ~SteppingClock() override { Clock::install(nullptr); }
    QDateTime now() const override { return m_time = m_time.addSecs(1); }

private:
    mutable QDateTime m_time{QDate(2024, 3, 9), QTime(8, 59, 59)};
};

// A temporary directory, path ending with '/'.
class TempDir {
public:
    TempDir();
    QString path() const { return m_dir.path() + QLatin1Char('/'); }
    QString file(const QString &name) const { return path() + name; }

private:
    QTemporaryDir m_dir;
};

} // namespace tg::test
