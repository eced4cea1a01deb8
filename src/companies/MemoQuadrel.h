#pragma once

#include "db/Query.h"
#include "db/Transaction.h"

#include <QDialog>

class QFileDialog;
class QPlainTextEdit;
class QPushButton;

namespace tg {

struct TabXHolder;

// The configuration editor: the user's whole parameter set as one text, one
// "[section]" header per company and one "key=value" line per parameter. OK
// stores the text in UTENTI.QUADREL and rewrites the user's TABQUADREL rows
// from it. "File" and "Percorso" insert a file or folder path at the caret;
// "Abilitaz. ditte" marks companies inactive in the headers.
class TMemoQuadrelForm : public QDialog {
    Q_OBJECT

public:
    TMemoQuadrelForm(QWidget *owner, TabXHolder *holder);
    ~TMemoQuadrelForm() override;

    QPushButton *ButtonFile;
    QPushButton *ButtonPercorso;
    QPushButton *ButtonAbilitaDitte;
    QPlainTextEdit *MemoQD;
    QPushButton *ButtonOk;
    QPushButton *ButtonCancel;
    QFileDialog *DialogApri;

    // The editor's own snapshot transaction on the user database and its
    // query; the transaction outlives the query.
    db::Transaction TransazioneQuadrel;
    db::Query QueryAux;

    // Stores the text (apostrophes removed) and rewrites the rows from it.
    // False when either could not be written; the user has been told.
    bool Memorizzazione();
    // Replaces the user's rows with the parameters of the text, all or
    // nothing. False when the rows stay as they were; the user has been told.
    bool AggiornaTabQuadrel();

    // The text as the box shows it, lines separated by line feeds.
    QString testo() const;
    // Replaces the box's text, keeping the change undoable.
    void setTesto(const QString &text);

    void ButtonFileClick();
    void ButtonPercorsoClick();
    void ButtonAbilitaDitteClick();
    void ButtonOkClick();
    void ButtonCancelClick();

protected:
    void resizeEvent(QResizeEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    bool memorizzaTesto(const QString &text);
    void riallineaModulo();
    void inserisciAlCursore(const QString &text);
    void placeControls();

    TabXHolder *m_holder;
    bool m_placed = false;
};

} // namespace tg
