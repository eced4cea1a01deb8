#include "companies/MemoQuadrel.h"

#include "companies/AbilitaDitte.h"
#include "companies/SelDir.h"
#include "data/QuadrelText.h"
#include "data/TabX.h"
#include "data/TabXHolder.h"
#include "db/DatabaseError.h"
#include "db/SqlText.h"
#include "platform/Logging.h"
#include "platform/ModalRunner.h"
#include "platform/Prompter.h"
#include "platform/ScreenSize.h"
#include "widgets/DesignScale.h"

#include <QDir>
#include <QFileDialog>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStyle>
#include <QTextCursor>
#include <QTextDocument>

namespace tg {
namespace {

// The designed size; the anchored controls keep their distances to the
// edges they are anchored to.
constexpr int DesignedWidth = 745;
constexpr int DesignedHeight = 523;

// A text literal stays well below the server's limit on a statement's length;
// a longer text is stored in pieces appended to one another.
constexpr qsizetype PieceLength = 16000;

const QString UpdateFailed =
    QStringLiteral("Errore interno di UPDATE: impossibile aggiornare i parametri quadrel dell'utente");
const QString DeleteFailed = QStringLiteral(
    "Errore interno di DELETE: impossibile aggiornare la tabella TABQUADREL. Chiudere il programma e riaprirlo");
const QString InsertFailed = QStringLiteral(
    "Errore interno di INSERT: impossibile aggiornare la tabella TABQUADREL. Chiudere il programma e riaprirlo");

QStringList pieces(const QString &text)
{
    if (text.isEmpty())
        return {QString()};
    QStringList result;
    for (qsizetype start = 0; start < text.size();) {
        qsizetype length = std::min(PieceLength, text.size() - start);
        // Never split a surrogate pair between two pieces.
        if (start + length < text.size() && text.at(start + length - 1).isHighSurrogate())
            --length;
        result << text.mid(start, length);
        start += length;
    }
    return result;
}

QPushButton *commandButton(const QString &name, const QString &caption, QWidget *parent)
{
    auto *button = new QPushButton(caption, parent);
    button->setObjectName(name);
    // Framed, so that it reads as a button and not as a label; pressing it
    // leaves the keyboard in the text.
    button->setFocusPolicy(Qt::NoFocus);
    return button;
}

void rollbackQuietly(db::Transaction &transaction)
{
    try {
        if (transaction.active())
            transaction.rollback();
    } catch (const db::DatabaseError &error) {
        // The transaction is gone with the connection; nothing is left to undo.
        qCWarning(lcCompanies).noquote() << "Rollback of the parameter editor's transaction failed:" << error.message();
    }
}

} // namespace

TMemoQuadrelForm::TMemoQuadrelForm(QWidget *owner, TabXHolder *holder) : QDialog(owner), m_holder(holder)
{
    setObjectName(QStringLiteral("MemoQuadrelForm"));
    // The program's font, grown with the screen; sizes grow with it.
    ButtonFile = commandButton(QStringLiteral("ButtonFile"), QStringLiteral("File"), this);
    ButtonPercorso = commandButton(QStringLiteral("ButtonPercorso"), QStringLiteral("Percorso"), this);
    ButtonAbilitaDitte = commandButton(QStringLiteral("ButtonAbilitaDitte"), QStringLiteral("Abilitaz. ditte"), this);
    MemoQD = new QPlainTextEdit(this);
    MemoQD->setObjectName(QStringLiteral("MemoQD"));
    MemoQD->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    ButtonOk = new QPushButton(style()->standardIcon(QStyle::SP_DialogOkButton), QStringLiteral("Ok"), this);
    ButtonOk->setObjectName(QStringLiteral("ButtonOk"));
    ButtonOk->setDefault(true);
    ButtonCancel = new QPushButton(style()->standardIcon(QStyle::SP_DialogCancelButton), QStringLiteral("Cancel"), this);
    ButtonCancel->setObjectName(QStringLiteral("ButtonCancel"));
    setTabOrder(MemoQD, ButtonOk);
    setTabOrder(ButtonOk, ButtonCancel);
    DialogApri = new QFileDialog(this);
    DialogApri->setObjectName(QStringLiteral("DialogApri"));
    DialogApri->setFileMode(QFileDialog::ExistingFile);
    DialogApri->setAcceptMode(QFileDialog::AcceptOpen);
    resize(DesignScale(*this).windowSize(QSize(DesignedWidth, DesignedHeight), ScreenSize::current()));
    placeControls();

    connect(ButtonFile, &QPushButton::clicked, this, &TMemoQuadrelForm::ButtonFileClick);
    connect(ButtonPercorso, &QPushButton::clicked, this, &TMemoQuadrelForm::ButtonPercorsoClick);
    connect(ButtonAbilitaDitte, &QPushButton::clicked, this, &TMemoQuadrelForm::ButtonAbilitaDitteClick);
    connect(ButtonOk, &QPushButton::clicked, this, &TMemoQuadrelForm::ButtonOkClick);
    connect(ButtonCancel, &QPushButton::clicked, this, &TMemoQuadrelForm::ButtonCancelClick);

    QString userName;
    if (m_holder && m_holder->TabX)
        m_holder->TabX->GetNomeUser(userName);
    setWindowTitle(QStringLiteral("Editazione parametri quadrel - Ditta:") + QLatin1Char(' ') + userName);
    if (!m_holder || !m_holder->TabX)
        return;

    TTabXForm &module = *m_holder->TabX;
    TransazioneQuadrel.setDefaultDatabase(&module.IBDatabaseUser);
    TransazioneQuadrel.params().clear();
    TransazioneQuadrel.params() << QStringLiteral("isc_tpb_concurrency") << QStringLiteral("isc_tpb_nowait");
    TransazioneQuadrel.start();
    QueryAux.setDatabase(&module.IBDatabaseUser);
    QueryAux.setTransaction(&TransazioneQuadrel);
    QueryAux.sql() = QStringList{QStringLiteral("SELECT QUADREL FROM UTENTI WHERE CODICE='%1'").arg(module.GetNumUser())};
    QueryAux.open();
    if (!QueryAux.eof())
        MemoQD->setPlainText(testoPerEditor(QueryAux.field(0).asText()));
    QueryAux.close();
}

TMemoQuadrelForm::~TMemoQuadrelForm() = default;

QString TMemoQuadrelForm::testo() const
{
    // The raw text keeps every character as typed (a plain-text export would
    // turn non-breaking spaces into blanks); blocks and line breaks inside a
    // block are both lines.
    QString text = MemoQD->document()->toRawText();
    text.replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
    text.replace(QChar::LineSeparator, QLatin1Char('\n'));
    return text;
}

void TMemoQuadrelForm::setTesto(const QString &text)
{
    if (text == testo())
        return;
    QTextCursor cursor = MemoQD->textCursor();
    const int position = cursor.position();
    cursor.select(QTextCursor::Document);
    cursor.insertText(text);
    cursor.setPosition(std::min(position, MemoQD->document()->characterCount() - 1));
    MemoQD->setTextCursor(cursor);
}

bool TMemoQuadrelForm::Memorizzazione()
{
    const QString text = senzaApici(testo());
    setTesto(text);
    const bool stored = memorizzaTesto(text);
    // The rows follow the text even when the text could not be stored.
    const bool rows = AggiornaTabQuadrel();
    riallineaModulo();
    return stored && rows;
}

bool TMemoQuadrelForm::memorizzaTesto(const QString &text)
{
    if (!m_holder || !m_holder->TabX)
        return false;
    TTabXForm &module = *m_holder->TabX;
    const int user = module.GetNumUser();
    const QString userLine = QStringLiteral("CODICE='%1'").arg(user);
    try {
        // A long text goes in pieces, each appended to what the row already
        // holds, all in one transaction.
        const QStringList parts = pieces(testoDaMemorizzare(text));
        for (qsizetype i = 0; i < parts.size(); ++i) {
            const QString head = i == 0 ? QStringLiteral("UPDATE UTENTI SET QUADREL='")
                                        : QStringLiteral("UPDATE UTENTI SET QUADREL=QUADREL||'");
            QueryAux.close();
            QueryAux.sql() = QStringList{head + db::quotedValue(parts[i]) + QStringLiteral("' WHERE"), userLine};
            QueryAux.execSql();
        }
        TransazioneQuadrel.commit();
        riallineaModulo();
        module.SetUserPerNum(user);
    } catch (const db::DatabaseError &error) {
        qCWarning(lcCompanies).noquote() << "Storing the parameter text of user" << user << "failed:" << error.message();
        // Nothing of a half-stored text may reach the rows' commit.
        rollbackQuietly(TransazioneQuadrel);
        showMessage(MessageKind::Error, UpdateFailed);
        return false;
    }
    return true;
}

bool TMemoQuadrelForm::AggiornaTabQuadrel()
{
    if (!m_holder || !m_holder->TabX)
        return false;
    const QVector<TQuadrel> entries = parseQuadrel(testo());
    const QString user = QString::number(m_holder->TabX->GetNumUser());
    bool ok = true;
    try {
        QueryAux.close();
        QueryAux.sql() = QStringList{QStringLiteral("DELETE FROM TABQUADREL WHERE UTENTE='") + user + QLatin1Char('\'')};
        QueryAux.execSql();
    } catch (const db::DatabaseError &error) {
        qCWarning(lcCompanies).noquote() << "Deleting the parameter rows of user" << user << "failed:" << error.message();
        showMessage(MessageKind::Error, DeleteFailed);
        ok = false;
    }
    int position = 1;
    for (const TQuadrel &entry : entries) {
        if (!ok)
            break;
        try {
            QueryAux.close();
            QueryAux.sql() = QStringList{
                QStringLiteral("INSERT INTO TABQUADREL (UTENTE,INTESTAZIONE,PARAMETRO,"),
                QStringLiteral("VALORE,PROGRESSIVO) VALUES("),
                QLatin1Char('\'') + user + QStringLiteral("',"),
                QLatin1Char('\'') + db::quotedValue(entry.Intestazione) + QStringLiteral("',"),
                QLatin1Char('\'') + db::quotedValue(entry.Parametro) + QStringLiteral("',"),
                entry.Valore.isEmpty() ? QStringLiteral("NULL,")
                                       : QLatin1Char('\'') + db::quotedValue(entry.Valore) + QStringLiteral("',"),
                QStringLiteral("'%1')").arg(position)};
            QueryAux.execSql();
            ++position;
        } catch (const db::DatabaseError &error) {
            qCWarning(lcCompanies).noquote() << "Inserting the parameter" << entry.Parametro << "of user" << user
                                             << "failed:" << error.message();
            showMessage(MessageKind::Error, InsertFailed);
            ok = false;
        }
    }
    if (ok) {
        try {
            TransazioneQuadrel.commit();
        } catch (const db::DatabaseError &error) {
            qCWarning(lcCompanies).noquote() << "Committing the parameter rows of user" << user << "failed:"
                                             << error.message();
            showMessage(MessageKind::Error, InsertFailed);
            ok = false;
        }
    }
    if (!ok) {
        // The user's old rows stay as they were.
        rollbackQuietly(TransazioneQuadrel);
        try {
            TransazioneQuadrel.start();
        } catch (const db::DatabaseError &error) {
            // The next statement starts it again.
            qCWarning(lcCompanies).noquote() << "Restarting the parameter editor's transaction failed:"
                                             << error.message();
        }
    }
    return ok;
}

void TMemoQuadrelForm::riallineaModulo()
{
    // The module reads through a snapshot transaction of its own, which would
    // go on showing the rows and the text as they were before this editor
    // committed. Its writes commit at once, so ending it loses nothing.
    if (!m_holder || !m_holder->TabX)
        return;
    db::Transaction &transaction = m_holder->TabX->TransazioneUser;
    try {
        if (transaction.active())
            transaction.commit();
    } catch (const db::DatabaseError &error) {
        qCWarning(lcCompanies).noquote() << "Ending the data module's user transaction failed:" << error.message();
        rollbackQuietly(transaction);
    }
}

void TMemoQuadrelForm::inserisciAlCursore(const QString &text)
{
    MemoQD->insertPlainText(text);
}

void TMemoQuadrelForm::ButtonFileClick()
{
    if (ModalRunner::run(*DialogApri) != QDialog::Accepted)
        return;
    const QStringList files = DialogApri->selectedFiles();
    if (!files.isEmpty() && !files.first().isEmpty())
        inserisciAlCursore(QDir::toNativeSeparators(files.first()));
}

void TMemoQuadrelForm::ButtonPercorsoClick()
{
    TSelDirForm dialog(this);
    if (ModalRunner::run(dialog) != QDialog::Accepted)
        return;
    // The folder ends with the platform's separator, so that a file name
    // written after it lands inside the folder.
    QString folder = QDir::toNativeSeparators(dialog.DirectoryListBox1->directory());
    if (!folder.endsWith(QDir::separator()))
        folder += QDir::separator();
    inserisciAlCursore(folder);
}

void TMemoQuadrelForm::ButtonAbilitaDitteClick()
{
    // The dialog lists the sections of the stored rows: they must be those
    // of the text. When storing failed they are not, and the dialog would
    // strip the markers of every company it does not know.
    if (!Memorizzazione())
        return;
    TAbilitaDitteForm dialog(this, m_holder);
    if (ModalRunner::run(dialog) != QDialog::Accepted)
        return;
    setTesto(applicaDitteInattive(testo(), dialog.ditteDisattive()));
}

void TMemoQuadrelForm::ButtonOkClick()
{
    // The editor stays open when the text or the rows could not be stored,
    // so that the edited text is not lost.
    if (Memorizzazione())
        accept();
}

void TMemoQuadrelForm::ButtonCancelClick()
{
    reject();
}

void TMemoQuadrelForm::placeControls()
{
    // The command buttons keep to the top right corner, the text box follows
    // all four edges, OK keeps its place on the left and Cancel keeps to the
    // right edge, level with OK. A window narrower than its grown design (a
    // small screen) moves OK left and never lets Cancel pass it.
    const DesignScale scale(*this);
    const int w = width();
    const int h = height();
    const int commandHeight = std::max(scale(18), ButtonFile->fontMetrics().height() + 4);
    int right = w - scale(DesignedWidth - 705);
    for (QPushButton *button : {ButtonAbilitaDitte, ButtonPercorso, ButtonFile}) {
        const int buttonW = buttonWidth(*button, scale, 72);
        right -= buttonW;
        button->setGeometry(right, scale(5), buttonW, commandHeight);
    }
    const int top = std::max(scale(24), scale(5) + commandHeight + scale(1));
    const int dialogHeight = std::max(scale(25), ButtonOk->fontMetrics().height() + 8);
    const int okWidth = buttonWidth(*ButtonOk, scale, 75);
    const int cancelWidth = buttonWidth(*ButtonCancel, scale, 75);
    const int okTop = h - scale(DesignedHeight - 432);
    MemoQD->setGeometry(scale(32), top, w - scale(32) - scale(DesignedWidth - 705),
                        std::max(0, okTop - scale(5) - top));
    const int okLeft = std::min(scale(216), w / 2 - okWidth - scale(8));
    ButtonOk->setGeometry(okLeft, okTop, okWidth, dialogHeight);
    const int cancelLeft = std::max(w - scale(DesignedWidth - 392), okLeft + okWidth + scale(16));
    ButtonCancel->setGeometry(cancelLeft, okTop, cancelWidth, dialogHeight);
}

void TMemoQuadrelForm::resizeEvent(QResizeEvent *event)
{
    QDialog::resizeEvent(event);
    placeControls();
}

void TMemoQuadrelForm::showEvent(QShowEvent *event)
{
    if (!m_placed) {
        m_placed = true;
        centreOnScreen(*this);
    }
    QDialog::showEvent(event);
}

} // namespace tg
