#include "reports/ReportLogic.h"

#include "core/AppError.h"
#include "core/AppInfo.h"
#include "core/Format.h"
#include "core/Platform.h"
#include "data/ConfigSettings.h"
#include "data/engine/Database.h"
#include "data/engine/Dialect.h"

#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QAbstractTextDocumentLayout>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextTable>
#include <QFontMetricsF>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QTextBlock>
#include <QTextLayout>
#include <array>
#include <algorithm>
#include <mstch/mstch.hpp>
#include <vector>

namespace {

const QString LongDate = QStringLiteral("mmmm d, yyyy");
const QString ShortDate = QStringLiteral("mm/dd/yyyy");

std::string str(const QString& text) { return text.toStdString(); }
// A Yes/No field; one without a value reads as No.
bool truth(const Value& v) { return !v.isNull() && !v.isEmpty() && v.toBool(); }
QString joined(const QStringList& parts, const QString& separator) {
    QStringList kept;
    for (const QString& p : parts)
        if (!p.trimmed().isEmpty()) kept << p.trimmed();
    return kept.join(separator);
}
mstch::array lines(const QStringList& texts) {
    mstch::array a;
    for (const QString& t : texts)
        if (!t.trimmed().isEmpty()) a.emplace_back(str(t.trimmed()));
    return a;
}
QString longDate(const QDate& d) { return d.isValid() ? fmt_Date(d, LongDate) : QString(); }
QString cityLine(const QString& city, const QString& state, const QString& postal) {
    return joined({joined({city, state}, QStringLiteral(", ")), postal}, QStringLiteral(" "));
}

// ---- the columns read, by name
class Columns {
public:
    explicit Columns(QStringList names) : m_names(std::move(names)) {}
    QString select() const { return m_names.join(QStringLiteral(", ")); }
    int operator[](const char* name) const {
        const int i = int(m_names.indexOf(QString::fromLatin1(name)));
        Q_ASSERT(i >= 0);
        return i;
    }

private:
    QStringList m_names;
};

QString whereReference(const ReportSelection& s, const QString& before) {
    if (s.all) return QString();
    return before + QStringLiteral("Cases.ReferenceNumber = ") + sqlQuoteText(s.reference);
}

// ---- the merchant's letterhead (Config)
mstch::map merchantContext() {
    auto text = [](const char* f) { return config_Text(QString::fromLatin1(f)).value_or(QString()); };
    const QString phone = joined({text("Phone"), text("Ext").isEmpty() ? QString() : QStringLiteral("ext. ") + text("Ext")},
                                 QStringLiteral(" "));
    return mstch::map{
        {"name", str(text("CompanyName"))},
        {"contact", str(text("Contact"))},
        {"lines", lines({text("Address1"), text("Address2"), cityLine(text("City"), text("ProvState"), text("Postal")),
                         text("Country")})},
        {"phone", str(phone)},
        {"fax", str(text("Fax"))},
    };
}

// ---- notices: one letter per case
const Columns& noticeColumns() {
    static const Columns c(QStringList{
        "Cases.ReferenceNumber", "Cases.DateReceived", "Cases.Stage", "Cases.StageDate", "Cases.CheckDate",
        "Cases.CheckType", "Cases.CheckAmount", "Cases.Bank", "Cases.Branch", "Cases.AccountNumber",
        "Cases.TransitNumber", "Cases.CheckNumber", "Cases.CollectionCompany", "Cases.CollectionContact",
        "Cases.AddNSF", "Cases.CollectionCharge", "Cases.CollectableAmount", "Cases.AmountPaid",
        "Cases.BallanceOwed", "Cases.PhoneCall", "Cases.FirstNotice", "Cases.SecondNotice", "Cases.FinalNotice",
        "Cases.Collection", "Cases.Police", "Cases.Attorney", "Cases.PhoneDate", "Cases.FirstNoticeDate",
        "Cases.SecondNoticeDate", "Cases.FinalNoticeDate", "Cases.CollectionNoticeDate", "Cases.PoliceNoticeDate",
        "Cases.AttorneyNoticeDate", "Cases.Installment1Amount", "Cases.Installment2Amount",
        "Cases.Installment3Amount", "Cases.Installment4Amount", "Cases.Installment5Amount",
        "Cases.Installment1Date", "Cases.Installment2Date", "Cases.Installment3Date", "Cases.Installment4Date",
        "Cases.Installment5Date", "Address.Title", "Address.FirstName", "Address.Initial", "Address.LastName",
        "Address.CompanyName", "Address.Address1", "Address.Address2", "Address.City", "Address.StateOrProv",
        "Address.PostalCode", "Address.Country", "Address.Phone", "Address.Identification"});
    return c;
}

mstch::map noticeContext(const RowReader& r, const mstch::map& merchant, Money fee, const QString& today) {
    const Columns& c = noticeColumns();
    auto t = [&](const char* name) { return r.text(c[name]).trimmed(); };
    auto money = [&](const char* name) { return r.value(c[name]).toMoney(); };
    auto date = [&](const char* name) { return longDate(r.date(c[name])); };
    auto flag = [&](const char* name) { return truth(r.value(c[name])); };

    const QString name = joined({t("Address.Title"), t("Address.FirstName"), t("Address.Initial"), t("Address.LastName")},
                                QStringLiteral(" "));
    const QString salutation = t("Address.Title").isEmpty() || t("Address.LastName").isEmpty()
                                   ? joined({t("Address.FirstName"), t("Address.LastName")}, QStringLiteral(" "))
                                   : t("Address.Title") + QLatin1Char(' ') + t("Address.LastName");

    static const char* const stages[][3] = {
        {"Cases.PhoneCall", "Cases.PhoneDate", "Phone Call"},
        {"Cases.FirstNotice", "Cases.FirstNoticeDate", "First Notice"},
        {"Cases.SecondNotice", "Cases.SecondNoticeDate", "Second Notice"},
        {"Cases.FinalNotice", "Cases.FinalNoticeDate", "Final Notice"},
        {"Cases.Collection", "Cases.CollectionNoticeDate", "Collection"},
        {"Cases.Police", "Cases.PoliceNoticeDate", "Police"},
        {"Cases.Attorney", "Cases.AttorneyNoticeDate", "Attorney"}};
    mstch::array history;
    for (const auto& s : stages)
        if (flag(s[0])) history.emplace_back(mstch::map{{"stage", std::string(s[2])}, {"date", str(date(s[1]))}});

    static const char* const installments[][2] = {{"Cases.Installment1Amount", "Cases.Installment1Date"},
                                                  {"Cases.Installment2Amount", "Cases.Installment2Date"},
                                                  {"Cases.Installment3Amount", "Cases.Installment3Date"},
                                                  {"Cases.Installment4Amount", "Cases.Installment4Date"},
                                                  {"Cases.Installment5Amount", "Cases.Installment5Date"}};
    mstch::array paid;
    for (const auto& i : installments) {
        const Money amount = money(i[0]);
        if (amount == Money()) continue;
        paid.emplace_back(mstch::map{{"number", int(paid.size() + 1)}, {"amount", str(fmt_Currency(amount))},
                                     {"date", str(date(i[1]))}});
    }

    const bool hasFee = flag("Cases.AddNSF") && fee != Money();
    const Money charge = money("Cases.CollectionCharge");
    return mstch::map{
        {"merchant", merchant},
        {"date", str(today)},
        {"reference", str(t("Cases.ReferenceNumber"))},
        {"received", str(date("Cases.DateReceived"))},
        {"stage", str(t("Cases.Stage"))},
        {"stage_date", str(date("Cases.StageDate"))},
        {"customer",
         mstch::map{{"name", str(name)},
                    {"salutation", str(salutation.isEmpty() ? QStringLiteral("Sir or Madam") : salutation)},
                    {"lines", lines({t("Address.CompanyName"), t("Address.Address1"), t("Address.Address2"),
                                     cityLine(t("Address.City"), t("Address.StateOrProv"), t("Address.PostalCode")),
                                     t("Address.Country")})},
                    {"phone", str(t("Address.Phone"))},
                    {"identification", str(t("Address.Identification"))}}},
        {"cheque",
         mstch::map{{"number", str(t("Cases.CheckNumber"))},
                    {"date", str(date("Cases.CheckDate"))},
                    {"bank", str(joined({t("Cases.Bank"), t("Cases.Branch")}, QStringLiteral(", ")))},
                    {"transit", str(t("Cases.TransitNumber"))},
                    {"account", str(t("Cases.AccountNumber"))},
                    {"amount", str(fmt_Currency(money("Cases.CheckAmount")))},
                    {"reason", str(t("Cases.CheckType"))}}},
        {"has_fee", hasFee},
        {"fee", str(fmt_Currency(hasFee ? fee : Money()))},
        {"has_charge", charge != Money()},
        {"charge", str(fmt_Currency(charge))},
        {"collectable", str(fmt_Currency(money("Cases.CollectableAmount")))},
        {"has_paid", money("Cases.AmountPaid") != Money()},
        {"paid", str(fmt_Currency(money("Cases.AmountPaid")))},
        {"balance", str(fmt_Currency(money("Cases.BallanceOwed")))},
        {"agency", mstch::map{{"name", str(t("Cases.CollectionCompany"))}, {"contact", str(t("Cases.CollectionContact"))}}},
        {"history", history},
        {"installments", paid},
    };
}

class NoticeDocument : public ReportDocument {
public:
    std::string html;
    std::vector<mstch::map> letters;

