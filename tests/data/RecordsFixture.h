// Two data modules attached to one company archive stand for two
// workstations editing the same tables. Grafica/ holds a green and a red
// bitmap, so that a save button's picture tells which one it got. A save
// button may be any object: the fixture keeps the picture each module
// announced for it, as a window would show it.
#pragma once

#include "AppDirectory.h"
#include "TestSupport.h"

#include "data/TabX.h"
#include "db/TableDataSet.h"

#include <QAbstractButton>
#include <QColor>
#include <QHash>
#include <QImage>
#include <QPixmap>
#include <gtest/gtest.h>

namespace tg::test {

class Workstations : public ::testing::Test {
protected:
    void SetUp() override
    {
        archive = app.createArchive(QStringLiteral("archivio.fdb"));
        bitmap(Qt::green, QStringLiteral("Grafica/Verde.bmp"));
        bitmap(Qt::red, QStringLiteral("Grafica/Rosso.bmp"));
        for (TTabXForm *module : {&first, &second}) {
            QObject::connect(module, &TTabXForm::pendingChangesChanged, module,
                             [this, module](QObject *saveButton, bool pending) {
                                 m_shown[saveButton] = module->saveBitmapPath(pending);
                             });
            module->Avvia();
            module->ConnettiDatabase0(archive);
            ASSERT_TRUE(module->IBDatabase1.connected());
        }
        exec({QStringLiteral("INSERT INTO TABX (CODICE,NOME,TESTO) VALUES (1,'uno','a')"),
              QStringLiteral("INSERT INTO TABX (CODICE,NOME,TESTO) VALUES (2,'due','b')"),
              QStringLiteral("INSERT INTO TABX (CODICE,NOME,TESTO) VALUES (3,'tre','c')")});
    }

    // Statements committed from outside both workstations.
    void exec(const QStringList &statements) const { AppDirectory::exec(archive, statements); }
    QStringList rows(const QString &statement = QStringLiteral("SELECT CODICE,TESTO FROM TABX ORDER BY CODICE")) const
    {
        return AppDirectory::queryRows(archive, statement);
    }

    // A table data set of the archive's TABX on a workstation, opened by the
    // refresh service and locking rows through the before-edit service.
    void bind(db::TableDataSet &dataSet, TTabXForm &module, QObject *saveButton,
              const QString &table = QStringLiteral("TABX"))
    {
        dataSet.setDatabase(&module.IBDatabase1);
        dataSet.setTableName(table);
        dataSet.setBeforeEdit([&module, saveButton, table](db::DataSet &d) {
            return module.EventoBeforeEditDataSet(d, saveButton, table);
        });
        module.AggiornaTabella(dataSet, QVariant(), false);
    }

    // The colour of a real button's picture.
    static QColor picture(const QAbstractButton &button)
    {
        return button.icon().pixmap(4, 4).toImage().pixelColor(1, 1);
    }
    static int tag(const QObject &saveButton) { return saveButton.property("tag").toInt(); }
    // The bitmap last announced for a save button (empty: none yet), and the two.
    QString shown(const QObject &saveButton) const { return m_shown.value(&saveButton); }
    QString green() const { return app.path() + QStringLiteral("Grafica/Verde.bmp"); }
    QString red() const { return app.path() + QStringLiteral("Grafica/Rosso.bmp"); }

    AppDirectory app;
    QString archive;
    RecordingPrompter prompter;
    TTabXForm first{nullptr, 0};
    TTabXForm second{nullptr, 0};

private:
    QHash<const QObject *, QString> m_shown;

    void bitmap(Qt::GlobalColor color, const QString &file) const
    {
        QImage image(4, 4, QImage::Format_RGB32);
        image.fill(color);
        ASSERT_TRUE(image.save(app.path() + file, "BMP"));
    }
};

} // namespace tg::test
