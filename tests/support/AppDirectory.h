#pragma once

#include "TestSupport.h"

#include <QString>

namespace tg::test {

// A temporary application directory that the program takes as its
// executable's directory for the life of the object. With a schema it holds
// user/user.fdb with the suite's tables; Grafica/ exists unless told not to.
class AppDirectory {
public:
    enum class Contents { Empty, GraphicsOnly, UserSchema };

    explicit AppDirectory(Contents contents = Contents::UserSchema);
    ~AppDirectory();

    QString path() const { return m_dir.path(); }
    QString userDatabasePath() const { return m_dir.file(QStringLiteral("user/user.fdb")); }

    // Runs statements on the user database, each committed (outside the
    // program's own connections), and reads the first value of a query.
    void execUser(const QStringList &statements) const { exec(userDatabasePath(), statements); }
    QString queryUserText(const QString &statement) const { return queryText(userDatabasePath(), statement); }
    // All the rows of a query, each row's values joined with '|'.
    QStringList queryUserRows(const QString &statement) const { return queryRows(userDatabasePath(), statement); }

    // Creates an archive database with the suite's tables; returns its path.
    QString createArchive(const QString &fileName) const;

    static void exec(const QString &databasePath, const QStringList &statements);
    static QString queryText(const QString &databasePath, const QString &statement);
    static QStringList queryRows(const QString &databasePath, const QString &statement);

private:
    TempDir m_dir;
};

} // namespace tg::test
