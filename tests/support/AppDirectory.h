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

    // Runs statements on the user database in one committed transaction
    // (outside the program's own connections).
    void execUser(const QStringList &statements) const;
    QString queryUserText(const QString &statement) const;

private:
    TempDir m_dir;
};

} // namespace tg::test
