#include "core/ReportDocument.h"

#include "core/AppError.h"

#include <QAbstractTextDocumentLayout>
#include <QPainter>
#include <QPdfWriter>
#include <QTextDocument>

void ReportDocument::prepareSection(QTextDocument& section, QPaintDevice& device, QSizeF pageSize) {
    section.documentLayout()->setPaintDevice(&device);
    section.setDocumentMargin(0);
    section.setPageSize(pageSize);
}

void ReportDocument::Pages::newPage() {
    if (!m_first && !device.newPage()) throw AppError(ErrNo::PrinterError, QStringLiteral("Printer Error"));
    m_first = false;
}

void ReportDocument::Pages::paintSection(QTextDocument& section) {
    const int count = section.pageCount();
    for (int p = 0; p < count; ++p) {
        newPage();
        painter.save();
        const QRectF area(0, p * pageSize.height(), pageSize.width(), pageSize.height());
        painter.translate(0, -area.top());
        painter.setClipRect(area);
        QAbstractTextDocumentLayout::PaintContext context;
        context.clip = area;
        section.documentLayout()->draw(&painter, context);
        painter.restore();
    }
    addText(section.toPlainText());
}

void ReportDocument::makeSections(QPaintDevice&, QSizeF, const std::function<void(QTextDocument&)>&) const {}

void ReportDocument::paintPages(Pages& pages) const {
    makeSections(pages.device, pages.pageSize, [&](QTextDocument& section) { pages.paintSection(section); });
}

void ReportDocument::print(QPagedPaintDevice& device, QStringList* sectionTexts) const {
    device.setPageMargins(QMarginsF(15, 15, 15, 15), QPageLayout::Millimeter);
    QPainter painter;
    if (!painter.begin(&device)) throw AppError(ErrNo::PrinterError, QStringLiteral("Printer Error"));
    const QRectF page = device.pageLayout().paintRectPixels(device.logicalDpiX());
    Pages pages(painter, device, page.size(), sectionTexts);
    paintPages(pages);
    painter.end();
}

void ReportDocument::writePdf(const QString& path, QStringList* sectionTexts) const {
    QPdfWriter writer(path);
    writer.setTitle(title);
    writer.setCreator(QStringLiteral("Dunmark"));
    writer.setResolution(600);
    writer.setPageSize(QPageSize(QPageSize::Letter));
    try {
        print(writer, sectionTexts);
    } catch (const AppError&) {
        throw AppError(ErrNo::PathFileAccess, QStringLiteral("The file %1 could not be written.").arg(path));
    }
}

QString report_sPdfFileName(const QString& reportName, const QDate& date) {
    QString name = reportName;
    static const QString unsafe = QStringLiteral("/\\:*?\"<>|");
    for (QChar& c : name)
        if (unsafe.contains(c)) c = QLatin1Char('-');
    return name.trimmed() + QLatin1Char(' ') + date.toString(Qt::ISODate) + QStringLiteral(".pdf");
}
