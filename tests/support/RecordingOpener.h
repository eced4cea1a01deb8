#pragma once

#include "archive/ArchiveLocator.h"
#include "db/Database.h"

#include <QList>
#include <QString>
#include <QStringList>

namespace tg::test {

// One attempt on the database client, as the locator set the connection up.
struct OpenAttempt {
    QString kind; // "attach" or "create"
    QString name;
    QStringList params;
    int dialect = 0;
    bool loginPrompt = true;
    bool succeeded = false;
};

// Records the locator's attempts instead of making them. An attempt succeeds
// when "kind:name" is listed in `succeeding`, unless a subclass decides.
class RecordingOpener : public archive::DatabaseOpener {
public:
    bool attach(db::Database &connection) override { return record(QStringLiteral("attach"), connection); }
    bool create(db::Database &connection) override { return record(QStringLiteral("create"), connection); }

    // The names tried by one kind of attempt, in order.
    QStringList names(const QString &kind) const
    {
        QStringList result;
        for (const OpenAttempt &attempt : attempts)
            if (attempt.kind == kind)
                result << attempt.name;
        return result;
    }

    QList<OpenAttempt> attempts;
    QStringList succeeding;

protected:
    // Decides the attempt about to be recorded (attempts.size() is its index).
    virtual bool succeeds(const QString &kind, const QString &name) const
    {
        return succeeding.contains(kind + QLatin1Char(':') + name);
    }

private:
    bool record(const QString &kind, db::Database &connection)
    {
        const bool succeeded = succeeds(kind, connection.databaseName());
        attempts.append({kind, connection.databaseName(), connection.params(), connection.sqlDialect(),
                         connection.loginPrompt(), succeeded});
        return succeeded;
    }
};

} // namespace tg::test