    void makeSections(QPaintDevice& device, QSizeF pageSize,
                      const std::function<void(QTextDocument&)>& addSection) const override {
        for (const mstch::map& letter : letters) {
            QTextDocument section;
            prepareSection(section, device, pageSize);
            section.setHtml(QString::fromStdString(mstch::render(html, letter)));
            addSection(section);
        }
    }
};

// ---- lists: one line per case or customer, laid out a page at a time
using ListLine = ReportLine;

QString displayName(const QString& showAs, const QString& last, const QString& first, const QString& company) {
    if (!showAs.trimmed().isEmpty()) return showAs.trimmed();
    const QString person = joined({last, first}, QStringLiteral(", "));
    return person.isEmpty() ? company.trimmed() : person;
}

// The tags of a list line, in the order of lineTexts; in a page frame each stands as one character
// of the private use area (LineMark + its index), the page number as PageMark.
const char* const LineTags[] = {"name",  "reference", "received", "status", "phone",  "identification",
                                "cases", "days",      "note",     "amount", "paid",   "balance"};
constexpr int LineTagCount = int(std::size(LineTags));
constexpr char16_t LineMark = 0xE000;
constexpr char16_t PageMark = 0xE0FF;
bool isLineMark(QChar c) { return c.unicode() >= LineMark && c.unicode() < LineMark + LineTagCount; }

std::array<QString, LineTagCount> lineTexts(const ListLine& l) {
    return {l.name, l.reference, l.received, l.status, l.phone, l.identification, QString::number(l.cases),
            QString::number(l.days), l.note, fmt_Currency(l.amount), fmt_Currency(l.paid), fmt_Currency(l.balance)};
}
mstch::map lineContext(const std::array<QString, LineTagCount>& texts) {
    mstch::map m;
    for (int i = 0; i < LineTagCount; ++i) m.emplace(LineTags[i], str(texts[size_t(i)]));
    return m;
}

// One page of a list as its template lays it out, laid out once: the template rendered with two
// lines of tag marks. The lines of a page are painted into the band of those two lines, each cell
// with the font, alignment and place the layout gave its mark, a text too wide for its cell cut
// short with an ellipsis; what lies below the band (the totals) is painted moved up or down.
class ListFrame {
public:
    ListFrame(const std::string& html, mstch::map context, QPaintDevice& device, QSizeF pageSize)
        : m_device(device) {
        std::array<QString, LineTagCount> marks;
        for (int i = 0; i < LineTagCount; ++i) marks[size_t(i)] = QChar(char16_t(LineMark + i));
        context["lines"] = mstch::array{lineContext(marks), lineContext(marks)};
        context["page"] = str(QString(QChar(PageMark)));
        ReportDocument::prepareSection(m_doc, device, pageSize);
        m_doc.setTextWidth(pageSize.width()); // one long page: its height is the frame's own
        m_doc.setHtml(QString::fromStdString(mstch::render(html, context)));
        splitText();
        measure(pageSize.height());
    }
    bool holdsLines() const { return m_rowHeight > 0; }
    // The lines the page holds beside the frame.
    qsizetype capacity() const { return m_capacity; }

