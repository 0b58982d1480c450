#pragma once

#include <QDate>
#include <QSizeF>
#include <QString>
#include <QStringList>
#include <functional>

class QPagedPaintDevice;
class QPaintDevice;
class QPainter;
class QTextDocument;

// A report made of sections laid out by QTextDocument: a section starts on a new page and may run
// over several. Sections are made one at a time while the report is painted, so that no more than
// one section of laid-out text is held beside the report's own data (a list makes one section per
// page).
class ReportDocument {
public:
    virtual ~ReportDocument() = default;

    // Paints every page onto a printer or PDF writer that is not painted on yet (US Letter unless
    // the device was given another size, margins of 15 mm). Raises 482 when the device cannot be
    // painted on. The plain text of each section is appended to sectionTexts when one is given.
    void print(QPagedPaintDevice& device, QStringList* sectionTexts = nullptr) const;
    // Writes the report to a PDF file on US Letter; 75 when the file cannot be written.
    void writePdf(const QString& path, QStringList* sectionTexts = nullptr) const;

    QString title;

    // Sets up one section's document for the device and the page size (device pixels): the layout
    // measures with the device's fonts, without a margin of its own.
    static void prepareSection(QTextDocument& section, QPaintDevice& device, QSizeF pageSize);

protected:
    // The pages being painted: a report either hands over sections (paintSection) or paints its
    // pages itself (newPage, then the painter, and the page's plain text to addText).
    class Pages {
    public:
        Pages(QPainter& p, QPagedPaintDevice& d, QSizeF size, QStringList* t)
            : painter(p), device(d), pageSize(size), texts(t) {}
        QPainter& painter;
        QPagedPaintDevice& device;
        QSizeF pageSize;
        QStringList* texts;
        // Starts a page (the first is there already); 482 when the device fails.
        void newPage();
        // Paints every page of a section and keeps its text.
        void paintSection(QTextDocument& section);
        void addText(const QString& text) {
            if (texts) texts->append(text);
        }

    private:
        bool m_first = true;
    };
    // Paints the pages; by default the sections of makeSections, one after the other.
    virtual void paintPages(Pages& pages) const;
    // Makes the sections in order, each prepared with prepareSection and handed to addSection.
    virtual void makeSections(QPaintDevice& device, QSizeF pageSize,
                              const std::function<void(QTextDocument&)>& addSection) const;
};

// The name proposed for a report's PDF file: the report's name and the date ("All Bad Checks
// 2026-12-08.pdf"), without characters that file names do not take.
QString report_sPdfFileName(const QString& reportName, const QDate& date);
