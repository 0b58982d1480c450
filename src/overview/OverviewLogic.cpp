#include "overview/OverviewLogic.h"

#include "core/Format.h"
#include "data/engine/Database.h"

#include <algorithm>
#include <vector>

const char* const OverviewColumnNames[OverviewColumnCount] = {"lblActiveCase", "lblHLCustomer", "lblHLCase",
                                                              "lblCaseStage", "lblStageDate"};

namespace {
bool present(const Value& v) { return !v.isNull() && !v.isEmpty(); }

QString shortDate(const QDate& date) { return fmt_Date(date, QStringLiteral("mm/dd/yy")); }
} // namespace

QString overview_sQuery(OverviewCaseType caseType, const QString& sortField) {
    QString sql = QStringLiteral(
        "SELECT DISTINCT Address.CustomerID, Address.ShowAs, Cases.CaseOpen, Cases.CaseID, Cases.ReferenceNumber,"
        " Cases.Stage, Cases.StageDate, Cases.DateReceived, Cases.BallanceOwed"
        " FROM Address LEFT JOIN Cases ON Address.CustomerID = Cases.CustomerID");
    if (caseType == OverviewCaseType::Open)
        sql += QStringLiteral(" Where Cases.CaseOpen = True");
    else if (caseType == OverviewCaseType::Closed)
        sql += QStringLiteral(" Where Cases.CaseOpen = False");
    return sql + QStringLiteral(" ORDER BY ") + sortField;
}

QString overview_sCustomerText(const std::optional<QString>& showAs) {
    if (!showAs) return QStringLiteral(" [no 'Show As' info]");
    const QString text = QLatin1Char(' ') + *showAs;
    return text.size() > 23 ? text.left(21) + QStringLiteral(" ..") : text;
}

QString overview_sCellText(const OverviewRow& row, int column) {
    if (column == HLCustomerColumn) return overview_sCustomerText(row.showAs);
    if (!row.hasCase) return QString();
    switch (column) {
    case ActiveCaseColumn: return row.caseOpen ? QStringLiteral("*") : QString();
    case HLCaseColumn: return QLatin1Char(' ') + row.reference;
    case CaseStageColumn: return row.stage ? QLatin1Char(' ') + *row.stage : QString();
    case StageDateColumn: return row.stageDate.isValid() ? QLatin1Char(' ') + shortDate(row.stageDate) : QString();
    default: return QString();
    }
}

QString overview_sCellTip(const OverviewRow& row, int column) {
    if (!row.hasCase) return QString();
    if (column == CaseStageColumn) return row.balanceOwed ? fmt_Currency(*row.balanceOwed) : QString();
    if (column == StageDateColumn) return QStringLiteral("Received: ") + shortDate(row.dateReceived);
    return QString();
}

OverviewRows overview_ReadRows(const QString& databasePath, OverviewCaseType caseType,
                                           const QString& sortField) {
    // The columns of the query by their place.
    enum { CustomerID, ShowAs, CaseOpen, CaseID, ReferenceNumber, Stage, StageDate, DateReceived, BallanceOwed };
    OverviewRows rows;
    // The few stage names share one text each, and the rows of one customer their name.
    std::vector<std::pair<QByteArray, QString>> stages;
    Database db = Database::open(databasePath);
    db.readRows(overview_sQuery(caseType, sortField), [&](const RowReader& r) {
        const OverviewRow* previous = rows.empty() ? nullptr : &rows.back();
        OverviewRow& row = rows.emplace_back();
        row.customerId = r.integer(CustomerID);
        if (previous && previous->customerId == row.customerId)
            row.showAs = previous->showAs;
        else if (!r.isNull(ShowAs))
            row.showAs = r.text(ShowAs);
        row.hasCase = !r.isNull(CaseID);
        if (!row.hasCase) return;
        row.caseId = r.integer(CaseID);
        const Value open = r.value(CaseOpen);
        row.caseOpen = present(open) && open.toBool();
        row.reference = r.text(ReferenceNumber);
        if (!r.isNull(Stage)) {
            const QByteArrayView stage = r.utf8(Stage);
            auto it = std::find_if(stages.begin(), stages.end(), [&](const auto& s) { return s.first == stage; });
            if (it == stages.end()) it = stages.insert(it, {stage.toByteArray(), r.text(Stage)});
            row.stage = it->second;
        }
        row.stageDate = r.date(StageDate);
        row.dateReceived = r.date(DateReceived);
        const Value balance = r.value(BallanceOwed);
        if (present(balance)) row.balanceOwed = balance.toMoney();
    });
    return rows;
}
