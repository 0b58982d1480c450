#include "data/DatabaseProcs.h"

#include "core/ErrorHandling.h"
#include "core/Platform.h"
#include "core/Utilities.h"
#include "data/engine/Database.h"

namespace {

const QString Module = QStringLiteral("Database.bas ! ");

// The locked-file rule of the reading and changing operations: a file in use is tried four times in
// all, three seconds apart; then the user is told and the operation ends without a result. The count
// belongs to one call of the operation.
ErrorGuard::LocalHandler lockRetry(const QString& procedure, Value& result) {
    return [procedure, &result, tries = 0](const AppError& e) mutable -> std::optional<int> {
        if (e.number() != 3045 && e.number() != 3050) return std::nullopt;
        if (tries < 3) {
            ++tries;
            util_Wait(3);
            return ErrorActions::Retry;
        }
        const QChar cr(13);
        msgBox(procedure + cr + QStringLiteral("Could not complete function. File was in use.") + cr + cr +
                   QStringLiteral("This may not be a concern. But, if appropriate, cancel and/or redo the function."),
               Platform::Exclamation, QStringLiteral("Locked Database File"));
        result = Value();
        return ErrorActions::Leave;
    };
}

// An SQL text begins with the word SELECT; a table or query name may merely begin with those letters.
bool isSqlText(const QString& source) {
    const QString text = source.trimmed();
    const QLatin1String select("select");
    if (!text.startsWith(select, Qt::CaseInsensitive)) return false;
    return text.size() == select.size() ||
           !(text[select.size()].isLetterOrNumber() || text[select.size()] == u'_');
}

QList<ListItem> readItems(const QString& procedure, const QString& databasePath, const QString& source,
                          const QString& fieldName, const QString& itemDataField) {
    ErrorGuard g(Module + procedure);
    QList<ListItem> items;
    Database db;
    Recordset rs;
    if (!g.run([&] {
            db = Database::open(databasePath);
            rs = db.openDynaset(source);
        }))
        return items;
    while (!rs.eof()) {
        if (!g.run([&] {
                const Value v = rs.value(fieldName);
                if (v.isNull()) return;
                ListItem item{v.toString()};
                if (!itemDataField.isEmpty()) {
                    const Value data = rs.value(itemDataField);
                    item.itemData = data.isNull() ? 0 : data.toLongLong();
                    item.hasItemData = true;
                }
                items.append(item);
            }))
            break;
        if (!g.run([&] { rs.moveNext(); })) break;
    }
    return items;
}

// Seeks the keyed row when an index is named, as a step of the operation's guard: nothing when the
// operation is to leave, else whether the set is on a row (always so without an index name).
std::optional<bool> seekKey(ErrorGuard& g, Recordset& rs, const QString& indexName, const Value& key) {
    if (indexName.isEmpty()) return true;
    bool found = true;
    if (!g.run([&] {
            rs.setIndex(indexName);
            rs.seek(QStringLiteral("="), key);
            found = !rs.noMatch();
        }))
        return std::nullopt;
    return found;
}

} // namespace

Value data_vCheckDBValue(const QString& databasePath, const QString& tableName, const QString& fieldName,
                         const QString& indexName, const Value& keyValue, const CheckOptions& options) {
    Value result;
    ErrorGuard g(Module + QStringLiteral("data_vCheckDBValue"));
    g.setLocalHandler(lockRetry(QStringLiteral("data_vCheckDBValue"), result));
    Database db;
    Recordset rs;
    if (!g.run([&] {
            db = Database::open(databasePath);
            rs = options.useDynaset ? db.openDynaset(tableName) : db.openTable(tableName);
        }))
        return result;
    const std::optional<bool> found = seekKey(g, rs, indexName, keyValue);
    if (!found) return result;
    if (!*found) return options.notFoundAsEmpty ? Value(QString()) : Value(NoValueMarker);
    g.run([&] {
        const Value v = rs.value(fieldName);
        if (v.isNull())
            result = options.nullAsMinus99 ? Value(NoValueMarker) : Value(QString());
        else if (options.zeroAsMinus99 && v.isNumeric() && v.toDouble() == 0)
            result = Value(NoValueMarker);
        else
            result = v;
    });
    return result;
}