    void paint(QPainter& painter, QSizeF pageSize, int page, const ListLine* first, qsizetype n,
               QString& text) {
        const QString number = QString::number(page);
        setPage(number);
        QAbstractTextDocumentLayout* layout = m_doc.documentLayout();
        QAbstractTextDocumentLayout::PaintContext context;
        painter.save();
        context.clip = QRectF(0, 0, pageSize.width(), m_bandTop);
        painter.setClipRect(context.clip);
        layout->draw(&painter, context);
        painter.restore();

        QStringList lines;
        for (qsizetype k = 0; k < n; ++k) {
            const auto values = lineTexts(first[k]);
            for (size_t i = 0; i < m_cells.size(); ++i) {
                const Cell& cell = m_cells[i];
                QString filled;
                for (QChar c : cell.text) {
                    if (isLineMark(c)) filled += values[size_t(c.unicode() - LineMark)];
                    else filled += c;
                }
                const QFontMetricsF& metrics = m_metrics[i];
                QString shown = filled;
                double w = metrics.horizontalAdvance(shown);
                if (w > cell.width) {
                    shown = metrics.elidedText(filled, Qt::ElideRight, cell.width);
                    w = metrics.horizontalAdvance(shown);
                }
                double x = cell.left;
                if (cell.align & Qt::AlignRight) x += cell.width - w;
                else if (cell.align & Qt::AlignHCenter) x += (cell.width - w) / 2;
                if (i == 0 || cell.font != m_cells[i - 1].font || k == 0) painter.setFont(cell.font);
                if (i == 0 || cell.color != m_cells[i - 1].color || k == 0) painter.setPen(cell.color);
                painter.drawText(QPointF(x, cell.baseline + double(k) * m_rowHeight), shown);
                lines << QString(shown).replace(QChar::Nbsp, QLatin1Char(' '));
            }
        }

        painter.save();
        const double shift = double(n - 2) * m_rowHeight;
        painter.setClipRect(QRectF(0, m_bandTop + double(n) * m_rowHeight, pageSize.width(), pageSize.height()));
        painter.translate(0, shift);
        context.clip = QRectF(0, m_bandTop + 2 * m_rowHeight, pageSize.width(), pageSize.height());
        layout->draw(&painter, context);
        painter.restore();

        text = m_before;
        text.replace(QChar(PageMark), number);
        if (!lines.isEmpty()) text += lines.join(QLatin1Char('\n')) + QLatin1Char('\n');
        QString after = m_after;
        text += after.replace(QChar(PageMark), number);
    }

private:
    struct Cell {
        QString text; // the cell's text with its tag marks
        QFont font;
        QColor color;
        Qt::Alignment align;
        double left = 0, width = 0, baseline = 0;
    };

