#pragma once

#include "taskgate_core_export.h"

#include "data/MemTabX.h"
#include "db/Database.h"
#include "db/Query.h"
#include "db/Transaction.h"

#include <QObject>
#include <QSet>
#include <QString>


namespace tg {
namespace db {
class DataSet;
}

// The data-services module: owns every database connection of the front-end
// (the user database and up to five archives), their transactions, the query
// shared by the user-database services, the in-memory named values, the
// identity of the logged-in user and the current company.
//
// Construction only builds the components; Avvia() opens the user database
// and may throw a database error, so that the module exists (and fails
// cleanly on later use) even when the user database cannot be reached.
class TASKGATE_CORE_EXPORT TTabXForm : public QObject {
    Q_OBJECT

public:
    TTabXForm(QObject *owner, quint8 mode);
    ~TTabXForm() override;

    // Creation: bitmaps, the user directory, the user database, TABSCRIPT,
    // the memory table.
    void Avvia();
    // Closes every connection, committing what is still open (the module's
    // end at the program's closing).
    void chiudiConnessioni();

    // Components, declared in the order in which they must be destroyed last:
    // connections outlive their transactions, which outlive their queries.
    db::Database IBDatabase1;
    db::Database IBDatabase2;
    db::Database IBDatabase3;
    db::Database IBDatabase4;
    db::Database IBDatabase5;
    db::Database IBDatabaseUser;
    db::Transaction IBTransaction1;
    db::Transaction IBTransaction2;
    db::Transaction IBTransaction3;
    db::Transaction IBTransaction4;
    db::Transaction IBTransaction5;
    db::Transaction TransazioneUser;
    // A read-committed, read-only transaction of the company archive, kept
    // open for checks that must see the latest commits of every workstation
    // (the critical windows): no start and end of a transaction per check.
    db::Transaction archiveChecks;
    db::Query QueryQuadrel;
    MemTabX memTabX;

    // Connections of the archives to the database a named value (or a path)
    // names; "Errore apertura archivio" when it cannot be opened.
    void ConnettiDatabase0(const QString &path);
    void ConnettiDatabase1(const QString &name);
    void ConnettiDatabase2(const QString &name);
    void ConnettiDatabase3(const QString &name);
    void ConnettiDatabase4(const QString &name);
    void ConnettiDatabase5(const QString &name);

    void SetVerde(const QString &path) { m_greenBitmapPath = path; }
    void SetRosso(const QString &path) { m_redBitmapPath = path; }
    const QString &greenBitmapPath() const { return m_greenBitmapPath; }
    const QString &redBitmapPath() const { return m_redBitmapPath; }

    // Named values in memory.
    void GetV(const QString &name, QString &text) const;
    void GetM(const QString &name, QString &memo) const;
    bool SetV(const QString &name, const QString &text);
    bool SetM(const QString &name, const QString &memo);
    void Inserisci(const QString &tipo, const QString &nome, const QString &numero, const QString &testo,
                   const QString &data, const QString &memo, const QString &livello1,
                   const QString &livello2, const QString &utente);

    // User directory: look-ups in UTENTI and the current user.
    void CaricaUser(QStringList &list);
    bool VerificaPasswordUser(const QString &name, const QString &password);
    void SetUserPerNome(const QString &name);
    void SetUserPerNum(int number);
    int ProfiloSicurezzaUtente();
    void DecodificaNomeUser(int number, QString &name);
    void GetNomeUser(QString &name) const { name = m_userName; }
    int GetNumUser() const { return m_userNumber; }

    // Per-user parameters of the current company, and their text rendering.
    void CaricaParametro(const QString &key, QString &value);
    void SettaParametro(const QString &key, const QString &value);
    void ScriviParametroQuadrel(const QString &section, const QString &key, const QString &value);
    void ScriviQuadrel(int userNumber);
    void SettaFileIni(const QString &section, const QString &key, const QString &value);
    void CaricaQuadrel(int userNumber);
    // The per-user INI file of the current user.
    QString fileIniPath() const;

    // Records the native handle of a plug-in window for its window id.
    bool ScritturaHandleDiApertura(int idFinestra, qint64 handle);

    // Named values in the archive's TABX.
    void AggiornaParametriTabX();
    bool VerificaEsistenzaInTabX(const QString &project, const QString &situation, const QString &name);
    bool ScriviParametroInTabX(const QString &project, const QString &situation, const QString &name,
                               const QString &number, const QString &text, const QString &date, const QString &memo);
    bool AggiungiParametroInTabX(const QString &project, const QString &situation, const QString &name,
                                 const QString &number, const QString &text, const QString &date,
                                 const QString &memo, const QString &level1, const QString &level2);
    bool CaricaParametroDaTabX(const QString &project, const QString &situation, const QString &name,
                               const QString &unused1, const QString &unused2, const QString &unused3,
                               const QString &unused4, const QString &unused5, const QString &unused6);
    void ValoreTabX(const QString &name, bool perUser, QString &text);
    void ValoreMTabX(const QString &name, bool perUser, QString &memo);
    bool SettaValoreTabX(const QString &name, const QString &text, bool perUser);
    bool SettaValoreMTabX(const QString &name, const QString &memo, bool perUser);
    void ValoreTabXUserCheckGen(const QString &name, QString &text);

