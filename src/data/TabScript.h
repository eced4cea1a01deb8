#pragma once

#include <QStringList>

namespace tg {

// TABSCRIPT, the table of form scripts: the one table the front-end creates
// itself, when the user database lacks it, and the setup's definition of it
// too. Eleven lines, run as one statement joined with line breaks.
inline QStringList tabScriptDefinition()
{
    return {
        QStringLiteral("CREATE TABLE TABSCRIPT("),
        QStringLiteral("PROGETTO VARCHAR(15) NOT NULL,"),
        QStringLiteral("SCRIPTFORM VARCHAR(15) NOT NULL,"),
        QStringLiteral("CONTESTO SMALLINT NOT NULL,"),
        QStringLiteral("UTENTE VARCHAR(15) NOT NULL,"),
        QStringLiteral("DESCRIZIONESITUAZIONE BLOB,"),
        QStringLiteral("SCRIPT BLOB,"),
        QStringLiteral("MODIFICATODAUTENTE SMALLINT,"),
        QStringLiteral("DATAULTIMAMODIFICA DATE,"),
        QStringLiteral("STATUS SMALLINT,"),
        QStringLiteral("CONSTRAINT QORTAB_CHIAVEPRIMARIA PRIMARY KEY (PROGETTO,SCRIPTFORM,CONTESTO,UTENTE));"),
    };
}

} // namespace tg
