// dunmark_bench [--customers N] [--cases M] [--runs R] [--folder PROGRAM_FOLDER] [--only GROUP]: times
// the record operations, a navigation step, the case screen's reading, the overview, the filter, the
// follow-up list, the CSV export, the cheque images screen, the memo pad and the printing on a program
// folder of sample data, each beside the same reading done with prepared SQLite statements on the same
// file in the same run, and prints medians and ratios.
#include "bench/SampleData.h"
#include "cases/FollowUpLogic.h"
#include "cases/frmCaseDetails.h"
#include "core/AppInfo.h"
#include "data/DatabaseProcs.h"
#include "data/Export.h"
#include "data/Find.h"
#include "data/NewDatabase.h"
#include "data/engine/Database.h"
#include "data/engine/Dialect.h"
#include "overview/FilterLogic.h"
#include "overview/OverviewModel.h"
#include "overview/frmFilter.h"
#include "overview/frmMain.h"
#include "reports/ReportArchiveLogic.h"
#include "reports/ReportLogic.h"
#include "screens/frmCheckImages.h"
#include "screens/frmMemoPad.h"
#include "widgets/FindBox.h"
#include "widgets/QtPlatform.h"

#include <QComboBox>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QImageReader>
#include <QLineEdit>
#include <QPainter>
#include <QPlainTextEdit>

#include <QApplication>
#include <QBuffer>
#include <QElapsedTimer>
#include <QLocale>
#include <QTemporaryDir>
#include <QTextStream>
#include <algorithm>
#include <chrono>
#include <functional>
#include <random>
#include <sqlite3.h>
#include <stdexcept>
#include <vector>

