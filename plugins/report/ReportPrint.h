// The report of the "Rptx" library: a data set's rows printed as a table
// under a title and the report's name. The rows are read once into a
// ReportContent, so that painting (which the preview repeats at every zoom
// or page-setup change) never touches the data set again.
#pragma once

#include <QList>
#include <QRectF>
#include <QString>
#include <QStringList>
#include <functional>

class QAction;
class QPagedPaintDevice;
class QPrintPreviewDialog;
class QPainter;
class QWidget;

namespace taskgate_report {

struct ReportContent {
    QString title;      // the module's named value "TitoloStampa"
    QString reportName; // the module's named value "NomeReport"
    QStringList columns;
    QList<QStringList> rows;
};

// The title and the report name from the module's named values, and every
// row from the first to the last, each field as text, read through the
// host's report functions (taskgate/plugin.h) from the opaque rows and
// module that an entry of the library receives.
ReportContent collect(void *rows, void *module);

// Paints the report onto a painter already begun on a device, page after
// page: page is the area to paint in, in the painter's coordinates, and
// newPage is called to move to the next one (false stops the painting).
// Every page repeats the title, the report name and the columns' header,
// and ends with its number. Returns the number of pages painted.
int paintReport(QPainter &painter, const QRectF &page, const ReportContent &content,
                const std::function<bool()> &newPage);
// The same on a whole paged device (a printer, a PDF writer).
int paintReport(QPagedPaintDevice &device, const ReportContent &content);

// The print preview's Print action (null if the dialog has none), and the
// same action moved to the front of the preview's tool bar.
QAction *printAction(const QPrintPreviewDialog &dialog);
void printFirst(QPrintPreviewDialog &dialog);

// The report in a print preview dialog, run through tg::ModalRunner; the
// user prints from there. Returns the dialog's result.
int showPreview(const ReportContent &content, QWidget *parent = nullptr);

} // namespace taskgate_report
