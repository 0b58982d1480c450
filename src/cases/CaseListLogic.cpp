#include "cases/CaseListLogic.h"

#include "core/Format.h"
#include "data/DatabaseProcs.h"
#include "data/engine/Database.h"

#include <QSet>

namespace {
const QChar Tab(9);
const QChar CR(13);

bool present(const Value& v) { return !v.isNull() && !v.isEmpty() && !v.toString().isEmpty(); }

// A date of the lists; a value that is no date (written into the file from outside) shows empty, as the
// case itself shows it, rather than stopping the list.
QString shortDate(const Value& v) {
    if (v.isNull() || v.isEmpty()) return QString();
    if (v.kind() == Value::Kind::Text && !Value::parseDateTime(v.toString())) return QString();
    return fmt_Date(v.toDate(), QStringLiteral("mm/dd/yy"));
}

QList<CaseListLine> readLines(const QString& databasePath, const QString& sql,
                              const std::function<QString(const Recordset&)>& lineOf) {
    QList<CaseListLine> lines;
    Database db = Database::open(databasePath);
    Recordset rs = db.openDynaset(sql);
    for (; !rs.eof(); rs.moveNext())
        lines.append({lineOf(rs), rs.value(QStringLiteral("CaseID")).toLongLong()});
    return lines;
}
} // namespace

QString case_sSelectCaseLine(qint64 caseId, const QString& reference, const Value& dateReceived, const QString& stage) {
    return QString::number(caseId) + Tab + reference + Tab + shortDate(dateReceived) + Tab + QStringLiteral("   ") +
           stage;
}

QString case_sCustomerCaseLine(const QString& reference, const Value& dateReceived, bool open) {
    return reference + Tab + shortDate(dateReceived) + Tab + Tab +
           (open ? QStringLiteral("Open") : QStringLiteral("Closed"));
}

QList<CaseListLine> case_ReadSelectCaseLines(const QString& databasePath, const QString& caseSql,
                                             const QString& orderBy) {
    const QString sql = QStringLiteral("SELECT CaseID, ReferenceNumber, DateReceived, Stage FROM (") + caseSql +
                        QStringLiteral(") order by ") + orderBy;
    return readLines(databasePath, sql, [](const Recordset& rs) {
        return case_sSelectCaseLine(rs.value(QStringLiteral("CaseID")).toLongLong(),
                                    rs.value(QStringLiteral("ReferenceNumber")).toString(),
                                    rs.value(QStringLiteral("DateReceived")), rs.value(QStringLiteral("Stage")).toString());
    });
}

QList<CaseListLine> case_ReadCustomerCaseLines(const QString& databasePath, const QString& sql) {
    return readLines(databasePath, sql, [](const Recordset& rs) {
        const Value open = rs.value(QStringLiteral("CaseOpen"));
        return case_sCustomerCaseLine(rs.value(QStringLiteral("ReferenceNumber")).toString(),
                                      rs.value(QStringLiteral("DateReceived")),
                                      !open.isNull() && open.toBool());
    });
}

QList<PickerEntry> case_ReadPickerEntries(const QString& databasePath) {
    Database db = Database::open(databasePath);
    QSet<qint64> listed;
    const auto read = [&](const QString& query, bool openCase) {
        QList<PickerEntry> entries;
        Recordset rs = db.openDynaset(query);
        entries.reserve(rs.recordCount());
        for (; !rs.eof(); rs.moveNext()) {
            const qint64 key = rs.value(QStringLiteral("CustomerID")).toLongLong();
            if (listed.contains(key)) continue;
            listed.insert(key);
            const Value showAs = rs.value(QStringLiteral("ShowAs"));
            entries.append({openCase ? case_sPickerItemText(true, showAs, rs.value(QStringLiteral("Stage")),
                                                            rs.value(QStringLiteral("StageDate")))
                                     : case_sPickerItemText(false, showAs, Value(), Value()),
                            key, openCase});
        }
        return entries;
    };
    const QList<PickerEntry> withOpenCase = read(QStringLiteral("q_CustomerListWithOpenCaseDetails"), true);
    return read(QStringLiteral("q_CustomerListWithNoOpenCase"), false) + withOpenCase;
}

std::optional<QString> case_CustomerSearchCriterion(const QStringList& customerFields, const QString& field,
                                                    const QString& value) {
    const auto it = std::find_if(customerFields.begin(), customerFields.end(), [&](const QString& name) {
        return name.compare(field.trimmed(), Qt::CaseInsensitive) == 0;
    });
    if (it == customerFields.end()) return std::nullopt;
    const bool numericField = it->compare(QLatin1String("CustomerID"), Qt::CaseInsensitive) == 0 ||
                              it->compare(QLatin1String("NoMoreChecks"), Qt::CaseInsensitive) == 0;
    const bool number = Value(value).isNumeric() && !value.trimmed().isEmpty();
    if (numericField && !number) return QStringLiteral("False"); // matches nothing
    return data_SearchCriteria(*it, Value(value), !(numericField && number));
}

QString case_sPickerItemText(bool openCase, const Value& showAs, const Value& stage, const Value& stageDate) {
    if (!openCase) return present(showAs) ? showAs.toString() : QStringLiteral("   [no 'Show As' info]");
    const QString name = present(showAs) ? showAs.toString() + QStringLiteral("  |  ")
                                         : QStringLiteral("   [no 'Show As' info]    |  ");
    return name + stage.toString() + QStringLiteral("  |  ") + stageDate.toString();
}

QString case_sCustomerTextBlock(const std::function<Value(const QString&)>& field) {
    const auto has = [&](const char* name) { return present(field(QString::fromLatin1(name))); };
    const auto get = [&](const char* name) { return field(QString::fromLatin1(name)).toString(); };
    QString s;
    for (const char* part : {"Title", "FirstName", "Initial"})
        if (has(part)) s += get(part) + QLatin1Char(' ');
    if (has("LastName")) s += get("LastName");
    s += CR;
    if (has("CompanyName")) s += get("CompanyName") + CR;
    if (has("Address1")) s += get("Address1") + CR;
    if (has("Address2")) s += get("Address2") + CR;
    if (has("City")) s += get("City") + QStringLiteral(", ");
    if (has("StateOrProv")) s += get("StateOrProv") + QStringLiteral("   ");
    if (has("PostalCode")) s += get("PostalCode");
    s += CR;
    if (has("Country")) s += get("Country") + CR;
    if (has("Phone")) s += get("Phone") + QString(10, QLatin1Char(' '));
    if (has("Phone2")) s += get("Phone2") + QStringLiteral("   ");
    if (has("Extension")) s += QStringLiteral("Ext: ") + get("Extension");
    if (has("Fax")) s += CR + QStringLiteral("Fax: ") + get("Fax");
    if (has("Code") || has("Type")) s += CR;
    if (has("Code")) s += QStringLiteral("Code:  ") + get("Code") + QString(10, QLatin1Char(' '));
    if (has("Type")) s += QStringLiteral("Type:  ") + get("Type");
    if (has("Misc")) s += CR + get("Misc");
    if (has("Identification")) s += CR + QStringLiteral("ID:  ") + get("Identification");
    return s;
}
