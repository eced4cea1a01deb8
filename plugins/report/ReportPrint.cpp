#include "ReportPrint.h"

#include "platform/ModalRunner.h"
#include "platform/TextCodec.h"

#include <taskgate/plugin.h>

#include <QFont>
#include <QFontMetricsF>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QAction>
#include <QCoreApplication>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QToolBar>
#include <QVector>

#include <algorithm>

namespace taskgate_report {

namespace {

// A text read through one of the host's report functions: asked once with a
// buffer that usually suffices, again with the whole length when it did not.
template <typename Read>
QString hostText(Read read)
{
    QByteArray buffer(256, '\0');
    int32_t length = read(buffer.data(), static_cast<int32_t>(buffer.size()));
    if (length >= buffer.size()) {
        buffer.resize(length + 1);
        length = read(buffer.data(), static_cast<int32_t>(buffer.size()));
    }
    return length > 0 ? tg::fromSuiteBytes(buffer.constData(), std::min<qsizetype>(length, buffer.size() - 1))
                      : QString();
}

} // namespace

ReportContent collect(void *rows, void *module)
{
    ReportContent content;
    content.title = hostText([module](char *buffer, int32_t size) {
        return taskgate_report_named_value(module, "TitoloStampa", buffer, size);
    });
    content.reportName = hostText([module](char *buffer, int32_t size) {
        return taskgate_report_named_value(module, "NomeReport", buffer, size);
    });
    const int32_t fields = taskgate_report_field_count(rows);
    for (int32_t field = 0; field < fields; ++field)
        content.columns << hostText([rows, field](char *buffer, int32_t size) {
            return taskgate_report_field_name(rows, field, buffer, size);
        });
    const int32_t count = taskgate_report_row_count(rows);
    for (int32_t row = 0; row < count; ++row) {
        QStringList values;
        for (int32_t field = 0; field < fields; ++field)
            values << hostText([rows, row, field](char *buffer, int32_t size) {
                return taskgate_report_field_text(rows, row, field, buffer, size);
            });
        content.rows << values;
    }
    return content;
}

namespace {

QFont sized(const QFont &base, qreal points, bool bold)
{
    QFont font(base);
    font.setPointSizeF(points);
    font.setBold(bold);
    return font;
}

// A cell holds one line: a memo's line breaks and tabs become spaces.
QString oneLine(QString text)
{
    for (QChar &c : text) {
        if (c == QLatin1Char('\n') || c == QLatin1Char('\r') || c == QLatin1Char('\t'))
            c = QLatin1Char(' ');
    }
    return text;
}

} // namespace

int paintReport(QPainter &painter, const QRectF &page, const ReportContent &content,
                const std::function<bool()> &newPage)
{
    painter.save();
    const QFont titleFont = sized(painter.font(), 14, true);
    const QFont nameFont = sized(painter.font(), 10, false);
    const QFont headerFont = sized(painter.font(), 8, true);
    const QFont cellFont = sized(painter.font(), 8, false);
    const QFontMetricsF titleMetrics(titleFont, painter.device());
    const QFontMetricsF nameMetrics(nameFont, painter.device());
    const QFontMetricsF headerMetrics(headerFont, painter.device());
    const QFontMetricsF cellMetrics(cellFont, painter.device());
    const qreal padding = cellMetrics.averageCharWidth() / 2;
    const qreal lineHeight = cellMetrics.height() * 1.25;
    const qreal footerHeight = cellMetrics.height() * 1.5;

    // Each column as wide as its widest text (within 40% of the page), then
    // all of them stretched or shrunk together to the page's width.
    QVector<qreal> widths(content.columns.size());
    for (int c = 0; c < content.columns.size(); ++c) {
        qreal width = headerMetrics.horizontalAdvance(content.columns[c]);
        for (const QStringList &row : content.rows)
            width = std::max(width, cellMetrics.horizontalAdvance(oneLine(row.value(c))));
        widths[c] = std::min(width + 2 * padding, page.width() * 0.4);
    }
    qreal total = 0;
    for (qreal width : widths)
        total += width;
    if (total > 0) {
        for (qreal &width : widths)
            width *= page.width() / total;
    }

    const auto drawCells = [&](qreal y, const QFont &font, const QFontMetricsF &metrics, const QStringList &texts) {
        painter.setFont(font);
        qreal x = page.left();
        for (int c = 0; c < widths.size(); ++c) {
            const QRectF cell(x + padding, y, std::max<qreal>(widths[c] - 2 * padding, 0), lineHeight);
            painter.drawText(cell, Qt::AlignLeft | Qt::AlignVCenter,
                             metrics.elidedText(oneLine(texts.value(c)), Qt::ElideRight, cell.width()));
            x += widths[c];
        }
    };

    // The page's heading and footer; returns where the rows start.
    const auto startPage = [&](int number) {
        qreal y = page.top();
        if (!content.title.isEmpty()) {
            painter.setFont(titleFont);
            painter.drawText(QRectF(page.left(), y, page.width(), titleMetrics.height()), Qt::AlignLeft,
                             titleMetrics.elidedText(content.title, Qt::ElideRight, page.width()));
            y += titleMetrics.height();
        }
        if (!content.reportName.isEmpty()) {
            painter.setFont(nameFont);
            painter.drawText(QRectF(page.left(), y, page.width(), nameMetrics.height()), Qt::AlignLeft,
                             nameMetrics.elidedText(content.reportName, Qt::ElideRight, page.width()));
            y += nameMetrics.height();
        }
        y += nameMetrics.height() / 2;
        drawCells(y, headerFont, headerMetrics, content.columns);
        y += lineHeight;
        painter.drawLine(QPointF(page.left(), y), QPointF(page.right(), y));

        painter.setFont(cellFont);
        painter.drawText(QRectF(page.left(), page.bottom() - footerHeight, page.width(), footerHeight),
                         Qt::AlignRight | Qt::AlignBottom, QStringLiteral("Pagina %1").arg(number));
        return y + lineHeight / 4;
    };

    int pages = 1;
    qreal y = startPage(pages);
    const qreal bottom = page.bottom() - footerHeight;
    if (content.rows.isEmpty()) {
        painter.setFont(cellFont);
        painter.drawText(QRectF(page.left(), y, page.width(), lineHeight), Qt::AlignLeft | Qt::AlignVCenter,
                         QStringLiteral("Nessun dato da stampare"));
    }
    int rowsOnPage = 0;
    for (const QStringList &row : content.rows) {
        // At least one row on every page, however small the page.
        if (y + lineHeight > bottom && rowsOnPage > 0) {
            if (!newPage())
                break;
            y = startPage(++pages);
            rowsOnPage = 0;
        }
        drawCells(y, cellFont, cellMetrics, row);
        y += lineHeight;
        ++rowsOnPage;
    }
    painter.restore();
    return pages;
}

int paintReport(QPagedPaintDevice &device, const ReportContent &content)
{
    QPainter painter;
    if (!painter.begin(&device))
        return 0;
    // The device's coordinates start at its printable area.
    const QRectF page(0, 0, device.width(), device.height());
    const int pages = paintReport(painter, page, content, [&device] { return device.newPage(); });
    painter.end();
    return pages;
}

QAction *printAction(const QPrintPreviewDialog &dialog)
{
    const auto *toolBar = dialog.findChild<QToolBar *>();
    if (!toolBar)
        return nullptr;
    // The preview's own action, named in the language of the loaded
    // translations.
    const QString caption = QCoreApplication::translate("QPrintPreviewDialog", "Print");
    const QList<QAction *> actions = toolBar->actions();
    for (QAction *action : actions) {
        if (action->text() == caption)
            return action;
    }
    return nullptr;
}

void printFirst(QPrintPreviewDialog &dialog)
{
    // The preview's tool bar ends with Print; at the width of a small
    // screen the bar's end goes into its overflow menu, and Print with it.
    // Print comes first instead, where no width hides it.
    QAction *print = printAction(dialog);
    auto *toolBar = dialog.findChild<QToolBar *>();
    if (!print || !toolBar || toolBar->actions().constFirst() == print)
        return;
    QAction *first = toolBar->actions().constFirst();
    toolBar->removeAction(print);
    toolBar->insertAction(first, print);
    toolBar->insertSeparator(first);
}

int showPreview(const ReportContent &content, QWidget *parent)
{
    const QString name = content.title.isEmpty() ? content.reportName : content.title;
    QPrinter printer;
    printer.setDocName(name);
    // A wide table is easier to read across the long side of the sheet.
    if (content.columns.size() > 6)
        printer.setPageOrientation(QPageLayout::Landscape);

    QPrintPreviewDialog dialog(&printer, parent);
    dialog.setObjectName(QStringLiteral("AnteprimaStampa"));
    dialog.setWindowTitle(name.isEmpty() ? QStringLiteral("Anteprima di stampa")
                                         : QStringLiteral("Anteprima di stampa - %1").arg(name));
    // The preview asks for the pages whenever it lays them out again, and
    // once more on the real printer when the user prints.
    QObject::connect(&dialog, &QPrintPreviewDialog::paintRequested, &dialog,
                     [&content](QPrinter *target) { paintReport(*target, content); });
    printFirst(dialog);
    return tg::ModalRunner::run(dialog);
}

} // namespace taskgate_report