    void setPage(const QString& number) {
        if (m_page.isNull()) return;
        m_page.insertText(number);
        m_page.setPosition(m_page.position() - int(number.size()), QTextCursor::KeepAnchor);
    }

    // The frame's plain text before and after the lines (the paragraphs with tag marks).
    void splitText() {
        const QStringList paragraphs = m_doc.toPlainText().split(QLatin1Char('\n'));
        bool seen = false;
        for (const QString& p : paragraphs) {
            if (std::any_of(p.begin(), p.end(), isLineMark)) {
                seen = true;
                continue;
            }
            (seen ? m_after : m_before) += p + QLatin1Char('\n');
        }
        if (!m_after.isEmpty()) m_after.chop(1);
    }

    void measure(double pageHeight) {
        QTextBlock firstBlock;
        for (QTextBlock b = m_doc.begin(); b.isValid() && !firstBlock.isValid(); b = b.next())
            if (const QString t = b.text(); std::any_of(t.begin(), t.end(), isLineMark)) firstBlock = b;
        // The page number: its mark selected, to be replaced on each page.
        m_page = m_doc.find(QString(QChar(PageMark)));
        setPage(QStringLiteral("1"));
        if (!firstBlock.isValid()) return;
        QTextTable* table = QTextCursor(firstBlock).currentTable();
        if (!table) return;
        int row = -1;
        for (int r = 0; r < table->rows() && row < 0; ++r)
            for (int c = 0; c < table->columns(); ++c)
                if (table->cellAt(r, c).firstCursorPosition().block() == firstBlock) row = r;
        if (row < 0 || row + 1 >= table->rows()) return;
        // The cells' texts with their marks; then the marks give way to a digit, so that the two
        // lines are laid out in the cells' own fonts.
        std::vector<QTextBlock> blocks;
        for (int c = 0; c < table->columns(); ++c) {
            const QTextTableCell cell = table->cellAt(row, c);
            if (cell.column() != c) continue;
            blocks.push_back(cell.firstCursorPosition().block());
            m_cells.emplace_back().text = blocks.back().text();
        }
        for (int r = row; r <= row + 1; ++r)
            for (int c = 0; c < table->columns(); ++c) {
                const QTextTableCell cell = table->cellAt(r, c);
                for (int at = cell.firstPosition(); at < cell.lastPosition(); ++at)
                    if (isLineMark(m_doc.characterAt(at))) {
                        QTextCursor mark(&m_doc);
                        mark.setPosition(at);
                        mark.setPosition(at + 1, QTextCursor::KeepAnchor);
                        const QTextCharFormat format = mark.charFormat();
                        mark.insertText(QStringLiteral("0"), format);
                    }
            }
        QAbstractTextDocumentLayout* layout = m_doc.documentLayout();
        const QTextBlock second = table->cellAt(row + 1, 0).firstCursorPosition().block();
        const QRectF one = layout->blockBoundingRect(blocks.front());
        m_rowHeight = layout->blockBoundingRect(second).top() - one.top();
        m_bandTop = one.top() - (m_rowHeight - one.height()) / 2;
        for (size_t i = 0; i < blocks.size(); ++i) {
            const QTextBlock& block = blocks[i];
            const QRectF r = layout->blockBoundingRect(block);
            Cell& k = m_cells[i];
            QTextCursor at(block);
            at.movePosition(QTextCursor::NextCharacter);
            const QTextCharFormat format = block.text().isEmpty() ? block.charFormat() : at.charFormat();
            k.font = format.font().resolve(m_doc.defaultFont());
            k.color = format.hasProperty(QTextFormat::ForegroundBrush) ? format.foreground().color() : QColor(Qt::black);
            k.align = block.blockFormat().alignment();
            const QTextLine line = block.layout()->lineCount() > 0 ? block.layout()->lineAt(0) : QTextLine();
            k.left = r.left();
            k.width = line.isValid() ? line.width() : r.width();
            m_metrics.emplace_back(k.font, &m_device);
            k.baseline = r.top() + (line.isValid() ? line.y() + line.ascent() : m_metrics.back().ascent());
        }
        const double below = m_doc.size().height() - (m_bandTop + 2 * m_rowHeight);
        m_capacity = std::max<qsizetype>(1, qsizetype((pageHeight - m_bandTop - below) / m_rowHeight));
    }