namespace {

QTextStream out(stdout);

using Clock = std::chrono::steady_clock;

double millisecondsOf(const std::function<void()>& work) {
    const auto start = Clock::now();
    work();
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

double median(std::vector<double> samples) {
    if (samples.empty()) return 0.0;
    std::sort(samples.begin(), samples.end());
    const size_t n = samples.size();
    return n % 2 ? samples[n / 2] : (samples[n / 2 - 1] + samples[n / 2]) / 2.0;
}

// ---- prepared statements on the same file, the yardstick

class RawDatabase {
public:
    explicit RawDatabase(const QString& path) {
        if (sqlite3_open_v2(path.toUtf8().constData(), &m_db, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK)
            throw std::runtime_error("cannot open the database for the raw statements");
        find_RegisterSqlFunctions(m_db); // the find index's triggers need it
        sqlite3_busy_timeout(m_db, 200);
    }
    ~RawDatabase() { sqlite3_close_v2(m_db); }
    RawDatabase(const RawDatabase&) = delete;
    RawDatabase& operator=(const RawDatabase&) = delete;
    sqlite3* handle() const { return m_db; }

private:
    sqlite3* m_db = nullptr;
};

class RawStatement {
public:
    RawStatement(const RawDatabase& db, const char* sql) {
        if (sqlite3_prepare_v3(db.handle(), sql, -1, SQLITE_PREPARE_PERSISTENT, &m_stmt, nullptr) !=
            SQLITE_OK)
            throw std::runtime_error(std::string("cannot prepare: ") + sqlite3_errmsg(db.handle()));
    }
    ~RawStatement() { sqlite3_finalize(m_stmt); }
    RawStatement(const RawStatement&) = delete;
    RawStatement& operator=(const RawStatement&) = delete;

    RawStatement& bind(int index, qint64 value) {
        sqlite3_bind_int64(m_stmt, index, value);
        return *this;
    }
    RawStatement& bind(int index, const QString& text) {
        const QByteArray utf8 = text.toUtf8();
        sqlite3_bind_text(m_stmt, index, utf8.constData(), int(utf8.size()), SQLITE_TRANSIENT);
        return *this;
    }
    bool step() {
        const int rc = sqlite3_step(m_stmt);
        if (rc == SQLITE_ROW) return true;
        if (rc != SQLITE_DONE) throw std::runtime_error(sqlite3_errmsg(sqlite3_db_handle(m_stmt)));
        return false;
    }
    void reset() { sqlite3_reset(m_stmt); }
    int columns() const { return sqlite3_column_count(m_stmt); }
    qint64 integer(int column) const { return sqlite3_column_int64(m_stmt, column); }
    // One column in the program's form: a number, or text as a QString.
    QVariant value(int column) const {
        switch (sqlite3_column_type(m_stmt, column)) {
        case SQLITE_INTEGER:
            return sqlite3_column_int64(m_stmt, column);
        case SQLITE_FLOAT:
            return sqlite3_column_double(m_stmt, column);
        case SQLITE_NULL:
            return QVariant();
        default:
            return QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(m_stmt, column)),
                                     sqlite3_column_bytes(m_stmt, column));
        }
    }
    // Reads every column of every row; the number of rows.
    int readAll() {
        int rows = 0;
        while (step()) {
            for (int c = 0; c < columns(); ++c)
                value(c);
            ++rows;
        }
        reset();
        return rows;
    }

private:
    sqlite3_stmt* m_stmt = nullptr;
};

// ---- the table of results

struct Row {
    QString what;
    double program = 0; // median, ms
    double raw = 0;     // median, ms
    QString target;
    bool met = true;
};

std::vector<Row> results;

void report(const QString& what, double program, double raw, const QString& target, bool met) {
    results.push_back({what, program, raw, target, met});
    out << "  " << what << ": " << QString::number(program, 'f', 4) << " ms (raw "
        << QString::number(raw, 'f', 4) << " ms)" << Qt::endl;
}

// Within three times the raw statements.
void reportRatio(const QString& what, const std::vector<double>& program, const std::vector<double>& raw) {
    const double p = median(program), r = median(raw);
    report(what, p, r, QStringLiteral("<= 3x raw"), r > 0 && p <= 3 * r);
}

void reportLimit(const QString& what, const std::vector<double>& program, const std::vector<double>& raw,
                 double limitMs) {
    const double p = median(program);
    report(what, p, median(raw), QStringLiteral("< %1 ms").arg(limitMs), p < limitMs);
}

void printTable() {
    out << Qt::endl;
    out << QStringLiteral("%1 %2 %3 %4  %5  %6")
               .arg(QStringLiteral("Operation (median)"), -46)
               .arg(QStringLiteral("Dunmark ms"), 12)
               .arg(QStringLiteral("Raw ms"), 10)
               .arg(QStringLiteral("Ratio"), 7)
               .arg(QStringLiteral("Target"), -12)
               .arg(QStringLiteral("Met"))
        << Qt::endl;
    out << QString(100, u'-') << Qt::endl;
    for (const Row& row : results) {
        out << QStringLiteral("%1 %2 %3 %4  %5  %6")
                   .arg(row.what, -46)
                   .arg(row.program, 12, 'f', 4)
                   .arg(row.raw, 10, 'f', 4)
                   .arg(row.raw > 0 ? QString::number(row.program / row.raw, 'f', 2) + u'x'
                                    : QStringLiteral("-"),
                        7)
                   .arg(row.target, -12)
                   .arg(row.met ? QStringLiteral("yes") : QStringLiteral("NO"))
            << Qt::endl;
    }
}

// ---- the benchmark

struct Options {
    int customers = 50000;
    int cases = 100000;
    int runs = 1000;
    QString only; // one group of timings (records, navigation, case, overview, followup, accessories, find, printing)
    QString folder; // a program folder to use (filled when it has no database yet) instead of a temporary one
};

bool parse(const QStringList& args, Options& o) {
    for (qsizetype i = 1; i < args.size(); ++i) {
        if (args[i] == QLatin1String("--folder") && i + 1 < args.size()) {
            o.folder = args[++i];
            continue;
        }
        if (args[i] == QLatin1String("--only") && i + 1 < args.size()) {
            o.only = args[++i];
            continue;
        }
        bool ok = false;
        const int value = i + 1 < args.size() ? args[i + 1].toInt(&ok) : 0;
        if (!ok || value <= 0) return false;
        if (args[i] == QLatin1String("--customers"))
            o.customers = value;
        else if (args[i] == QLatin1String("--cases"))
            o.cases = value;
        else if (args[i] == QLatin1String("--runs"))
            o.runs = value;
        else
            return false;
        ++i;
    }
    return true;
}

class Bench {
public:
    Bench(const Options& options, const RawDatabase& raw) : o(options), raw(raw), rng(20261206) {
        RawStatement open(raw, "SELECT CaseID FROM Cases WHERE CaseOpen = 1 ORDER BY CaseID");
        while (open.step())
            openKeys.push_back(open.integer(0));
    }

    qint64 anyCase() { return std::uniform_int_distribution<qint64>(1, o.cases)(rng); }
    // An open case that has another open case after it.
    qint64 anyOpenCase() {
        return openKeys[std::uniform_int_distribution<size_t>(0, openKeys.size() - 2)(rng)];
    }

