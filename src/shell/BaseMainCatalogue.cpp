// The main window's catalogue: the navigation bar with one group per program
// of the project and its quick entries, the picture buttons of the project,
// the menu tree of one program and the form of the system menu. Every
// element carries the key of its row as its "tag" property and the name of
// its click handler as its "clickHandler" property.

#include "data/TabX.h"
#include "db/DatabaseError.h"
#include "menu/CaptionParameter.h"
#include "menu/CatalogueModel.h"
#include "menu/LingueMenuReader.h"
#include "menu/NavigationBar.h"
#include "platform/ExecutableDirectory.h"
#include "platform/Logging.h"
#include "platform/Prompter.h"
#include "platform/SuiteFileName.h"
#include "shell/Application.h"
#include "shell/BaseMain.h"
#include "widgets/PictureButton.h"

#include <QAction>
#include <QFileInfo>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QToolButton>
#include <algorithm>
#include <stdexcept>

namespace tg {
namespace {

void setClickHandler(QObject *element, const char *handler)
{
    element->setProperty("clickHandler", QString::fromLatin1(handler));
}

int integerField(db::Query &query, const char *column)
{
    return static_cast<int>(query.fieldByName(QLatin1String(column)).asInteger());
}

// A stored position or size in pixels as far as a widget can take it: sizes
// from 0 to the toolkit's largest, positions no farther from the origin, so
// that no edge of a button (position plus size) lies beyond what the
// toolkit's integer coordinates hold.
int pixelField(db::Query &query, const char *column, bool size)
{
    const qint64 value = query.fieldByName(QLatin1String(column)).asInteger();
    return static_cast<int>(std::clamp<qint64>(value, size ? 0 : -QWIDGETSIZE_MAX, QWIDGETSIZE_MAX));
}

QString textField(db::Query &query, const char *column)
{
    return query.fieldByName(QLatin1String(column)).asText();
}

} // namespace

QString TBaseMainForm::pictureDirectory()
{
    return ExecutableDirectory::path() + QStringLiteral("Grafica/");
}

QString TBaseMainForm::GetVoce(const QString &descrizione, int programma, int menu)
{
    QString translation;
    if (LingueMenu && LingueMenu->HaLingue() && LingueMenu->Traduci(programma, menu, translation))
        return translation;
    return descrizione;
}

void TBaseMainForm::CaricaProgrammi()
{
    MenuProgrammi->clear();
    MenuProgrammi->clearImages();
    GruppiProgrammi.clear();
    VociRapide.clear();
    const QString pictures = pictureDirectory();

    m_catalogue.loadPrograms(Progetto);
    // The captions of all the project's programs are translated from one read.
    if (LingueMenu)
        LingueMenu->announcePrograms(m_catalogue.programCodes());
    for (const CatalogueProgram &program : m_catalogue.programs()) {
        const int group = MenuProgrammi->addGroup(program.caption, program.code);
        GruppiProgrammi << group;
        setClickHandler(MenuProgrammi->groupHeader(group), "ProgrammaOnClick");
        // An icon that is missing or unreadable leaves the group without one.
        const QString iconPath = SuiteFileName::resolve(pictures, program.icon);
        const QIcon icon(iconPath);
        if (!program.icon.isEmpty() && QFileInfo(iconPath).isFile() && !icon.availableSizes().isEmpty())
            MenuProgrammi->setGroupImageIndex(group, MenuProgrammi->addImage(icon));
        else if (!program.icon.isEmpty())
            qCWarning(lcCatalogue).noquote() << "Icon" << program.icon << "of program" << program.code << "not loaded:"
                                             << iconPath
                                             << (QFileInfo(iconPath).isFile() ? "is not a readable image" : "no such file");

        for (const CatalogueEntry &entry : program.quickEntries) {
            QToolButton *link =
                MenuProgrammi->addLink(group, GetVoce(entry.caption, entry.program, entry.menu), entry.menu);
            setClickHandler(link, "VoceRapidaClick");
            VociRapide << link;
        }
    }
    createPictureButtons();
}

void TBaseMainForm::createPictureButtons()
{
    // Only the columns a button shows: the rest (the function and its text
    // blob) is read when the button is pressed.
    QueryAux.sql() = QStringList{QStringLiteral("SELECT ID,NOME,POS_X,POS_Y,LARGHEZZA,ALTEZZA,NOMEIMMAGINE"),
                                 QStringLiteral("FROM PULSANTONI"),
                                 QStringLiteral("WHERE (PROGETTO='%1')").arg(Progetto),
                                 QStringLiteral("AND(VISIBILE='1')")};
    QueryAux.open();
    QueryAux.fetchAll();
    MenuProgrammi->setVisible(QueryAux.eof());
    qDeleteAll(Pulsantoni);
    Pulsantoni.clear();
    const QString pictures = pictureDirectory();
    for (; !QueryAux.eof(); QueryAux.next()) {
        const int id = integerField(QueryAux, "ID");
        auto *button = new PictureButton(textField(QueryAux, "NOME"), Panel1);
        // Tab goes through the buttons in the order of their rows.
        if (!Pulsantoni.isEmpty())
            QWidget::setTabOrder(Pulsantoni.last(), button);
        Pulsantoni << button;
        setClickHandler(button, "PulsantoneClick");
        connect(button, &QPushButton::clicked, this, reportingErrors([this, button] { PulsantoneClick(button); }));
        button->setObjectName(QStringLiteral("Pulsantone_%1").arg(id));
        button->setProperty("tag", id);
        button->setGeometry(pixelField(QueryAux, "POS_X", false), pixelField(QueryAux, "POS_Y", false),
                            pixelField(QueryAux, "LARGHEZZA", true), pixelField(QueryAux, "ALTEZZA", true));
        button->show();
        button->raise();
        const QString image = textField(QueryAux, "NOMEIMMAGINE");
        if (image.isEmpty())
            continue;
        if (!image.toUpper().contains(QLatin1String(".BMP"))) {
            showMessage(MessageKind::Warning, QStringLiteral("I pulsantoni possono caricare solo immagini bitmap: "
                                                             "controllare l'impostazione del pulsantone"));
            continue;
        }
        const QString imagePath = SuiteFileName::resolve(pictures, image);
        QPixmap glyph;
        if (!glyph.load(imagePath, "BMP"))
            throw std::runtime_error(QStringLiteral("Impossibile caricare l'immagine %1").arg(imagePath).toStdString());
        button->setGlyph(glyph);
    }
    QueryAux.close();
}

void TBaseMainForm::connectMenuEntry(QAction *entry, bool secondLevel)
{
    setClickHandler(entry, secondLevel ? "EventoVoce2OnClick" : "EventoVoceOnClick");
    if (secondLevel)
        connect(entry, &QAction::triggered, this, reportingErrors([this, entry] { EventoVoce2OnClick(entry); }));
    else
        connect(entry, &QAction::triggered, this, reportingErrors([this, entry] { EventoVoceOnClick(entry); }));
}

QAction *TBaseMainForm::addMenuEntry(QWidget *parent, const QString &caption, int tag)
{
    auto *action = new QAction(caption, this);
    action->setProperty("tag", tag);
    parent->addAction(action);
    return action;
}

void TBaseMainForm::removeProgramMenus()
{
    // Every top-level entry but the system menu goes, with its subtree. They
    // are deleted later: one of them may be the entry being clicked.
    const QList<QAction *> entries = MenuPrincipale->actions();
    for (QAction *entry : entries) {
        if (entry == N1->menuAction())
            continue;
        MenuPrincipale->removeAction(entry);
        if (QMenu *submenu = entry->menu())
            submenu->deleteLater();
        if (entry->parent() == this)
            entry->deleteLater();
    }
}

void TBaseMainForm::CaricaMenu(int programma)
{
    removeProgramMenus();
    VociMenu.clear();
    ContatoreMenu = 1;
    m_menuProgram = programma;
    MenuPrincipale->setProperty("tag", programma);

    // The program's visible entries are read once; the tree is walked in memory.
    m_catalogue.loadMenu(programma);
    const QVector<CatalogueEntry> topLevel = m_catalogue.topLevelEntries();
    for (const CatalogueEntry &row : topLevel) {
        const QString caption = GetVoce(row.caption, row.program, row.menu);
        if (CercaFigli(row.program, row.menu, row.level)) {
            auto *submenu = new QMenu(caption, this);
            submenu->menuAction()->setProperty("tag", row.menu);
            MenuPrincipale->addMenu(submenu);
            VociMenu << submenu->menuAction();
            CreaVoci(row.program, row.menu, submenu, row.level);
        } else {
            QAction *entry = addMenuEntry(MenuPrincipale, caption, row.menu);
            connectMenuEntry(entry, false);
            VociMenu << entry;
        }
        ++ContatoreMenu;
    }
}

bool TBaseMainForm::CercaFigli(int programma, int menu, int livello)
{
    if (!m_catalogue.holdsMenuOf(programma))
        m_catalogue.loadMenu(programma);
    return m_catalogue.hasChildren(menu, livello);
}

QString TBaseMainForm::captionWithParameter(const QString &stored, const QString &shown)
{
    return tg::captionWithParameter(stored, shown, [this](const QString &name) {
        QString value;
        PTabX->TabX->CaricaParametro(name, value);
        return value;
    });
}

void TBaseMainForm::CreaVoci(int programma, int menu, QMenu *parent, int livello)
{
    if (!m_catalogue.holdsMenuOf(programma))
        m_catalogue.loadMenu(programma);
    const QVector<CatalogueEntry> children = m_catalogue.children(menu, livello);
    for (const CatalogueEntry &row : children) {
        ++ContatoreMenu;
        const QString shown = GetVoce(row.caption, programma, row.menu);
        const QString caption = captionWithParameter(row.caption, shown);
        if (shown == QLatin1String("-")) {
            QAction *separator = addMenuEntry(parent, caption, row.menu);
            separator->setSeparator(true);
            separator->setObjectName(QStringLiteral("N%1").arg(row.menu));
            VociMenu << separator;
        } else if (CercaFigli(programma, row.menu, row.level)) {
            auto *submenu = new QMenu(caption, this);
            submenu->menuAction()->setProperty("tag", row.menu);
            parent->addMenu(submenu);
            VociMenu << submenu->menuAction();
            CreaVoci(programma, row.menu, submenu, row.level);
        } else {
            QAction *entry = addMenuEntry(parent, caption, row.menu);
            connectMenuEntry(entry, row.secondLevel);
            VociMenu << entry;
        }
    }
}

void TBaseMainForm::CheckMenuSistema()
{
    int mode = 0;
    db::Transaction transaction(&PTabX->TabX->IBDatabaseUser);
    try {
        db::Query query(&PTabX->TabX->IBDatabaseUser, &transaction);
        query.sql() << QStringLiteral("SELECT MODOMENUSISTEMA FROM PROGETTI WHERE CODICE=%1").arg(Progetto);
        transaction.start();
        query.open();
        if (!query.eof())
            mode = static_cast<int>(query.field(0).asInteger());
        query.close();
        transaction.rollback();
    } catch (const db::DatabaseError &error) {
        qCWarning(lcCatalogue).noquote() << "Reading the system menu mode of project" << Progetto
                                         << "failed, the full menu stays:" << error.message();
        mode = 0;
        try {
            transaction.rollback();
        } catch (const db::DatabaseError &rollbackError) {
            qCWarning(lcCatalogue).noquote() << "Rollback after it failed too:" << rollbackError.message();
        }
    }
    if (mode == 1) {
        N1->setTitle(QStringLiteral("&System"));
        for (QAction *entry : {Sessioni1, Gestionesemafori1, Accessoaquadrel1, N2})
            entry->setVisible(false);
        Esci1->setText(QStringLiteral("Exit"));
    } else if (mode == 2) {
        N1->menuAction()->setVisible(false);
    }
}

void TBaseMainForm::ProgrammaOnClick(int programma)
{
    CaricaMenu(programma);
}

} // namespace tg