    QPaintDevice& m_device;
    QTextDocument m_doc;
    QTextCursor m_page;
    QString m_before, m_after;
    std::vector<Cell> m_cells;
    std::vector<QFontMetricsF> m_metrics; // one a cell
    double m_rowHeight = 0, m_bandTop = 0;
    qsizetype m_capacity = 0;
};

class ListDocument : public ReportDocument {
public:
    std::string html;
    QString printed;
    std::vector<ListLine> items;
    ListLine totals;

protected:
    void paintPages(Pages& pages) const override {
        auto context = [&](bool last) {
            return mstch::map{{"title", str(title)}, {"printed", str(printed)}, {"last", last},
                              {"totals", lineContext(lineTexts(totals))}};
        };
        ListFrame middle(html, context(false), pages.device, pages.pageSize);
        ListFrame end(html, context(true), pages.device, pages.pageSize);
        if (!middle.holdsLines() || !end.holdsLines())
            throw AppError(ReportErr::TemplateNotUnderstood,
                           QStringLiteral("The report template \"%1\" has no table row of {{#lines}} to print the lines in.")
                               .arg(title));
        const qsizetype count = qsizetype(items.size());
        qsizetype start = 0;
        int page = 1;
        QString text;
        for (;; ++page) {
            const qsizetype left = count - start;
            const bool last = left <= end.capacity();
            // A page before the last leaves at least one line for the page of the totals.
            const qsizetype n = last ? left : std::min(middle.capacity(), left - 1);
            pages.newPage();
            (last ? end : middle).paint(pages.painter, pages.pageSize, page, items.data() + start, n, text);
            pages.addText(text);
            if (last) break;
            start += n;
        }
    }
};

void readCaseLines(ListDocument& doc, const ReportSelection& s, bool openOnly) {
    const Columns c(QStringList{"Cases.ReferenceNumber", "Cases.DateReceived", "Cases.Stage", "Cases.CaseOpen",
                                "Cases.FinalResult", "Cases.CheckAmount", "Cases.AmountPaid", "Cases.BallanceOwed",
                                "Address.ShowAs", "Address.LastName", "Address.FirstName", "Address.CompanyName"});
    QString where = openOnly ? QStringLiteral(" WHERE Cases.CaseOpen = True") : QString();
    where += whereReference(s, where.isEmpty() ? QStringLiteral(" WHERE ") : QStringLiteral(" AND "));
    const QString sql = QStringLiteral("SELECT ") + c.select() +
                        QStringLiteral(" FROM Cases LEFT JOIN Address ON Cases.CustomerID = Address.CustomerID") + where;
    Database::open(DatabasePath).readRows(sql, [&](const RowReader& r) {
        ListLine l;
        l.name = displayName(r.text(c["Address.ShowAs"]), r.text(c["Address.LastName"]), r.text(c["Address.FirstName"]),
                             r.text(c["Address.CompanyName"]));
        l.reference = r.text(c["Cases.ReferenceNumber"]);
        const QDate received = r.date(c["Cases.DateReceived"]);
        l.received = received.isValid() ? fmt_Date(received, ShortDate) : QString();
        if (openOnly)
            l.status = r.text(c["Cases.Stage"]);
        else if (truth(r.value(c["Cases.CaseOpen"])))
            l.status = QStringLiteral("Open");
        else
            l.status = r.text(c["Cases.FinalResult"]).isEmpty() ? QStringLiteral("Closed") : r.text(c["Cases.FinalResult"]);
        l.cases = 1;
        l.amount = r.value(c["Cases.CheckAmount"]).toMoney();
        l.paid = r.value(c["Cases.AmountPaid"]).toMoney();
        l.balance = r.value(c["Cases.BallanceOwed"]).toMoney();
        doc.items.push_back(std::move(l));
    });
}

void readRefusedCustomers(ListDocument& doc, const ReportSelection& s) {
    Database db = Database::open(DatabasePath);
    const Columns c(QStringList{"Address.CustomerID", "Address.ShowAs", "Address.LastName", "Address.FirstName",
                                "Address.CompanyName", "Address.Phone", "Address.Identification"});
    QHash<qint64, size_t> row;
    db.readRows(QStringLiteral("SELECT ") + c.select() + QStringLiteral(" FROM Address WHERE Address.NoMoreChecks = True"),
                [&](const RowReader& r) {
                    ListLine l;
                    l.name = displayName(r.text(c["Address.ShowAs"]), r.text(c["Address.LastName"]),
                                         r.text(c["Address.FirstName"]), r.text(c["Address.CompanyName"]));
                    l.phone = r.text(c["Address.Phone"]);
                    l.identification = r.text(c["Address.Identification"]);
                    row.insert(r.integer(c["Address.CustomerID"]), doc.items.size());
                    doc.items.push_back(std::move(l));
                });
    db.readRows(QStringLiteral("SELECT Cases.CustomerID, Cases.CheckAmount, Cases.AmountPaid, Cases.BallanceOwed FROM Cases") +
                    whereReference(s, QStringLiteral(" WHERE ")),
                [&](const RowReader& r) {
                    const auto it = row.constFind(r.integer(0));
                    if (it == row.constEnd()) return;
                    ListLine& l = doc.items[*it];
                    ++l.cases;
                    l.amount += r.value(1).toMoney();
                    l.paid += r.value(2).toMoney();
                    l.balance += r.value(3).toMoney();
                });
    if (!s.all)
        std::erase_if(doc.items, [](const ListLine& l) { return l.cases == 0; });
}

QString templateData(const QString& html) {
    static const QRegularExpression meta(
        QStringLiteral("<meta\\s+name\\s*=\\s*\"report-data\"\\s+content\\s*=\\s*\"([a-z-]+)\""),
        QRegularExpression::CaseInsensitiveOption);
    const auto m = meta.match(html);
    return m.hasMatch() ? m.captured(1).toLower() : QString();
}

} // namespace

