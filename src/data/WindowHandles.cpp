// The write with which a plug-in window records its native handle in the
// call log, so that the closing check finds it open.

#include "data/TabX.h"
#include "db/DatabaseError.h"
#include "platform/Logging.h"

namespace tg {

bool TTabXForm::ScritturaHandleDiApertura(int idFinestra, qint64 handle)
{
    try {
        QueryQuadrel.close();
        TransazioneUser.rollback();
        TransazioneUser.start();
        QueryQuadrel.sql() = QStringList{QStringLiteral("UPDATE MARTILOGFUNZ SET HANDLEFINESTRA='%1'").arg(handle),
                                         QStringLiteral("WHERE IDFINESTRA='%1'").arg(idFinestra)};
        QueryQuadrel.execSql();
        TransazioneUser.commitRetaining();
        return true;
    } catch (const db::DatabaseError &error) {
        qCWarning(lcData).noquote() << "Recording the handle of window" << idFinestra << "in the call log failed:"
                                    << error.message();
        return false;
    }
}

} // namespace tg