    void recordOperations() {
        out << "Record operations (" << o.runs << " runs; writes and counts fewer)" << Qt::endl;
        std::vector<double> program, direct;

        RawStatement select(raw, "SELECT BallanceOwed FROM Cases WHERE CaseID = ?");
        for (int i = 0; i < o.runs; ++i) {
            const qint64 key = anyCase();
            program.push_back(millisecondsOf([&] {
                data_vCheckDBValue(DatabasePath, QStringLiteral("Cases"), QStringLiteral("BallanceOwed"),
                                   QStringLiteral("PrimaryKey"), Value(key));
            }));
            direct.push_back(millisecondsOf([&] {
                select.bind(1, key);
                if (select.step()) select.value(0);
                select.reset();
            }));
        }
        reportRatio(QStringLiteral("data_vCheckDBValue by key"), program, direct);

        program.clear();
        direct.clear();
        RawStatement update(raw, "UPDATE Cases SET CollectionContact = ? WHERE CaseID = ?");
        // Each write changes what the row holds: SQLite skips the disk for a row written with its own
        // content.
        const int writeRuns = std::max(5, o.runs / 5);
        for (int i = 0; i < writeRuns; ++i) {
            const qint64 key = anyCase(), rawKey = anyCase();
            const QString contact = QStringLiteral("Officer %1").arg(i);
            const QString rawContact = QStringLiteral("Raw officer %1").arg(i);
            program.push_back(millisecondsOf([&] {
                data_vChangeDBValue(DatabasePath, QStringLiteral("Cases"),
                                    QStringLiteral("CollectionContact"), Value(contact),
                                    QStringLiteral("PrimaryKey"), Value(key));
            }));
            direct.push_back(millisecondsOf([&] {
                update.bind(1, rawContact).bind(2, rawKey);
                update.step();
                update.reset();
            }));
        }
        reportRatio(QStringLiteral("data_vChangeDBValue by key"), program, direct);

        program.clear();
        direct.clear();
        const int countRuns = std::max(5, o.runs / 20);
        RawStatement count(raw, "SELECT COUNT(*) FROM Cases WHERE CaseOpen = 1");
        qint64 counted = 0, rawCounted = 0;
        for (int i = 0; i < countRuns; ++i) {
            program.push_back(millisecondsOf([&] {
                counted = data_lGetRecordCount(DatabasePath,
                                               QStringLiteral("Select * FROM Cases WHERE CaseOpen = True"));
            }));
            direct.push_back(millisecondsOf([&] {
                if (count.step()) rawCounted = count.integer(0);
                count.reset();
            }));
        }
        if (counted != rawCounted)
            out << "  ! the counts differ: " << counted << " and " << rawCounted << Qt::endl;
        reportRatio(QStringLiteral("data_lGetRecordCount (open cases)"), program, direct);
    }

    void navigationStep() {
        out << "Navigation step (" << o.runs << " runs)" << Qt::endl;
        std::vector<double> program, direct;
        RawStatement find(raw, "SELECT CaseID FROM Cases WHERE CaseOpen = 1 AND CaseID = ?");
        RawStatement next(raw,
                          "SELECT * FROM Cases WHERE CaseOpen = 1 AND CaseID > ? ORDER BY CaseID LIMIT 1");
        qint64 lastProgram = 0, lastRaw = 0;
        for (int i = 0; i < o.runs; ++i) {
            const qint64 key = anyOpenCase();
            program.push_back(millisecondsOf([&] {
                Database db = Database::open(DatabasePath);
                Recordset rs = db.openDynaset(QStringLiteral("Select * FROM Cases WHERE CaseOpen = True"));
                rs.findFirst(QStringLiteral("CaseID = ") + QString::number(key));
                rs.moveNext();
                for (int f = 0; f < rs.fieldCount(); ++f)
                    rs.value(rs.fieldName(f));
                lastProgram = rs.value(QStringLiteral("CaseID")).toLongLong();
            }));
            direct.push_back(millisecondsOf([&] {
                find.bind(1, key);
                const bool found = find.step();
                find.reset();
                if (!found) return;
                next.bind(1, key);
                if (next.step()) {
                    for (int c = 0; c < next.columns(); ++c)
                        next.value(c);
                    lastRaw = next.integer(0);
                }
                next.reset();
            }));
            if (lastProgram != lastRaw)
                out << "  ! the next cases differ: " << lastProgram << " and " << lastRaw << Qt::endl;
        }
        reportLimit(QStringLiteral("navigation step"), program, direct, 10);
    }