ReportSelection report_ParseFormula(const QString& formula) {
    const QString f = formula.trimmed();
    if (f.isEmpty()) return {};
    static const QRegularExpression form(QStringLiteral("^\\{Cases\\.ReferenceNumber\\}\\s*=\\s*'((?:[^']|'')*)'$"));
    const auto m = form.match(f);
    if (!m.hasMatch())
        throw AppError(ReportErr::FormulaNotUnderstood,
                       QStringLiteral("The selection formula \"%1\" is not understood. A report takes no formula or "
                                      "{Cases.ReferenceNumber} = 'reference'.")
                           .arg(formula));
    QString reference = m.captured(1);
    reference.replace(QStringLiteral("''"), QStringLiteral("'"));
    return {false, reference};
}

QString report_sReferenceFormula(const QString& reference) {
    QString r = reference;
    return QStringLiteral("{Cases.ReferenceNumber} = '") + r.replace(QStringLiteral("'"), QStringLiteral("''")) +
           QLatin1Char('\'');
}

// The totals line of a list: the sums of its lines.
static void addUpTotals(ListDocument& doc) {
    for (const ListLine& l : doc.items) {
        doc.totals.cases += l.cases;
        doc.totals.amount += l.amount;
        doc.totals.paid += l.paid;
        doc.totals.balance += l.balance;
    }
}

