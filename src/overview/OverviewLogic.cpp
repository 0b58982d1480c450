#include "overview/OverviewLogic.h"

#include "data/engine/Database.h"
#include "util/Format.h"

#include <QHash>

const char* const OverviewColumnNames[OverviewColumnCount] = {"lblActiveCase", "lblHLCustomer", "lblHLCase",
                                                              "lblCaseStage", "lblStageDate"};

namespace {
bool present(const Value& v) { return !v.isNull() && !v.isEmpty(); }

std::optional<QString> textOf(const Value& v) {
    if (!present(v)) return std::nullopt;
    return v.toString();
}

QDate dateOf(const Value& v) { return present(v) ? v.toDate() : QDate(); }

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

std::vector<OverviewRow> overview_ReadRows(const QString& databasePath, OverviewCaseType caseType,
                                           const QString& sortField) {
    Database db = Database::open(databasePath);
    Recordset rs = db.openDynaset(overview_sQuery(caseType, sortField));
    std::vector<OverviewRow> rows;
    rows.reserve(size_t(rs.recordCount()));
    // The few stage names share one text each.
    QHash<QString, QString> stages;
    for (; !rs.eof(); rs.moveNext()) {
        OverviewRow row;
        row.customerId = rs.value(QStringLiteral("CustomerID")).toLongLong();
        row.showAs = textOf(rs.value(QStringLiteral("ShowAs")));
        const Value caseId = rs.value(QStringLiteral("CaseID"));
        row.hasCase = present(caseId);
        if (row.hasCase) {
            row.caseId = caseId.toLongLong();
            const Value open = rs.value(QStringLiteral("CaseOpen"));
            row.caseOpen = present(open) && open.toBool();
            row.reference = rs.value(QStringLiteral("ReferenceNumber")).toString();
            if (auto stage = textOf(rs.value(QStringLiteral("Stage")))) {
                auto it = stages.constFind(*stage);
                if (it == stages.cend()) it = stages.insert(*stage, *stage);
                row.stage = *it;
            }
            row.stageDate = dateOf(rs.value(QStringLiteral("StageDate")));
            row.dateReceived = dateOf(rs.value(QStringLiteral("DateReceived")));
            const Value balance = rs.value(QStringLiteral("BallanceOwed"));
            if (present(balance)) row.balanceOwed = balance.toMoney();
        }
        rows.push_back(std::move(row));
    }
    return rows;
}
