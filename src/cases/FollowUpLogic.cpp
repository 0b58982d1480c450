#include "cases/FollowUpLogic.h"

#include "data/engine/Database.h"
#include "data/engine/Dialect.h"

QString follow_sNextStep(const QString& stage) {
    const int index = int(std::find(StageNames.begin(), StageNames.end(), stage) - StageNames.begin());
    switch (index) {
    case 0: return QStringLiteral("First Notice due");
    case 1: return QStringLiteral("Second Notice due");
    case 2: return QStringLiteral("Final Notice due");
    case 3: return QStringLiteral("Send to collection?");
    case 5: return QStringLiteral("Ask the police for news");
    case 6: return QStringLiteral("Ask the attorney for news");
    default: return QStringLiteral("Follow up");
    }
}

QList<FollowUpLine> follow_ReadWorklist(const QString& databasePath, const QDateTime& now) {
    const QString sql =
        QStringLiteral("SELECT Cases.CaseID, Cases.CustomerID, Address.ShowAs, Cases.ReferenceNumber, "
                       "Cases.Stage, Cases.StageDate, Cases.BallanceOwed FROM Cases INNER JOIN Address ON "
                       "Cases.CustomerID = Address.CustomerID WHERE Cases.CaseOpen = True AND Cases.Stage <> ") +
        sqlQuoteText(StageNames[CollectionStage]) + QStringLiteral(" AND Cases.StageDate < #") +
        now.addDays(-7).toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")) +
        QStringLiteral("# ORDER BY Cases.StageDate, Cases.CaseID");
    QList<FollowUpLine> lines;
    const QDateTime nowOnTheClock(now.date(), now.time(), Qt::UTC);
    Database::open(databasePath).readRows(sql, [&](const RowReader& row) {
        const QString stage = row.text(4);
        const Value stageDate = row.value(5);
        // A date written into the file from outside that is no date cannot be aged.
        if (stageDate.kind() == Value::Kind::Text && !Value::parseDateTime(stageDate.toString())) return;
        const QDateTime at = stageDate.toDateTime();
        // Both moments are compared as the clock reads them; held as UTC they need no time zone
        // lookup for each of the many lines.
        const StageColour colour = case_StageColour(nowOnTheClock, QDateTime(at.date(), at.time(), Qt::UTC), stage);
        if (colour == StageColour::Normal) return;
        lines.append({row.integer(0), row.integer(1), row.text(2), row.text(3), stage, at,
                      int(at.date().daysTo(now.date())), row.value(6).toMoney(), follow_sNextStep(stage), colour});
    });
    return lines;
}
