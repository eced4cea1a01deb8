// Named values in the archive table TABX: project values (keyed by project,
// situation, name and user), plain values (by name, optionally per user),
// and the copy of the user's values into memory. Every statement runs on a
// new query of IBDatabase1 in IBTransaction1.

#include "data/ShortDate.h"
#include "data/TabX.h"
#include "db/DatabaseError.h"
#include "db/SqlText.h"
#include "platform/Logging.h"
#include "platform/Prompter.h"

namespace tg {
namespace {

const QString Acute = QStringLiteral("\u00B4");

// The forms in which values are written to TABX. Free text keeps the
// suite's convention of an acute accent in place of the apostrophe; every
// other value is quoted safely as it is.
QString numberForm(const QString &number)
{
    return db::quotedValue(QString(number).replace(QLatin1Char(','), QLatin1Char('.')));
}

QString textForm(const QString &text)
{
    return QString(text).replace(QLatin1Char('\''), Acute);
}

QString dateForm(const QString &date)
{
    return parseShortDate(date).toString(QStringLiteral("MM/dd/yyyy"));
}

// "'value'" followed by the separator, or NULL with it when the value is empty.
QString quotedOrNull(const QString &value, const QString &form, const QString &separator)
{
    return value.isEmpty() ? QStringLiteral("NULL") + separator
                           : QLatin1Char('\'') + form + QLatin1Char('\'') + separator;
}

QString quotedLine(const QString &value)
{
    return QLatin1Char('\'') + db::quotedValue(value) + QStringLiteral("',");
}

} // namespace

QStringList TTabXForm::projectKeyLines(const QString &project, const QString &situation, const QString &name) const
{
    return {QStringLiteral("(CODPROGETTO='") + db::quotedValue(project) + QStringLiteral("')AND"),
            QStringLiteral("(CODSITUAZIONE='") + db::quotedValue(situation) + QStringLiteral("')AND"),
            QStringLiteral("(NOME='") + db::quotedValue(name) + QStringLiteral("')AND"),
            QStringLiteral("(UTENTE='%1')").arg(m_userNumber)};
}

QStringList TTabXForm::plainKeyLines(const QString &name, bool perUser) const
{
    QStringList lines{QStringLiteral("WHERE (NOME='") + db::quotedValue(name) + QStringLiteral("')")};
    if (perUser)
        lines << QStringLiteral("AND(UTENTE='%1')").arg(m_userNumber);
    return lines;
}

void TTabXForm::AggiornaParametriTabX()
{
    db::Query query(&IBDatabase1, &IBTransaction1);
    query.sql() << QStringLiteral("SELECT * FROM TABX WHERE") << QStringLiteral("(UTENTE='%1')AND").arg(m_userNumber)
                << QStringLiteral("(TIPO='TBX')");
    query.open();
    query.fetchAll();
    for (; !query.eof(); query.next()) {
        const auto text = [&query](const char *column) { return query.fieldByName(QLatin1String(column)).asText(); };
        const QString name = text("NOME");
        const int index = memTabX.locate([&](const MemTabX::Record &r) {
            return r.Tipo == QLatin1String("TBX") && r.Nome == name.left(MemTabX::NomeWidth);
        });
        if (index < 0) {
            Inserisci(QStringLiteral("TBX"), name, text("NUMERO"), text("TESTO"), text("DATA"), text("MEMO"),
                      text("LIVELLO1"), text("LIVELLO2"), text("UTENTE"));
            continue;
        }
        MemTabX::Record record = memTabX.record(index);
        const QString numero = text("NUMERO");
        const QString testo = text("TESTO");
        const QString data = text("DATA");
        const QString memo = text("MEMO");
        if (numero.isEmpty() && testo.isEmpty() && data.isEmpty() && memo.isEmpty()) {
            record.Numero.reset();
            record.Testo.clear();
            record.Data = QDate();
            record.Memo.clear();
        } else {
            if (!numero.isEmpty())
                record.Numero = MemTabX::numberFromText(numero);
            if (!testo.isEmpty())
                record.Testo = testo;
            if (!data.isEmpty())
                record.Data = MemTabX::dateFromText(data);
            if (!memo.isEmpty())
                record.Memo = memo;
        }
        memTabX.post(std::move(record), index);
    }
}

bool TTabXForm::VerificaEsistenzaInTabX(const QString &project, const QString &situation, const QString &name)
{
    if (project.isEmpty() || situation.isEmpty() || name.isEmpty())
        return false;
    db::Query query(&IBDatabase1, &IBTransaction1);
    query.sql() = QStringList{QStringLiteral("SELECT * FROM TABX WHERE ")} + projectKeyLines(project, situation, name);
    query.open();
    return !query.eof();
}

bool TTabXForm::ScriviParametroInTabX(const QString &project, const QString &situation, const QString &name,
                                      const QString &number, const QString &text, const QString &date,
                                      const QString &memo)
{
    if (!VerificaEsistenzaInTabX(project, situation, name))
        return false;
    QStringList keyLines = projectKeyLines(project, situation, name);
    keyLines[0].prepend(QStringLiteral("WHERE "));
    db::Query query(&IBDatabase1, &IBTransaction1);
    query.sql() = QStringList{
        QStringLiteral("UPDATE TABX SET"),
        number.isEmpty() ? QStringLiteral("NUMERO=NULL,") : QStringLiteral("NUMERO='") + numberForm(number) + QStringLiteral("',"),
        text.isEmpty() ? QStringLiteral("TESTO=NULL,") : QStringLiteral("TESTO='") + textForm(text) + QStringLiteral("',"),
        date.isEmpty() ? QStringLiteral("DATA=NULL,") : QStringLiteral("DATA='") + dateForm(date) + QStringLiteral("',"),
        memo.isEmpty() ? QStringLiteral("MEMO=NULL") : QStringLiteral("MEMO='") + textForm(memo) + QStringLiteral("'")}
        + keyLines;
    try {
        query.execSql();
        IBTransaction1.commit();
        return true;
    } catch (const db::DatabaseError &error) {
        qCWarning(lcData).noquote() << "Updating the value" << name << "in TABX failed:" << error.message();
        showMessage(MessageKind::Error, QStringLiteral("Errore interno di UPDATE: impossibile settare il parametro ") + name);
        return false;
    }
}

bool TTabXForm::AggiungiParametroInTabX(const QString &project, const QString &situation, const QString &name,
                                        const QString &number, const QString &text, const QString &date,
                                        const QString &memo, const QString &level1, const QString &level2)
{
    if (project.isEmpty() || situation.isEmpty() || name.isEmpty())
        return false;
    if (VerificaEsistenzaInTabX(project, situation, name))
        return true;
    db::Query query(&IBDatabase1, &IBTransaction1);
    query.sql() = QStringList{QStringLiteral("INSERT INTO TABX VALUES("),
                              QStringLiteral("GEN_ID(CODICETABXCOUNTER,1),"),
                              quotedLine(project),
                              quotedLine(situation),
                              QStringLiteral("'TBX',"),
                              quotedLine(name),
                              quotedOrNull(number, number.isEmpty() ? QString() : numberForm(number), QStringLiteral(",")),
                              quotedOrNull(text, textForm(text), QStringLiteral(",")),
                              quotedOrNull(date, date.isEmpty() ? QString() : dateForm(date), QStringLiteral(",")),
                              quotedOrNull(memo, textForm(memo), QStringLiteral(",")),
                              quotedOrNull(level1, db::quotedValue(level1), QStringLiteral(",")),
                              quotedOrNull(level2, db::quotedValue(level2), QStringLiteral(",")),
                              QStringLiteral("'%1')").arg(m_userNumber)};
    try {
        query.execSql();
        IBTransaction1.commit();
        return true;
    } catch (const db::DatabaseError &error) {
        qCWarning(lcData).noquote() << "Adding the value" << name << "to TABX failed:" << error.message();
        showMessage(MessageKind::Error, QStringLiteral("Errore interno di INSERT: impossibile aggiungere il parametro ") + name);
        return false;
    }
}

bool TTabXForm::CaricaParametroDaTabX(const QString &project, const QString &situation, const QString &name,
                                      const QString &, const QString &, const QString &, const QString &,
                                      const QString &, const QString &)
{
    if (!VerificaEsistenzaInTabX(project, situation, name))
        return false;
    if (memTabX.locate([&](const MemTabX::Record &r) { return r.Nome == name; }) < 0)
        return false;
    db::Query query(&IBDatabase1, &IBTransaction1);
    query.sql() = QStringList{QStringLiteral("SELECT * FROM TABX WHERE")} + projectKeyLines(project, situation, name);
    query.open();
    SetV(name, query.fieldByName(QStringLiteral("TESTO")).asText());
    SetM(name, query.fieldByName(QStringLiteral("MEMO")).asText());
    return true;
}

QString TTabXForm::readPlainValue(const QString &column, const QString &name, bool perUser)
{
    db::Query query(&IBDatabase1, &IBTransaction1);
    query.sql() = QStringList{QStringLiteral("SELECT %1 FROM TABX").arg(column)} + plainKeyLines(name, perUser);
    query.open();
    return query.eof() ? QString() : query.field(0).asText();
}

void TTabXForm::ValoreTabX(const QString &name, bool perUser, QString &text)
{
    text = readPlainValue(QStringLiteral("TESTO"), name, perUser);
}

void TTabXForm::ValoreMTabX(const QString &name, bool perUser, QString &memo)
{
    memo = readPlainValue(QStringLiteral("MEMO"), name, perUser);
}

bool TTabXForm::writePlainValue(const QString &column, const QString &name, const QString &value, bool perUser)
{
    try {
        db::Query query(&IBDatabase1, &IBTransaction1);
        query.sql() = QStringList{QStringLiteral("SELECT * FROM TABX")} + plainKeyLines(name, perUser);
        query.open();
        const bool exists = !query.eof();
        query.close();
        if (exists) {
            // An update writes the empty text as such, not as NULL.
            query.sql() = QStringList{QStringLiteral("UPDATE TABX SET %1='").arg(column) + textForm(value)
                                      + QLatin1Char('\'')}
                          + plainKeyLines(name, perUser);
        } else {
            query.sql() = QStringList{QStringLiteral("INSERT INTO TABX (CODICE,NOME,%1,UTENTE) VALUES(").arg(column),
                                      QStringLiteral("GEN_ID(CODICETABXCOUNTER,1),"), quotedLine(name),
                                      quotedOrNull(value, textForm(value), QStringLiteral(",")),
                                      perUser ? QStringLiteral("'%1')").arg(m_userNumber) : QStringLiteral("NULL)")};
        }
        query.execSql();
        IBTransaction1.commitRetaining();
        return true;
    } catch (const db::DatabaseError &error) {
        qCWarning(lcData).noquote() << "Writing" << column << "of the value" << name << "in TABX failed:"
                                    << error.message();
        return false;
    }
}

bool TTabXForm::SettaValoreTabX(const QString &name, const QString &text, bool perUser)
{
    return writePlainValue(QStringLiteral("TESTO"), name, text, perUser);
}

bool TTabXForm::SettaValoreMTabX(const QString &name, const QString &memo, bool perUser)
{
    return writePlainValue(QStringLiteral("MEMO"), name, memo, perUser);
}

void TTabXForm::ValoreTabXUserCheckGen(const QString &name, QString &text)
{
    text.clear();
    const QStringList head{QStringLiteral("SELECT"), QStringLiteral("  TESTO"), QStringLiteral("FROM"),
                           QStringLiteral("  TABX"), QStringLiteral("WHERE"),
                           QStringLiteral("  NOME='") + db::quotedValue(name) + QLatin1Char('\''),
                           QStringLiteral("  AND")};
    db::Query query(&IBDatabase1, &IBTransaction1);
    query.sql() = head + QStringList{QStringLiteral("  UTENTE=%1").arg(m_userNumber)};
    query.open();
    if (!query.eof()) {
        text = query.field(0).asText();
        return;
    }
    query.close();
    query.sql() = head + QStringList{QStringLiteral("  UTENTE IS NULL")};
    query.open();
    if (!query.eof())
        text = query.field(0).asText();
    query.close();

    // The user gets a row of their own, a copy of the general value.
    query.sql() = QStringList{QStringLiteral("INSERT INTO TABX("), QStringLiteral("CODICE,"), QStringLiteral("NOME,"),
                              QStringLiteral("TESTO,"), QStringLiteral("UTENTE"), QStringLiteral(")"),
                              QStringLiteral("VALUES("), QStringLiteral("GEN_ID(CODICETABXCOUNTER,1),"),
                              quotedLine(name), quotedOrNull(text, textForm(text), QStringLiteral(",")),
                              QString::number(m_userNumber), QStringLiteral(")")};
    try {
        query.execSql();
        IBTransaction1.commitRetaining();
    } catch (const db::DatabaseError &error) {
        // The value read stays the answer; the copy is tried again next time.
        qCWarning(lcData).noquote() << "Copying the value" << name << "for user" << m_userNumber << "failed:"
                                    << error.message();
    }
}

} // namespace tg
