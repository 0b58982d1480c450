#include "data/Export.h"

#include "core/Money.h"
#include "core/Value.h"
#include "data/engine/Database.h"

#include <QIODevice>
#include <QSet>

namespace {

const QSet<QString>& cardFields() {
    static const QSet<QString> fields = {QStringLiteral("CCName"), QStringLiteral("NameOnCard"),
                                         QStringLiteral("CCNumber"), QStringLiteral("ExpDate"),
                                         QStringLiteral("Verification")};
    return fields;
}

QString plain(const Value& v) {
    switch (v.kind()) {
    case Value::Kind::Empty:
    case Value::Kind::Null: return QString();
    case Value::Kind::Boolean: return v.toBool() ? QStringLiteral("Yes") : QStringLiteral("No");
    case Value::Kind::Currency: return money_sPlain(v.toMoney());
    case Value::Kind::Date: {
        const QDateTime at = v.toDateTime();
        return at.time() == QTime(0, 0) ? at.date().toString(Qt::ISODate) : at.toString(Qt::ISODate);
    }
    default: return v.toString();
    }
}

// Writes a number, Yes/No or date column straight from the stored value, as plain() would write it;
// false for anything stored otherwise (that goes the long way through its Value).
bool appendPlain(QByteArray& line, const RowReader& row, int column) {
    if (row.isNull(column)) return true;
    switch (row.declaredKind(column)) {
    case Value::Kind::Boolean:
        if (!row.holdsInteger(column)) return false;
        line.append(row.integer(column) ? "Yes" : "No");
        return true;
    case Value::Kind::Integer:
        if (!row.holdsInteger(column)) return false;
        line.append(QByteArray::number(row.integer(column)));
        return true;
    case Value::Kind::Currency:
        if (!row.holdsInteger(column)) return false;
        line.append(money_sPlain(Money::fromUnits(row.integer(column))).toLatin1());
        return true;
    case Value::Kind::Date: {
        const QByteArrayView stored = row.storedDateTime(column);
        if (stored.isEmpty()) return false;
        line.append(stored.first(10));
        if (stored.sliced(11) != "00:00:00") line.append('T').append(stored.sliced(11));
        return true;
    }
    default: return false;
    }
}

} // namespace

namespace {

bool needsQuotes(QByteArrayView field) {
    return std::any_of(field.begin(), field.end(), [](char c) { return c == ',' || c == '"' || c == '\r' || c == '\n'; });
}

// Appends one field, quoted as RFC 4180 wants when it must be.
void appendField(QByteArray& line, QByteArrayView field) {
    if (!needsQuotes(field)) {
        line.append(field);
        return;
    }
    line.append('"');
    for (char c : field) {
        if (c == '"') line.append('"');
        line.append(c);
    }
    line.append('"');
}

} // namespace

QString csv_sField(const QString& text) {
    QByteArray field;
    appendField(field, text.toUtf8());
    return QString::fromUtf8(field);
}

int data_ExportCsv(const QString& databasePath, ExportSet set, const QString& currentSetSql, QIODevice& out,
                   const ExportProgress& progress) {
    Database db = Database::open(databasePath);
    const bool customers = set == ExportSet::Customers;
    QStringList names;
    QList<int> columns; // the columns of the SELECT that are written
    QString sql, countSql;
    if (customers) {
        const QStringList fields = db.fieldNames(QStringLiteral("Address"));
        for (int i = 0; i < fields.size(); ++i)
            if (!cardFields().contains(fields[i])) {
                names << fields[i];
                columns << i;
            }
        sql = QStringLiteral("SELECT * FROM Address ORDER BY ShowAs, CustomerID");
        countSql = QStringLiteral("SELECT Count(*) AS N FROM Address");
    } else {
        names << QStringLiteral("Customer");
        columns << 0;
        const QStringList fields = db.fieldNames(QStringLiteral("Cases"));
        for (int i = 0; i < fields.size(); ++i) {
            names << fields[i];
            columns << i + 1;
        }
        QString where;
        if (set == ExportSet::OpenCases)
            where = QStringLiteral(" WHERE Cases.CaseOpen = True");
        else if (set == ExportSet::CurrentSet)
            where = QStringLiteral(" WHERE Cases.CaseID IN (SELECT CaseID FROM (") + currentSetSql + QStringLiteral("))");
        sql = QStringLiteral("SELECT Address.ShowAs, Cases.* FROM Cases LEFT JOIN Address ON Cases.CustomerID = "
                             "Address.CustomerID") +
              where + QStringLiteral(" ORDER BY Address.ShowAs, Cases.CaseID");
        // Counted without the names and the order, which would cost as much as the export's own read.
        countSql = QStringLiteral("SELECT Count(*) AS N FROM Cases") + where;
    }
    const int total =
        progress ? int(db.openDynaset(countSql).value(QStringLiteral("N")).toLongLong()) : 0;

    // Lines are gathered and written in blocks; text columns go out as stored, without a QString.
    QByteArray block;
    const auto flush = [&](qsizetype atLeast) {
        if (block.size() < atLeast) return;
        out.write(block);
        block.truncate(0); // keeps its room for the next block
    };
    block.reserve(1 << 17);
    block.append("\xEF\xBB\xBF");
    for (int i = 0; i < names.size(); ++i) {
        if (i) block.append(',');
        appendField(block, names[i].toUtf8());
    }
    block.append("\r\n");
    int done = 0;
    bool stopped = false;
    db.readRows(sql, [&](const RowReader& row) {
        if (stopped) return;
        for (int i = 0; i < columns.size(); ++i) {
            if (i) block.append(',');
            const int column = columns[i];
            if (row.isTextColumn(column))
                appendField(block, row.utf8(column));
            else if (!appendPlain(block, row, column))
                appendField(block, plain(row.value(column)).toUtf8());
        }
        block.append("\r\n");
        flush(1 << 16);
        ++done;
        if (progress && done % 500 == 0 && !progress(done, total)) stopped = true;
    });
    flush(1);
    if (progress && !stopped) progress(done, total);
    return stopped ? -1 : done;
}