    void caseScreen() {
        out << "Case screen" << Qt::endl;
        const int screenRuns = 3;
        std::vector<double> program, direct;

        // Start-up: the lists, the settings, the open-case count, the first open case with its customer and
        // that customer's cases, and the picker (Form_Load fills it right after showing the first case, so
        // the whole of Form_Load is timed: an upper bound of the time to the first case).
        RawStatement finalResults(raw, "SELECT FinalResult FROM q_ListFinalResults");
        RawStatement checkTypes(raw, "SELECT CheckType FROM q_ListCheckTypes");
        RawStatement fields(raw, "SELECT name FROM pragma_table_info('Address')");
        RawStatement config(raw, "SELECT * FROM Config LIMIT 1");
        RawStatement openCount(raw, "SELECT COUNT(*) FROM Cases WHERE CaseOpen = 1");
        RawStatement firstOpen(raw, "SELECT * FROM Cases WHERE CaseOpen = 1 ORDER BY CaseID LIMIT 1");
        RawStatement customer(raw, "SELECT * FROM Address WHERE CustomerID = ?");
        RawStatement customerCases(raw, "SELECT * FROM Cases WHERE CustomerID = ? ORDER BY CaseID");
        RawStatement pickerOpen(raw, "SELECT * FROM q_CustomerListWithOpenCaseDetails");
        RawStatement pickerOthers(raw, "SELECT * FROM q_CustomerListWithNoOpenCase");
        const auto rawCase = [&](RawStatement& caseRow) {
            qint64 customerKey = 0;
            if (caseRow.step()) {
                for (int c = 0; c < caseRow.columns(); ++c)
                    caseRow.value(c);
                customerKey = caseRow.value(1).toLongLong();
            }
            caseRow.reset();
            customer.bind(1, customerKey).readAll();
            customerCases.bind(1, customerKey).readAll();
        };
        const auto rawPicker = [&] {
            pickerOpen.readAll();
            pickerOthers.readAll();
        };

        std::unique_ptr<frmCaseDetails> screen;
        for (int i = 0; i < screenRuns; ++i) {
            screen.reset();
            program.push_back(millisecondsOf([&] {
                screen = std::make_unique<frmCaseDetails>();
                screen->Form_Load();
            }));
            direct.push_back(millisecondsOf([&] {
                finalResults.readAll();
                checkTypes.readAll();
                fields.readAll();
                config.readAll();
                openCount.readAll();
                rawCase(firstOpen);
                rawPicker();
            }));
        }
        if (screen->caseKey() != openKeys.front())
            out << "  ! the first open case is " << openKeys.front() << ", the screen shows "
                << screen->caseKey() << Qt::endl;
        reportLimit(QStringLiteral("start-up (whole Form_Load)"), program, direct, 1000);

        // Next and Previous through the open cases.
        const int steps = std::clamp(o.runs / 10, 10, int(openKeys.size()) / 2 - 1);
        RawStatement nextOpen(
            raw, "SELECT * FROM Cases WHERE CaseOpen = 1 AND CaseID > ? ORDER BY CaseID LIMIT 1");
        RawStatement previousOpen(
            raw, "SELECT * FROM Cases WHERE CaseOpen = 1 AND CaseID < ? ORDER BY CaseID DESC LIMIT 1");
        for (int direction : {2, 1}) {
            program.clear();
            direct.clear();
            RawStatement& rawStep = direction == 2 ? nextOpen : previousOpen;
            for (int i = 0; i < steps; ++i) {
                const qint64 from = screen->caseKey();
                program.push_back(millisecondsOf([&] { screen->cmdCaseNavigate_Click(direction); }));
                direct.push_back(millisecondsOf([&] { rawCase(rawStep.bind(1, from)); }));
            }
            reportLimit(direction == 2 ? QStringLiteral("Next (open cases)")
                                       : QStringLiteral("Previous (open cases)"),
                        program, direct, 15);
        }
        if (screen->caseKey() != openKeys.front())
            out << "  ! back at " << screen->caseKey() << " instead of " << openKeys.front() << Qt::endl;

        // The customer picker.
        program.clear();
        direct.clear();
        for (int i = 0; i < screenRuns + 2; ++i) {
            program.push_back(millisecondsOf([&] { screen->func_PopulateCustomerList(); }));
            direct.push_back(millisecondsOf(rawPicker));
        }
        reportLimit(QStringLiteral("picker fill (func_PopulateCustomerList)"), program, direct, 400);

        // The lookup list of all cases.
        program.clear();
        direct.clear();
        RawStatement allCases(raw, "SELECT * FROM Cases ORDER BY CaseID");
        screen->sCaseSQL = screen->sAllCasesSQL;
        for (int i = 0; i < screenRuns + 2; ++i) {
            program.push_back(millisecondsOf([&] { screen->func_DisplayCases(QStringLiteral("CaseID")); }));
            direct.push_back(millisecondsOf([&] {
                while (allCases.step()) {
                    allCases.value(0);
                    allCases.value(3);
                    allCases.value(4);
                    allCases.value(5);
                }
                allCases.reset();
            }));
        }
        reportLimit(QStringLiteral("lookup list of all cases"), program, direct, 500);
    }

