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

class ListDocument : public ReportDocument {
public:
    std::string html;
    QString printed;
    std::vector<ListLine> items;
    ListLine totals;

    void makeSections(QPaintDevice& device, QSizeF pageSize,
                      const std::function<void(QTextDocument&)>& addSection) const override {
        const qsizetype count = qsizetype(items.size());
        qsizetype start = 0;
        int page = 1;
        // The lines a page holds, measured on the first page: one and two lines apart.
        qsizetype perPage = 0;
        for (;;) {
            if (perPage == 0) {
                const double one = height(device, pageSize, page, 0, std::min<qsizetype>(1, count), false);
                const double two = height(device, pageSize, page, 0, std::min<qsizetype>(2, count), false);
                const double line = std::max(1.0, two - one);
                perPage = std::max<qsizetype>(1, qsizetype((pageSize.height() - one) / line) + 1);
            }
            qsizetype n = std::min(perPage, count - start);
            QTextDocument section;
            bool last = false;
            for (;;) {
                last = start + n == count;
                fill(section, device, pageSize, page, start, n, last);
                if (section.pageCount() <= 1 || n <= 1) break;
                // Too many for the page (a line that wraps, the totals): as many as the layout put
                // on the first page, and that many on the pages after.
                const qsizetype fit = linesOnFirstPage(section, pageSize.height());
                n = std::clamp<qsizetype>(fit, 1, n - 1);
                perPage = n;
            }
            addSection(section);
            if (last) break;
            start += n;
            ++page;
        }
    }

private:
    // The data lines of the page's longest table whose bottom lies on the first page.
    static qsizetype linesOnFirstPage(QTextDocument& section, double pageHeight) {
        QTextTable* table = nullptr;
        for (QTextFrame* frame : section.rootFrame()->childFrames())
            if (auto* t = qobject_cast<QTextTable*>(frame); t && (!table || t->rows() > table->rows())) table = t;
        if (!table) return 1;
        QAbstractTextDocumentLayout* layout = section.documentLayout();
        qsizetype fit = 0;
        for (int row = 1; row < table->rows(); ++row) {
            if (layout->blockBoundingRect(table->cellAt(row, 0).firstCursorPosition().block()).bottom() > pageHeight) break;
            ++fit;
        }
        return fit;
    }

    mstch::map lineContext(const ListLine& l) const {
        return mstch::map{{"name", str(l.name)},
                          {"reference", str(l.reference)},
                          {"received", str(l.received)},
                          {"status", str(l.status)},
                          {"phone", str(l.phone)},
                          {"identification", str(l.identification)},
                          {"cases", l.cases},
                          {"days", l.days},
                          {"note", str(l.note)},
                          {"amount", str(fmt_Currency(l.amount))},
                          {"paid", str(fmt_Currency(l.paid))},
                          {"balance", str(fmt_Currency(l.balance))}};
    }
    void fill(QTextDocument& section, QPaintDevice& device, QSizeF pageSize, int page, qsizetype start, qsizetype n,
              bool last) const {
        mstch::array rows;
        rows.reserve(size_t(n));
        for (qsizetype i = start; i < start + n; ++i) rows.emplace_back(lineContext(items[size_t(i)]));
        mstch::map context{{"title", str(title)},     {"printed", str(printed)}, {"page", page},
                           {"lines", std::move(rows)}, {"last", last},           {"totals", lineContext(totals)}};
        section.clear();
        prepareSection(section, device, pageSize);
        section.setHtml(QString::fromStdString(mstch::render(html, context)));
    }
    double height(QPaintDevice& device, QSizeF pageSize, int page, qsizetype start, qsizetype n, bool last) const {
        QTextDocument probe;
        QSizeF tall = pageSize;
        tall.setHeight(1e9);
        fill(probe, device, tall, page, start, n, last);
        return probe.size().height();
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
    for (const ListLine& l : doc->items) {
        doc->totals.cases += l.cases;
        doc->totals.amount += l.amount;
        doc->totals.paid += l.paid;
        doc->totals.balance += l.balance;
    }
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
    for (const ListLine& l : doc->items) {
        doc->totals.cases += l.cases;
        doc->totals.amount += l.amount;
        doc->totals.paid += l.paid;
        doc->totals.balance += l.balance;
    }
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