std::unique_ptr<ReportDocument> report_Build(const QString& templatePath, const ReportSelection& selection,
                                             const QDateTime& now) {
    QFile file(templatePath);
    if (!file.open(QIODevice::ReadOnly))
        throw AppError(ReportErr::TemplateNotFound,
                       QStringLiteral("The report template \"%1\" cannot be found.").arg(QFileInfo(templatePath).fileName()));
    const QString html = QString::fromUtf8(file.readAll());
    const QString data = templateData(html);
    const QString title = QFileInfo(templatePath).completeBaseName();
    const QString today = fmt_Date(now.date(), LongDate);

    if (data == QLatin1String("notice")) {
        auto doc = std::make_unique<NoticeDocument>();
        doc->title = title;
        doc->html = str(html);
        const mstch::map merchant = merchantContext();
        const Money fee = config_Money(QStringLiteral("NSFfee"));
        const QString sql = QStringLiteral("SELECT ") + noticeColumns().select() +
                            QStringLiteral(" FROM Cases LEFT JOIN Address ON Cases.CustomerID = Address.CustomerID") +
                            whereReference(selection, QStringLiteral(" WHERE ")) + QStringLiteral(" ORDER BY Cases.CaseID");
        Database::open(DatabasePath).readRows(sql, [&](const RowReader& r) {
            doc->letters.push_back(noticeContext(r, merchant, fee, today));
        });
        return doc;
    }
    auto doc = std::make_unique<ListDocument>();
    doc->title = title;
    doc->html = str(html);
    doc->printed = today;
    if (data == QLatin1String("given"))
        throw AppError(ReportErr::TemplateNotUnderstood,
                       QStringLiteral("The report template \"%1\" prints only the lines a screen gives it.").arg(title));
    if (data == QLatin1String("open-cases") || data == QLatin1String("all-cases"))
        readCaseLines(*doc, selection, data == QLatin1String("open-cases"));
    else if (data == QLatin1String("no-more-checks"))
        readRefusedCustomers(*doc, selection);
    else
        throw AppError(ReportErr::TemplateNotUnderstood,
                       QStringLiteral("The report template \"%1\" names no data to print (report-data).").arg(title));
    std::stable_sort(doc->items.begin(), doc->items.end(), [](const ListLine& a, const ListLine& b) {
        const int byName = a.name.compare(b.name, Qt::CaseInsensitive);
        return byName != 0 ? byName < 0 : a.reference.compare(b.reference, Qt::CaseInsensitive) < 0;
    });
    addUpTotals(*doc);
    return doc;
}