    // The overview: built and painted on opening (open cases), all cases, a re-sort; and a filter applied
    // with its first case shown. Each beside its query read raw (for the filter, its first case, that
    // case's customer and the customer's cases).
    void overviewAndFilter() {
        out << "Overview and filter" << Qt::endl;
        const int screenRuns = 5;
        frmCaseDetails screen;
        screen.Form_Load();
        std::vector<double> program, direct;
        const auto rawQuery = [&](OverviewCaseType type, const char* sort) {
            const QByteArray sql = translateSql(overview_sQuery(type, QString::fromLatin1(sort))).toUtf8();
            RawStatement query(raw, sql.constData());
            return millisecondsOf([&] { query.readAll(); });
        };
        const auto time = [&](const QString& what, const std::function<void()>& work, OverviewCaseType type,
                              const char* sort, double limit) {
            program.clear();
            direct.clear();
            for (int i = 0; i < screenRuns; ++i) {
                program.push_back(millisecondsOf(work));
                direct.push_back(rawQuery(type, sort));
            }
            reportLimit(what, program, direct, limit);
        };

        std::unique_ptr<frmMain> overview;
        time(QStringLiteral("overview opened (open cases, painted)"), [&] {
            overview = std::make_unique<frmMain>(screen);
            overview->Form_Load();
            overview->show();
            overview->grab();
        }, OverviewCaseType::Open, "ShowAs", 300);
        overview->optCaseType_Click(2);
        time(QStringLiteral("overview of all cases (painted)"), [&] {
            overview->optSort_Click(0);
            overview->grab();
        }, OverviewCaseType::All, "ShowAs", 300);
        time(QStringLiteral("re-sort of all cases by stage (painted)"), [&] {
            overview->optSort_Click(1);
            overview->grab();
        }, OverviewCaseType::All, "Stage", 300);
        const int rows = overview->model()->rowCount();
        RawStatement allRows(raw, translateSql(QStringLiteral("SELECT COUNT(*) FROM (") +
                                               overview_sQuery(OverviewCaseType::All, QStringLiteral("Stage")) +
                                               QStringLiteral(")")).toUtf8().constData());
        if (allRows.step() && allRows.integer(0) != rows)
            out << "  ! the overview has " << rows << " rows, the query " << allRows.integer(0) << Qt::endl;
        overview.reset();

        // The filter: the stage First Notice of the open cases.
        FilterChoices choices;
        choices.stage = QStringLiteral("First Notice");
        const QByteArray firstSql =
            (translateSql(filter_Build(choices).sql) + QStringLiteral(" ORDER BY CaseID LIMIT 1")).toUtf8();
        RawStatement first(raw, firstSql.constData());
        RawStatement customer(raw, "SELECT * FROM Address WHERE CustomerID = ?");
        RawStatement customerCases(raw, "SELECT * FROM Cases WHERE CustomerID = ?");
        program.clear();
        direct.clear();
        std::vector<double> opening;
        for (int i = 0; i < screenRuns; ++i) {
            screen.showCaseSet(screen.sOpenCasesSQL, QStringLiteral("Open Cases"));
            frmFilter filter(screen);
            opening.push_back(millisecondsOf([&] { filter.Form_Load(); }));
            filter.findChild<QComboBox*>(QStringLiteral("cboStage"))->setCurrentText(choices.stage);
            program.push_back(millisecondsOf([&] { filter.cmdOKEventFilter_Click(); }));
            direct.push_back(millisecondsOf([&] {
                qint64 customerKey = 0;
                if (first.step()) {
                    for (int c = 0; c < first.columns(); ++c)
                        first.value(c);
                    customerKey = first.value(1).toLongLong();
                }
                first.reset();
                customer.bind(1, customerKey).readAll();
                customerCases.bind(1, customerKey).readAll();
            }));
        }
        reportLimit(QStringLiteral("filter applied, first case shown"), program, direct, 100);
        RawStatement agencies(raw, "SELECT DISTINCT CollectionCompany FROM Cases");
        std::vector<double> rawAgencies;
        for (int i = 0; i < screenRuns; ++i) rawAgencies.push_back(millisecondsOf([&] { agencies.readAll(); }));
        reportRatio(QStringLiteral("filter dialog opened (its agencies)"), opening, rawAgencies);
        if (screen.sCaseSQL != filter_Build(choices).sql) out << "  ! the filter was not applied" << Qt::endl;
    }

