#pragma once

#include <QString>

// Statements that put rows of the suite's catalogue tables into a test
// database. Texts are written as given (tests pass quoted literals or NULL).
namespace tg::test::rows {

inline QString program(int code, const QString &caption, const QString &icon = QStringLiteral("NULL"))
{
    return QStringLiteral("INSERT INTO PROGRAMMI (CODICE,DESCRIZIONE,ICONA) VALUES (%1,'%2',%3)")
        .arg(code)
        .arg(caption, icon);
}

inline QString projectProgram(int project, int program)
{
    return QStringLiteral("INSERT INTO DETTPROGETTI (PROGETTO,PROGRAMMA) VALUES (%1,%2)").arg(project).arg(program);
}

struct Entry {
    int program;
    int menu;
    QString parent = QStringLiteral("NULL"); // MENUPREC
    int level = 0;
    QString caption;
    QString visible = QStringLiteral("'1'");
    QString quick = QStringLiteral("'0'");
    QString level2 = QStringLiteral("NULL");
    QString function = QStringLiteral("NULL");
};

inline QString menuEntry(const Entry &e)
{
    return QStringLiteral("INSERT INTO DETTMENU (PROGRAMMA,MENU,MENUPREC,LIVELLOMENU,VISIBILE,DESCRIZIONE,"
                          "VOCERAPIDA,LIVELLO2VERSIONE,FUNZIONE) VALUES (%1,%2,%3,%4,%5,'%6',%7,%8,%9)")
        .arg(e.program)
        .arg(e.menu)
        .arg(e.parent)
        .arg(e.level)
        .arg(e.visible, e.caption, e.quick, e.level2, e.function);
}

inline QString translation(int program, int menu, int language, const QString &caption)
{
    return QStringLiteral("INSERT INTO LINGUEMENU (PROGRAMMA,MENU,LINGUA,DESCRIZIONE) VALUES (%1,%2,%3,%4)")
        .arg(program)
        .arg(menu)
        .arg(language)
        .arg(caption);
}

inline QString pictureButton(int id, int project, const QString &image, const QString &visible = QStringLiteral("'1'"))
{
    return QStringLiteral("INSERT INTO PULSANTONI (ID,PROGETTO,VISIBILE,POS_X,POS_Y,LARGHEZZA,ALTEZZA,NOME,"
                          "NOMEIMMAGINE) VALUES (%1,%2,%3,%4,20,100,60,'Bottone %1',%5)")
        .arg(id)
        .arg(project)
        .arg(visible)
        .arg(10 + id)
        .arg(image);
}

inline QString user(int code, const QString &name, const QString &columns, const QString &values)
{
    return QStringLiteral("INSERT INTO UTENTI (CODICE,NOMEUTENTE%1) VALUES (%2,'%3'%4)")
        .arg(columns.isEmpty() ? QString() : QLatin1Char(',') + columns)
        .arg(code)
        .arg(name, values.isEmpty() ? QString() : QLatin1Char(',') + values);
}

inline QString parameter(int user, const QString &section, const QString &key, const QString &value, int position)
{
    return QStringLiteral("INSERT INTO TABQUADREL (UTENTE,INTESTAZIONE,PARAMETRO,VALORE,PROGRESSIVO) "
                          "VALUES (%1,'%2','%3','%4',%5)")
        .arg(user)
        .arg(section, key, value)
        .arg(position);
}

} // namespace tg::test::rows
