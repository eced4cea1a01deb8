// Two data modules attached to one company archive stand for two
// workstations editing the same tables. Grafica/ holds a green and a red
// bitmap, so that a save button's picture tells which one it got.
#pragma once

#include "AppDirectory.h"
#include "TestSupport.h"

#include "data/TabX.h"
#include "db/TableDataSet.h"

#include <QAbstractButton>
#include <QColor>
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
    void bind(db::TableDataSet &dataSet, TTabXForm &module, QAbstractButton *button,
              const QString &table = QStringLiteral("TABX"))
    {
        dataSet.setDatabase(&module.IBDatabase1);
        dataSet.setTableName(table);
        dataSet.setBeforeEdit([&module, button, table](db::DataSet &d) {
            return module.EventoBeforeEditDataSet(d, button, table);
        });
        module.AggiornaTabella(dataSet, QVariant(), false);
    }

    static QColor picture(const QAbstractButton &button)
    {
        return button.icon().pixmap(4, 4).toImage().pixelColor(1, 1);
    }
    static int tag(const QAbstractButton &button) { return button.property("tag").toInt(); }

    AppDirectory app;
    QString archive;
    RecordingPrompter prompter;
    TTabXForm first{nullptr, 0};
    TTabXForm second{nullptr, 0};

private:
    void bitmap(Qt::GlobalColor color, const QString &file) const
    {
        QImage image(4, 4, QImage::Format_RGB32);
        image.fill(color);
        ASSERT_TRUE(image.save(app.path() + file, "BMP"));
    }
};

} // namespace tg::test
