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
    Recordset rs = Database::open(databasePath).openDynaset(sql);
    for (; !rs.eof(); rs.moveNext()) {
        FollowUpLine line;
        line.stage = rs.value(QStringLiteral("Stage")).toString();
        const Value stageDate = rs.value(QStringLiteral("StageDate"));
        // A date written into the file from outside that is no date cannot be aged.
        if (stageDate.kind() == Value::Kind::Text && !Value::parseDateTime(stageDate.toString())) continue;
        line.stageDate = stageDate.toDateTime();
        line.colour = case_StageColour(now, line.stageDate, line.stage);
        if (line.colour == StageColour::Normal) continue;
        line.caseId = rs.value(QStringLiteral("CaseID")).toLongLong();
        line.customerId = rs.value(QStringLiteral("CustomerID")).toLongLong();
        line.customer = rs.value(QStringLiteral("ShowAs")).toString();
        line.reference = rs.value(QStringLiteral("ReferenceNumber")).toString();
        line.daysWaiting = int(line.stageDate.date().daysTo(now.date()));
        line.balance = rs.value(QStringLiteral("BallanceOwed")).toMoney();
        line.nextStep = follow_sNextStep(line.stage);
        lines.append(line);
    }
    return lines;
}