    // Services for data-entry windows over the archive tables.
    //
    // The data set is the window's, on one of the module's connections; the
    // bookmark (the key of a row), its valid flag and the save button belong
    // to the window and are handed back and forth. The save button is any
    // object of the window's (its button, or a plain QObject): its dynamic
    // property "tag" is 1 while changes are pending and 0 once everything is
    // saved, and every setting of it is announced by pendingChangesChanged(),
    // on which the window shows the picture of saveBitmapPath(). A null
    // button is allowed and reads as tag 0.

    // Record editing (RecordEditing.cpp).
    void AggiornaTabella(db::DataSet &dataSet, QVariant bookmark, bool valid);
    void ChiudiTransazione(db::DataSet &dataSet, QVariant &bookmark, bool &valid, QObject *saveButton);
    void ChiudiTransEAggiorna(db::DataSet &dataSet, QVariant &bookmark, bool &valid, QObject *saveButton);
    void Annulla(db::DataSet &dataSet, QVariant &bookmark, bool &valid, QObject *saveButton);
    bool Elimina(db::DataSet &dataSet, QVariant &bookmark, bool &valid, QObject *saveButton);
    void Azzera(db::DataSet &dataSet, QVariant &bookmark, bool &valid, QObject *saveButton,
                const QString &tableName);
    void Chiudi(db::DataSet &dataSet, QVariant &bookmark, bool &valid, QObject *saveButton);
    void AggiornamentoDaPulsante(db::DataSet &dataSet, QVariant &bookmark, bool &valid, QObject *saveButton);
    // Locks the current row before it is edited; false (after the warning)
    // refuses the edit. Made to serve as the data set's before-edit hook.
    bool EventoBeforeEditDataSet(db::DataSet &dataSet, QObject *saveButton, const QString &tableName);

    // New keys and generators (KeyGeneration.cpp).
    void NuovoIntSuLast(db::DataSet &dataSet, QVariant &bookmark, bool &valid, QObject *saveButton);
    void NuovoIntSuMax(db::DataSet &dataSet, QVariant &bookmark, bool &valid, QObject *saveButton,
                       const QString &tableName);
    void NuovoIntSuGeneratore(db::DataSet &dataSet, QVariant &bookmark, bool &valid, QObject *saveButton,
                              const QString &tableName, const QString &generator);
    void NuovoIntSuGenSQL(db::DataSet &dataSet, QVariant &bookmark, bool &valid, QObject *saveButton,
                          const QString &tableText, const QString &generator);
    bool CreaGeneratore(db::DataSet &dataSet, QVariant &bookmark, bool &valid, QObject *saveButton,
                        const QString &generator);
    bool SetGeneratore(db::DataSet &dataSet, QVariant &bookmark, bool &valid, QObject *saveButton,
                       const QString &generator, int value);
    bool CheckGeneratore(db::DataSet &dataSet, const QString &generator);
    void ValoreGeneratore(const QString &generator, QString &value);

    // Form scripts, report printing and library calls (ScriptsAndReports.cpp).
    void IniScriptForm(const QString &project, const QString &form, const QString &context, const QString &user,
                       const QString &script, const QString &overwrite);
    void LanciaStampaConDll(const QString &title, const QString &reportName, db::DataSet &dataSet);
    void AvviaFunzXDll(const QString &library, const QString &function, qint32 value);

    // The save button's tag (0 for no button), and the setting of its two
    // states, announced by pendingChangesChanged().
    static int saveButtonTag(const QObject *saveButton);
    void setSaveButtonPending(QObject *saveButton, bool pending);
    // The picture of the save button: the red bitmap while changes are
    // pending, the green one once everything is saved.
    const QString &saveBitmapPath(bool pending) const { return pending ? m_redBitmapPath : m_greenBitmapPath; }

    // What the start-up's read of the schema found: "TABSCRIPT" when that
    // table existed, and the optional columns UTENTI.UTENTEINATTIVO,
    // MARTILOGFUNZ.HANDLEFINESTRA and MARTILOGFUNZ.IDFINESTRA as
    // "TABLE.COLUMN".
    const QSet<QString> &optionalSchema() const { return m_optionalColumns; }

    const QString &dittaCorrente() const { return m_currentCompany; }
    quint8 mode() const { return m_mode; }
    void setMainWindowHandle(qint64 handle) { m_mainWindowHandle = handle; }
    qint64 mainWindowHandle() const { return m_mainWindowHandle; }

signals:
    // A record service set the save button's tag: 1 (pending) or 0 (saved).
    void pendingChangesChanged(QObject *saveButton, bool pending);

private:
    void connettiDatabase(db::Database &database, const QString &path);
    void readOptionalSchema();
    void ensureTabScript();
    void openUserQuery(const QStringList &lines);
    static QString whereUserName(const QString &name);
    int NumUserPerNome(const QString &name);
    static QString renderQuadrel(db::Query &rows);
    QStringList projectKeyLines(const QString &project, const QString &situation, const QString &name) const;
    QStringList plainKeyLines(const QString &name, bool perUser) const;
    QString readPlainValue(const QString &column, const QString &name, bool perUser);
    bool writePlainValue(const QString &column, const QString &name, const QString &value, bool perUser);

    quint8 m_mode;
    int m_userNumber = 0;
    QString m_userName;
    QString m_userPassword;
    QString m_currentCompany;
    QString m_greenBitmapPath;
    QString m_redBitmapPath;
    qint64 m_mainWindowHandle = 0;
    QSet<QString> m_optionalColumns;
};

} // namespace tg
