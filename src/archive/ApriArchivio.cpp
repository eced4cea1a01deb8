#include "archive/ArchiveLocator.h"

namespace tg {

bool ApriArchivio(db::Database &connection, const QString &directory, const QString &fileName,
                  const QString &userName, const QString &password, QWidget *owner)
{
    // The last resort asks the user, in a dialog owned by the caller's window.
    archive::ArchiveLocator locator(
        archive::ClientOpener::instance(),
        [owner](QString &serverName, QString &driveLetter, const QString &dir) {
            ChiediServerArchivio(serverName, driveLetter, dir, owner);
        });
    return locator.ApriArchivio(connection, directory, fileName, userName, password);
}

} // namespace tg
