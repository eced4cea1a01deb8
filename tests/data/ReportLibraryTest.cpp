// The report library "Rptx" (plugins/report): the rows it reads from a data
// set, the pages it paints, and the data-entry window's Stampa button
// printing through the built library.
#include "RecordsFixture.h"

#include "DataSetModel.h"
#include "Inserimento.h"
#include "ReportPrint.h"
#include "platform/ModalRunner.h"

#include <QApplication>
#include <QDialog>
#include <QFile>
#include <QGraphicsItem>
#include <QGraphicsScene>
#include <QGraphicsView>
#include <QPaintDevice>
#include <QPaintEngine>
#include <QPainter>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPushButton>
#include <QTest>
#include <QToolBar>

using namespace tg;
using namespace tg::test;
using taskgate_entry::TInserimentoForm;
using taskgate_report::ReportContent;

namespace {

// A paint device that keeps the texts painted on it, page by page: an A4
// sheet at 72 dots per inch. Everything else painted is dropped.
class TextRecorder : public QPaintDevice {
public:
    TextRecorder() : m_engine(*this) {}

    QList<QStringList> pages{QStringList()};

    // Starts a new page, as a printer's newPage() does.
    bool newPage()
    {
        pages.append(QStringList());
        return true;
    }
    QStringList allTexts() const
    {
        QStringList result;
        for (const QStringList &page : pages)
            result += page;
        return result;
    }

    QPaintEngine *paintEngine() const override { return &m_engine; }
    int devType() const override { return QInternal::UnknownDevice; }

protected:
    int metric(PaintDeviceMetric metric) const override
    {
        switch (metric) {
        case PdmWidth: return 595;
        case PdmHeight: return 842;
        case PdmWidthMM: return 210;
        case PdmHeightMM: return 297;
        case PdmDpiX:
        case PdmDpiY:
        case PdmPhysicalDpiX:
        case PdmPhysicalDpiY: return 72;
        case PdmNumColors: return INT_MAX;
        case PdmDepth: return 32;
        case PdmDevicePixelRatio: return 1;
        case PdmDevicePixelRatioScaled: return static_cast<int>(devicePixelRatioFScale());
        default: return QPaintDevice::metric(metric);
        }
    }

private:
    class Engine : public QPaintEngine {
    public:
        explicit Engine(TextRecorder &device) : QPaintEngine(AllFeatures), m_device(device) {}
        bool begin(QPaintDevice *) override { return true; }
        bool end() override { return true; }
        void updateState(const QPaintEngineState &) override {}
        void drawPixmap(const QRectF &, const QPixmap &, const QRectF &) override {}
        void drawPath(const QPainterPath &) override {}
        void drawPolygon(const QPointF *, int, PolygonDrawMode) override {}
        void drawTextItem(const QPointF &, const QTextItem &textItem) override
        {
            m_device.pages.last() << textItem.text();
        }
        Type type() const override { return User; }