    // The follow-up list read for today, and the export of every case to CSV, each beside its query read
    // raw (the export's raw side also formats nothing).
    void followUpAndExport() {
        out << "Follow-up list and export" << Qt::endl;
        const int runs = 5;
        const QDateTime now = QDateTime::currentDateTime();
        RawStatement dueCases(raw, translateSql(QStringLiteral(
            "SELECT Cases.CaseID, Cases.CustomerID, Address.ShowAs, Cases.ReferenceNumber, Cases.Stage, "
            "Cases.StageDate, Cases.BallanceOwed FROM Cases INNER JOIN Address ON Cases.CustomerID = "
            "Address.CustomerID WHERE Cases.CaseOpen = True AND Cases.Stage <> 'Collection' AND "
            "Cases.StageDate < #") + now.addDays(-7).toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")) +
            QStringLiteral("# ORDER BY Cases.StageDate, Cases.CaseID")).toUtf8().constData());
        std::vector<double> program, direct;
        qsizetype lines = 0;
        for (int i = 0; i < runs; ++i) {
            program.push_back(millisecondsOf([&] { lines = follow_ReadWorklist(DatabasePath, now).size(); }));
            direct.push_back(millisecondsOf([&] { dueCases.readAll(); }));
        }
        reportLimit(QStringLiteral("follow-up list (%1 lines)").arg(lines), program, direct, 150);

        RawStatement allCases(raw, "SELECT Address.ShowAs, Cases.* FROM Cases LEFT JOIN Address ON "
                                   "Cases.CustomerID = Address.CustomerID ORDER BY Address.ShowAs, Cases.CaseID");
        program.clear();
        direct.clear();
        for (int i = 0; i < 3; ++i) {
            QBuffer csv;
            csv.open(QIODevice::WriteOnly);
            program.push_back(millisecondsOf([&] {
                data_ExportCsv(DatabasePath, ExportSet::AllCases, {}, csv, [](int, int) { return true; });
            }));
            direct.push_back(millisecondsOf([&] { allCases.readAll(); }));
        }
        reportLimit(QStringLiteral("export of all cases to CSV"), program, direct, 2000);
    }

    // The cheque images screen on two 10-megapixel scans (beside reading both at full size, as a
    // screen that decodes first and scales afterwards would), and the memo pad's 1 MB round trip
    // (beside the same write and read through prepared statements).
    void accessories() {
        out << "Cheque images and memo pad" << Qt::endl;
        const int runs = 5;
        for (const char* file : {"bench-front.jpg", "bench-back.jpg"}) {
            QImage scan(3872, 2592, QImage::Format_RGB32); // 10 megapixels
            std::uniform_int_distribution<int> shade(0, 255);
            for (int y = 0; y < scan.height(); y += 16)
                for (int x = 0; x < scan.width(); x += 16)
                    scan.setPixel(x, y, qRgb(shade(rng), shade(rng), shade(rng)));
            QPainter(&scan).drawText(scan.rect(), Qt::AlignCenter, QStringLiteral("Pay to the order of"));
            scan.save(ChecksFolder + QLatin1String(file), "JPG", 90);
        }
        data_vChangeDBValue(DatabasePath, QStringLiteral("Cases"), QStringLiteral("CheckFrontImageFile"),
                            Value("bench-front.jpg"), QStringLiteral("PrimaryKey"), Value(qint64(1)));
        data_vChangeDBValue(DatabasePath, QStringLiteral("Cases"), QStringLiteral("CheckBackImageFile"),
                            Value("bench-back.jpg"), QStringLiteral("PrimaryKey"), Value(qint64(1)));
        std::vector<double> program, fullSize;
        for (int i = 0; i < runs; ++i) {
            program.push_back(millisecondsOf([&] {
                frmCheckImages screen;
                screen.lCaseID = 1;
                screen.Form_Load();
                if (!screen.showsPicture(0) || !screen.showsPicture(1)) out << "  ! a scan was not shown" << Qt::endl;
            }));
            fullSize.push_back(millisecondsOf([&] {
                for (const char* file : {"bench-front.jpg", "bench-back.jpg"})
                    QImageReader(ChecksFolder + QLatin1String(file)).read();
            }));
        }
        reportLimit(QStringLiteral("images screen opened on two 10 MP scans"), program, fullSize, 400);

        QString memo;
        while (memo.size() < (1 << 20)) memo += QStringLiteral("Call the bank about case %1 on Monday.\n").arg(memo.size());
        std::vector<double> memoRuns, rawMemo;
        RawStatement write(raw, "UPDATE Config SET Memo = ?");
        RawStatement read(raw, "SELECT Memo FROM Config");
        for (int i = 0; i < runs; ++i) {
            memoRuns.push_back(millisecondsOf([&] {
                frmMemoPad pad;
                pad.Form_Load();
                pad.txtMemo->setPlainText(memo + QString::number(i));
                pad.cmdExitMemo_Click();
                frmMemoPad again;
                again.Form_Load();
                if (again.txtMemo->toPlainText() != memo + QString::number(i)) out << "  ! the memo came back changed" << Qt::endl;
            }));
            rawMemo.push_back(millisecondsOf([&] {
                write.bind(1, memo + QString::number(i)).step();
                write.reset();
                read.readAll();
            }));
        }
        reportLimit(QStringLiteral("memo pad: 1 MB stored by Exit and shown again"), memoRuns, rawMemo, 1000);
    }