Value data_vChangeDBValue(const QString& databasePath, const QString& tableName, const QString& fieldName,
                          const Value& newValue, const QString& indexName, const Value& keyValue) {
    Value result;
    ErrorGuard g(Module + QStringLiteral("data_vChangeDBValue"));
    g.setLocalHandler(lockRetry(QStringLiteral("data_vChangeDBValue"), result));
    Database db;
    Recordset rs;
    if (!g.run([&] {
            db = Database::open(databasePath);
            rs = db.openTable(tableName);
        }))
        return result;
    const std::optional<bool> found = seekKey(g, rs, indexName, keyValue);
    if (!found) return result;
    if (!*found) return Value(QStringLiteral("NoMatch"));
    if (!g.run([&] {
            if (rs.bof() && rs.eof())
                rs.addNew();
            else
                rs.edit();
        }))
        return result;
    if (!g.run([&] { rs.setValue(fieldName, newValue); })) return result;
    if (!g.run([&] { rs.update(); })) return result;
    result = Value(QString());
    return result;
}

void data_DeleteRecord(const QString& databasePath, const QString& tableName, const QString& indexName,
                       const Value& keyValue, bool quiet) {
    ErrorGuard g(Module + QStringLiteral("data_DeleteRecord"));
    Database db;
    Recordset rs;
    bool found = false;
    if (!g.run([&] {
            db = Database::open(databasePath);
            rs = db.openTable(tableName);
            if (!indexName.isEmpty()) {
                rs.setIndex(indexName);
                rs.seek(QStringLiteral("="), keyValue);
                found = !rs.noMatch();
            } else {
                found = !(rs.bof() && rs.eof());
            }
        }))
        return;
    if (!found) {
        if (!quiet)
            msgBox(QStringLiteral("Couldn't delete the record. It wasn't found. Report this error."), Platform::Critical,
                   QStringLiteral("Unexpected Error"));
        return;
    }
    g.run([&] { rs.remove(); });
}

bool data_bDeleteSpecificRecordsInTable(const QString& databasePath, const QString& sqlText) {
    ErrorGuard g(Module + QStringLiteral("data_bDeleteSpecificRecordsInTable"));
    return g.runWhole([&] {
        Database db = Database::open(databasePath);
        db.execute(sqlText, true);
    });
}

QList<ListItem> data_ListingItems(const QString& databasePath, const QString& sourceName, const QString& fieldName,
                                  const QString& itemDataField) {
    return readItems(QStringLiteral("data_PopulateListingCombo"), databasePath, sourceName, fieldName, itemDataField);
}

QList<ListItem> data_DistinctListingItems(const QString& databasePath, const QString& tableName,
                                          const QString& fieldName, const QString& itemDataField) {
    return readItems(QStringLiteral("data_PopulateListingCombo"), databasePath,
                     QStringLiteral("SELECT DISTINCT ") + fieldName + QStringLiteral(" FROM ") + tableName +
                         QStringLiteral(";"),
                     fieldName, itemDataField);
}

QString data_SearchCriteria(const QString& fieldName, const Value& value, bool isText) {
    if (!isText) return fieldName + QStringLiteral(" = ") + value.toString();
    QString text = value.toString();
    text.replace(QLatin1Char('"'), QStringLiteral("\"\""));
    return fieldName + QStringLiteral(" = \"") + text + QLatin1Char('"');
}

QStringList data_FieldNames(const QString& databasePath, const QString& tableName) {
    ErrorGuard g(Module + QStringLiteral("data_PopulateListingWithFieldNames"));
    QStringList names;
    g.run([&] {
        Database db = Database::open(databasePath);
        names = db.fieldNames(tableName);
    });
    return names;
}

bool data_sGetFieldName(const QString& databasePath, const QString& tableName, const QString& fieldName) {
    ErrorGuard g(Module + QStringLiteral("data_sGetFieldName"));
    g.setLocalHandler([](const AppError& e) -> std::optional<int> {
        if (e.number() == 3078 || e.number() == 3265) return ErrorActions::Leave;
        return std::nullopt;
    });
    bool exists = false;
    g.run([&] {
        Database db = Database::open(databasePath);
        exists = db.fieldNames(tableName).contains(fieldName, Qt::CaseInsensitive);
    });
    return exists;
}

qint64 data_lGetRecordCount(const QString& databasePath, const QString& sourceName) {
    ErrorGuard g(Module + QStringLiteral("data_lGetRecordCount"));
    qint64 count = 0;
    g.run([&] {
        // Counted by the engine: the rows themselves are never read.
        QString inner = sourceName.trimmed();
        while (inner.endsWith(QLatin1Char(';'))) inner.chop(1);
        const QString source = isSqlText(inner) ? QStringLiteral("(") + inner + QStringLiteral(")")
                                                : QLatin1Char('[') + inner + QLatin1Char(']');
        Database db = Database::open(databasePath);
        Recordset rs = db.openDynaset(QStringLiteral("SELECT COUNT(*) AS RecordCount FROM ") + source);
        count = rs.value(QStringLiteral("RecordCount")).toLongLong();
    });
    return count;
}

bool data_bIsRecordsetEmpty(const Recordset& recordSet) { return recordSet.bof() && recordSet.eof(); }
