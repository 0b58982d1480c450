#include "overview/FilterLogic.h"

#include "data/engine/Dialect.h"

namespace {
// A date bound as the dialect writes it: #mm/dd/yyyy 12:00:00 AM# or #mm/dd/yyyy 11:59:59 PM#,
// whatever the regional settings.
QString bound(const QDate& date, bool endOfDay) {
    return QStringLiteral("#") + QString::asprintf("%02d/%02d/%04d", date.month(), date.day(), date.year()) +
           (endOfDay ? QStringLiteral(" 11:59:59 PM#") : QStringLiteral(" 12:00:00 AM#"));
}
} // namespace

QString filter_sDateField(int dateField) {
    switch (dateField) {
    case 1: return QStringLiteral("DateReceived");
    case 2: return QStringLiteral("CheckDate");
    case 3: return QStringLiteral("StageDate");
    default: return QString();
    }
}

QString filter_sJoin(const QString& sql) {
    return sql.toLower().contains(QLatin1String("where")) ? QStringLiteral(" and ") : QStringLiteral(" where ");
}

FilterSet filter_Build(const FilterChoices& c) {
    FilterSet set{QStringLiteral("Select * FROM Cases"), QStringLiteral("All Cases")};
    QString& sql = set.sql;
    if (c.caseStatus == 1) {
        sql += QStringLiteral(" where CaseOpen = True");
        set.viewText = QStringLiteral("Open Cases");
    } else if (c.caseStatus == 2) {
        sql += QStringLiteral(" where CaseOpen = False");
        set.viewText = QStringLiteral("Closed Cases");
    }
    if (!c.stage.isEmpty() && c.stage != QLatin1String("All")) {
        sql += filter_sJoin(sql);
        sql += QStringLiteral("Stage = ") +
               (c.stage == QLatin1String("Unassigned") ? QStringLiteral("''") : sqlQuoteText(c.stage));
    }
    if (!c.collectionCompany.isEmpty()) {
        sql += filter_sJoin(sql);
        sql += QStringLiteral("CollectionCompany = ") + sqlQuoteText(c.collectionCompany);
    }
    if (c.partialPayment) {
        sql += filter_sJoin(sql);
        sql += QStringLiteral("AmountPaid > 0  and BallanceOwed > 0");
    }
    const QString field = filter_sDateField(c.dateField);
    if (!field.isEmpty()) {
        sql += filter_sJoin(sql);
        sql += field;
        switch (c.dateCondition) {
        case 1: sql += QStringLiteral(" >= ") + bound(c.from, false); break;
        case 2: sql += QStringLiteral(" <= ") + bound(c.from, true); break;
        case 3: sql += QStringLiteral("  Between ") + bound(c.from, false) + QStringLiteral(" And ") + bound(c.to, true); break;
        default: sql += QStringLiteral("  Between ") + bound(c.from, false) + QStringLiteral(" And ") + bound(c.from, true); break;
        }
    }
    return set;
}