    // The printing: extraction, a notice and the list of every case, each to a PDF file, beside the
    // raw reading of their rows; and the memory the long list takes beyond what the process held.
    void printing() {
        out << "Printing" << Qt::endl;
        QFile::remove(report_sArchivePath());
        if (!QFile::copy(QStringLiteral(DUNMARK_BENCH_REPORT_ARCHIVE), report_sArchivePath()))
            throw std::runtime_error("cannot copy the report archive");
        std::vector<double> program, direct;
        RawStatement probe(raw, "SELECT 1");
        for (int i = 0; i < 5; ++i) {
            program.push_back(millisecondsOf([] { func_bExtractReports(); }));
            direct.push_back(millisecondsOf([&] { probe.readAll(); }));
        }
        reportLimit(QStringLiteral("templates extracted"), program, direct, 50);

        RawStatement reference(raw, "SELECT ReferenceNumber FROM Cases ORDER BY CaseID LIMIT 1 OFFSET 500");
        const QString ref = reference.step() ? reference.value(0).toString() : QString();
        reference.reset();
        RawStatement notice(raw, "SELECT * FROM Cases LEFT JOIN Address ON Cases.CustomerID = Address.CustomerID"
                                 " WHERE Cases.ReferenceNumber = ?");
        const QString pdf = ProgramFolder + QStringLiteral("/bench.pdf");
        const auto run = [&](const char* name, const QString& formula) {
            ReportControl r;
            r.ReportFileName = ReportsFolder + QString::fromLatin1(name);
            r.SelectionFormula = formula;
            r.Destination = ReportControl::ToFile;
            r.PrintFileName = pdf;
            r.run();
        };
        program.clear();
        direct.clear();
        for (int i = 0; i < 5; ++i) {
            program.push_back(millisecondsOf([&] { run("First Notice.rpt", report_sReferenceFormula(ref)); }));
            direct.push_back(millisecondsOf([&] { notice.bind(1, ref).readAll(); }));
        }
        reportLimit(QStringLiteral("first notice to PDF"), program, direct, 150);

        RawStatement all(raw, "SELECT Cases.ReferenceNumber, Cases.DateReceived, Cases.Stage, Cases.CaseOpen,"
                              " Cases.FinalResult, Cases.CheckAmount, Cases.AmountPaid, Cases.BallanceOwed,"
                              " Address.ShowAs FROM Cases LEFT JOIN Address ON Cases.CustomerID = Address.CustomerID"
                              " ORDER BY Address.ShowAs");
        const qint64 before = memoryKb("VmRSS:");
        QFile clear(QStringLiteral("/proc/self/clear_refs")); // starts the peak anew
        if (clear.open(QIODevice::WriteOnly)) clear.write("5");
        clear.close();
        program = {millisecondsOf([&] { run("All Bad Checks.rpt", QString()); })};
        const qint64 peak = memoryKb("VmHWM:");
        direct = {millisecondsOf([&] { all.readAll(); })};
        reportLimit(QStringLiteral("all bad checks to PDF"), program, direct, 10000);
        out << "  all bad checks: " << QFileInfo(pdf).size() / 1024 << " KB of PDF; peak memory "
            << (peak - before) / 1024 << " MB above the " << before / 1024 << " MB held before" << Qt::endl;
        QFile::remove(pdf);
    }

