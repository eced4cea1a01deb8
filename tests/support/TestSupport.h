#pragma once

#include "db/StatementObserver.h"
#include "platform/Prompter.h"

#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <ostream>

// Readable QString values in test failure messages.
inline void PrintTo(const QString &text, std::ostream *out)
{
    *out << '"' << text.toStdString() << '"';
}

namespace tg::test {

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