    private:
        TextRecorder &m_device;
    };
    mutable Engine m_engine;
};

ReportContent numberedRows(int count)
{
    ReportContent content{QStringLiteral("Elenco articoli"), QStringLiteral("articoli.rpt"),
                          {QStringLiteral("CODICE"), QStringLiteral("NOME"), QStringLiteral("NOTE")}, {}};
    for (int i = 1; i <= count; ++i)
        content.rows << QStringList{QString::number(i), QStringLiteral("articolo %1").arg(i), QStringLiteral("-")};
    return content;
}

int paint(TextRecorder &device, const ReportContent &content, const std::function<bool()> &newPage)
{
    QPainter painter(&device);
    return taskgate_report::paintReport(painter, QRectF(0, 0, device.width(), device.height()), content, newPage);
}

TEST(ReportPages, EveryRowOnceInOrderUnderTheHeadingOfEachPage)
{
    TextRecorder device;
    const ReportContent content = numberedRows(150);
    const int pages = paint(device, content, [&device] { return device.newPage(); });

    ASSERT_GE(pages, 3) << "150 rows of 8 points do not fit two A4 pages";
    ASSERT_EQ(device.pages.size(), pages);
    QStringList names;
    for (int p = 0; p < pages; ++p) {
        const QStringList &texts = device.pages[p];
        ASSERT_GE(texts.size(), 5) << "page " << p + 1;
        EXPECT_EQ(texts.mid(0, 5), (QStringList{QStringLiteral("Elenco articoli"), QStringLiteral("articoli.rpt"),
                                                QStringLiteral("CODICE"), QStringLiteral("NOME"),
                                                QStringLiteral("NOTE")}))
            << "page " << p + 1;
        EXPECT_TRUE(texts.contains(QStringLiteral("Pagina %1").arg(p + 1))) << "page " << p + 1;
        for (const QString &text : texts) {
            if (text.startsWith(QLatin1String("articolo ")))
                names << text;
        }
    }
    QStringList expected;
    for (const QStringList &row : content.rows)
        expected << row[1];
    EXPECT_EQ(names, expected);
}

TEST(ReportPages, EmptyDataSetAndRefusedPage)
{
    TextRecorder empty;
    ReportContent content = numberedRows(0);
    content.title.clear();
    EXPECT_EQ(paint(empty, content, [] { return true; }), 1);
    EXPECT_EQ(empty.pages.value(0),
              (QStringList{QStringLiteral("articoli.rpt"), QStringLiteral("CODICE"), QStringLiteral("NOME"),
                           QStringLiteral("NOTE"), QStringLiteral("Pagina 1"), QStringLiteral("Nessun dato da stampare")}));

    // A device that cannot start another page keeps what fitted the first.
    TextRecorder single;
    EXPECT_EQ(paint(single, numberedRows(150), [] { return false; }), 1);
    const QStringList texts = single.pages.value(0);
    EXPECT_TRUE(texts.contains(QStringLiteral("articolo 1")));
    EXPECT_FALSE(texts.contains(QStringLiteral("articolo 150")));
}

class ReportLibrary : public Workstations {
protected:
    void SetUp() override
    {
        Workstations::SetUp();
        // A script that answers the modal dialogs; the empty one is put back
        // whatever the test's outcome.
        ModalRunner::install([this](QDialog &dialog) {
            ++dialogs;
            auto *preview = qobject_cast<QPrintPreviewDialog *>(&dialog);
            if (!preview)
                return int(QDialog::Rejected);
            previewTitle = dialog.windowTitle();
            // At the size the preview opens with, Print is on its tool bar,
            // not in the bar's overflow menu.
            dialog.show();
            QApplication::processEvents();
            auto *toolBar = dialog.findChild<QToolBar *>();
            QAction *print = taskgate_report::printAction(*preview);
            QWidget *printButton = toolBar && print ? toolBar->widgetForAction(print) : nullptr;
            printShown = printButton && printButton->isVisible()
                         && toolBar->rect().contains(printButton->geometry());
            dialog.hide();
            // What the user sees: the preview lays out the pages it was
            // given, and its scene is painted onto the recorder.
            auto *widget = dialog.findChild<QPrintPreviewWidget *>();
            auto *view = widget ? widget->findChild<QGraphicsView *>() : nullptr;
            if (!view)
                return int(QDialog::Rejected);
            widget->updatePreview();
            previewPages = widget->pageCount();
            // The pages are painted straight onto the recorder, not through
            // the pixmaps the view caches them in.
            for (QGraphicsItem *item : view->scene()->items())
                item->setCacheMode(QGraphicsItem::NoCache);
            QPainter painter(&shown);
            view->scene()->render(&painter);
            return int(QDialog::Rejected);
        });
    }
    void TearDown() override { ModalRunner::install({}); }