    // Find anything: each keystroke of typed words into the case screen's find box (the search, the list
    // filled and placed), beside the same FTS queries read raw; and a case save that changes an indexed
    // field, with the find triggers and without them.
    void findAnything() {
        out << "Find anything" << Qt::endl;
        frmCaseDetails screen;
        screen.Form_Load();
        screen.show();
        auto* box = screen.findChild<FindBox*>(QStringLiteral("txtFind"));
        RawStatement cases(raw, "SELECT Cases.* FROM FindCases JOIN Cases ON Cases.CaseID = FindCases.rowid "
                                "WHERE FindCases MATCH ? ORDER BY FindCases.rowid DESC LIMIT 8");
        RawStatement customers(raw, "SELECT Address.* FROM FindCustomers JOIN Address ON Address.CustomerID = "
                                    "FindCustomers.rowid WHERE FindCustomers MATCH ? ORDER BY FindCustomers.rowid "
                                    "DESC LIMIT 8");
        std::vector<double> program, direct, longest;
        int listed = 0;
        for (const char* word : {"smith", "rodriguez", "harbour", "1250", "$125.00", "(555) 12", "o'brien"}) {
            const QString typed = QString::fromLatin1(word);
            box->clear();
            for (qsizetype n = 1; n <= typed.size(); ++n) {
                const QString prefix = typed.left(n);
                program.push_back(millisecondsOf([&] { box->setText(prefix); }));
                listed += box->results()->rowCount();
                const QString phrase = QLatin1Char('"') + find_sFold(prefix) + QLatin1Char('"');
                direct.push_back(millisecondsOf([&] {
                    if (prefix.size() < FindIndexedLength) return;
                    cases.bind(1, phrase).readAll();
                    customers.bind(1, phrase).readAll();
                }));
            }
        }
        if (listed == 0) out << "  ! nothing was found" << Qt::endl;
        reportLimit(QStringLiteral("find box keystroke (median)"), program, direct, 30);
        std::vector<double> worst{*std::max_element(program.begin(), program.end())};
        reportLimit(QStringLiteral("find box keystroke (slowest)"), worst, {*std::max_element(direct.begin(), direct.end())}, 30);

        // A save that changes the check number, so that the find index is written each time.
        auto* check = screen.findChild<QLineEdit*>(QStringLiteral("txtCheckNum"));
        RawStatement update(raw, "UPDATE Cases SET CheckNumber = ? WHERE CaseID = ?");
        const int saveRuns = std::max(5, o.runs / 20);
        const auto saves = [&](const QString& what) {
            program.clear();
            direct.clear();
            for (int i = 0; i < saveRuns; ++i) {
                check->setText(QStringLiteral("%1%2").arg(what.size()).arg(i));
                program.push_back(millisecondsOf([&] { screen.func_SaveCase(false); }));
                direct.push_back(millisecondsOf([&] {
                    update.bind(1, QStringLiteral("R%1%2").arg(what.size()).arg(i)).bind(2, anyCase());
                    update.step();
                    update.reset();
                }));
            }
            reportLimit(what, program, direct, 100);
        };
        saves(QStringLiteral("case save (with the find triggers)"));
        Database db = Database::open(DatabasePath);
        for (const char* t : {"FindCases_Insert", "FindCases_Update", "FindCases_Delete"})
            db.execute(QStringLiteral("DROP TRIGGER %1").arg(QString::fromLatin1(t)));
        saves(QStringLiteral("case save (without them)"));
        // The file as it was: the index made and filled again, as the upgrade of an existing file does.
        const double build = millisecondsOf([&] {
            db.beginTrans();
            find_CreateIndex(db);
            db.commitTrans();
        });
        report(QStringLiteral("find index built (upgrade)"), build, 0, QStringLiteral("-"), true);
    }

private:
    static qint64 memoryKb(const char* field) {
        QFile status(QStringLiteral("/proc/self/status"));
        if (!status.open(QIODevice::ReadOnly)) return 0;
        for (const QByteArray& line : status.readAll().split('\n'))
            if (line.startsWith(field)) return line.mid(qsizetype(strlen(field))).trimmed().split(' ').value(0).toLongLong();
        return 0;
    }

    const Options& o;
    const RawDatabase& raw;
    std::mt19937_64 rng;
    std::vector<qint64> openKeys;
};

} // namespace

int main(int argc, char* argv[]) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));

    Options options;
    if (!parse(QCoreApplication::arguments(), options)) {
        QTextStream(stderr)
            << "usage: dunmark_bench [--customers N] [--cases M] [--runs R] [--folder PROGRAM_FOLDER] [--only GROUP]\n";
        return 2;
    }
    setPlatform(std::make_unique<QtPlatform>());

    QTemporaryDir folder;
    if (!folder.isValid()) {
        QTextStream(stderr) << "dunmark_bench: cannot make a temporary folder\n";
        return 1;
    }
    try {
        const QString programFolder = options.folder.isEmpty() ? folder.path() : options.folder;
        proc_SetProgramPaths(programFolder);
        if (data_MakeProgramFolder(programFolder)) {
            out << "Filling " << options.customers << " customers and " << options.cases << " cases ... "
                << Qt::flush;
            const double fill = millisecondsOf([&] {
                sample_Fill(DatabasePath, SampleSize{options.customers, options.cases, 20261206});
            });
            out << QString::number(fill / 1000.0, 'f', 1) << " s" << Qt::endl;
        } else {
            const RawDatabase existing(DatabasePath);
            RawStatement size(existing,
                              "SELECT (SELECT COUNT(*) FROM Address), (SELECT MAX(CaseID) FROM Cases)");
            if (size.step()) {
                options.customers = int(size.integer(0));
                options.cases = int(size.integer(1));
            }
            out << "Using " << DatabasePath << ": " << options.customers << " customers, cases up to "
                << options.cases << Qt::endl;
        }

        const RawDatabase raw(DatabasePath);
        Bench bench(options, raw);
        const std::pair<const char*, void (Bench::*)()> groups[] = {
            {"records", &Bench::recordOperations},  {"navigation", &Bench::navigationStep},
            {"case", &Bench::caseScreen},           {"overview", &Bench::overviewAndFilter},
            {"followup", &Bench::followUpAndExport}, {"accessories", &Bench::accessories},
            {"find", &Bench::findAnything},         {"printing", &Bench::printing}};
        for (const auto& [name, run] : groups)
            if (options.only.isEmpty() || options.only == QLatin1String(name)) (bench.*run)();
    } catch (const std::exception& e) {
        QTextStream(stderr) << "dunmark_bench: " << e.what() << "\n";
        return 1;
    }
    printTable();
    Database::releaseAll();
    return std::all_of(results.begin(), results.end(), [](const Row& r) { return r.met; }) ? 0 : 1;
}