std::unique_ptr<ReportDocument> report_BuildList(const QString& templatePath, std::vector<ReportLine> lines,
                                                 const QDateTime& now) {
    QFile file(templatePath);
    if (!file.open(QIODevice::ReadOnly))
        throw AppError(ReportErr::TemplateNotFound,
                       QStringLiteral("The report template \"%1\" cannot be found.").arg(QFileInfo(templatePath).fileName()));
    auto doc = std::make_unique<ListDocument>();
    doc->title = QFileInfo(templatePath).completeBaseName();
    doc->html = str(QString::fromUtf8(file.readAll()));
    doc->printed = fmt_Date(now.date(), LongDate);
    doc->items = std::move(lines);
    addUpTotals(*doc);
    return doc;
}

qsizetype report_lItemCount(const ReportDocument& document) {
    if (auto* n = dynamic_cast<const NoticeDocument*>(&document)) return qsizetype(n->letters.size());
    if (auto* l = dynamic_cast<const ListDocument*>(&document)) return qsizetype(l->items.size());
    return 0;
}

void ReportControl::run() {
    const std::unique_ptr<ReportDocument> doc =
        report_Build(ReportFileName, report_ParseFormula(SelectionFormula), platform().now());
    if (dynamic_cast<const NoticeDocument*>(doc.get()) && report_lItemCount(*doc) == 0) {
        msgBox(QStringLiteral("There is no case to print %1 for.").arg(doc->title), Platform::Information, doc->title);
        return;
    }
    switch (Destination) {
    case ToFile: doc->writePdf(PrintFileName); break;
    case ToPrinter: platform().outputReport(*doc, Platform::ReportTarget::Printer, doc->title); break;
    default: platform().outputReport(*doc, Platform::ReportTarget::Preview, doc->title); break;
    }
}