    int dialogs = 0;
    QString previewTitle;
    bool printShown = false;
    int previewPages = 0;
    TextRecorder shown;
};

TEST_F(ReportLibrary, RowsAreReadInPlaceWithTheNamedValues)
{
    for (const QString &name : {QStringLiteral("TitoloStampa"), QStringLiteral("NomeReport")})
        first.Inserisci(QStringLiteral("VRT"), name, QString(), QString(), QString(), QString(), QString(), QString(),
                        QStringLiteral("0"));
    first.SetV(QStringLiteral("TitoloStampa"), QStringLiteral("Titolo"));
    first.SetV(QStringLiteral("NomeReport"), QStringLiteral("tabx.rpt"));
    db::TableDataSet dataSet;
    bind(dataSet, first, nullptr);
    ASSERT_TRUE(dataSet.moveTo(1));
    ASSERT_TRUE(dataSet.setFieldValue(QStringLiteral("TESTO"), QStringLiteral("non salvato")));

    // Read as the library reads them: opaque, through the host's report functions.
    TTabXForm *module = &first;
    const ReportContent content = taskgate_report::collect(&dataSet, &module);
    EXPECT_EQ(content.title, QStringLiteral("Titolo"));
    EXPECT_EQ(content.reportName, QStringLiteral("tabx.rpt"));
    ASSERT_EQ(content.columns.size(), dataSet.fieldCount());
    EXPECT_EQ(content.columns.value(0), QStringLiteral("CODICE"));
    const int nome = dataSet.fieldIndex(QStringLiteral("NOME"));
    const int testo = dataSet.fieldIndex(QStringLiteral("TESTO"));
    ASSERT_EQ(content.rows.size(), 3);
    EXPECT_EQ(content.rows[0].value(nome), QStringLiteral("uno"));
    EXPECT_EQ(content.rows[2].value(nome), QStringLiteral("tre"));
    EXPECT_EQ(content.rows[1].value(testo), QStringLiteral("non salvato")) << "the row as the window shows it";

    // The data set is where it was: same row, the change still pending.
    EXPECT_EQ(dataSet.recNo(), 1);
    EXPECT_EQ(dataSet.state(), db::DataSet::State::Edit);
    EXPECT_EQ(rows().value(1), QStringLiteral("2|b"));
}

TEST_F(ReportLibrary, StampaShowsTheTableInThePreviewOfTheBuiltLibrary)
{
    // The built library, beside the program's executable: the test report
    // library of the same name (tests/plugins) must not answer.
    ASSERT_TRUE(QFile::copy(QStringLiteral(TASKGATE_RPTX_LIBRARY), app.path() + QStringLiteral("Rptx.so")));
    TInserimentoForm window(first, QStringLiteral("TABX"), QStringLiteral("CODICETABXCOUNTER"));
    window.show();
    window.GridTabella->setCurrentIndex(window.model()->index(2, 0));
    ASSERT_EQ(window.DataSetTabella.recNo(), 2);
    ASSERT_EQ(window.ButtonStampa->objectName(), QStringLiteral("ButtonStampa"));

    QTest::mouseClick(window.ButtonStampa, Qt::LeftButton);
    ASSERT_EQ(dialogs, 1);
    EXPECT_EQ(previewTitle, QStringLiteral("Anteprima di stampa - Valori dell'archivio"));
    EXPECT_EQ(previewPages, 1);
    EXPECT_TRUE(printShown) << "Print within the preview's tool bar";
    const QStringList texts = shown.allTexts();
    EXPECT_TRUE(texts.contains(QStringLiteral("Valori dell'archivio"))) << texts.join(QLatin1Char('|')).toStdString();
    EXPECT_TRUE(texts.contains(QStringLiteral("TABX")));
    EXPECT_TRUE(texts.contains(QStringLiteral("CODICE")));
    for (const QString &name : {QStringLiteral("uno"), QStringLiteral("due"), QStringLiteral("tre")})
        EXPECT_TRUE(texts.contains(name)) << name.toStdString();
    EXPECT_TRUE(prompter.messages.isEmpty());
    EXPECT_EQ(window.DataSetTabella.recNo(), 2) << "printing leaves the current row";

    // The library was unloaded after the print; a second one loads it again.
    QTest::mouseClick(window.ButtonStampa, Qt::LeftButton);
    EXPECT_EQ(dialogs, 2);
    EXPECT_TRUE(prompter.messages.isEmpty());
}

} // namespace
