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

} // namespace

QString csv_sField(const QString& text) {
    static const QString special = QStringLiteral(",\"\r\n");
    if (std::none_of(text.begin(), text.end(), [](QChar c) { return special.contains(c); })) return text;
    QString quoted = text;
    quoted.replace(QLatin1Char('"'), QStringLiteral("\"\""));
    return QLatin1Char('"') + quoted + QLatin1Char('"');
}

int data_ExportCsv(const QString& databasePath, ExportSet set, const QString& currentSetSql, QIODevice& out,
                   const ExportProgress& progress) {
    Database db = Database::open(databasePath);
    const bool customers = set == ExportSet::Customers;
    QStringList names;
    QList<int> columns; // the columns of the SELECT that are written
    QString sql;
    if (customers) {
        const QStringList fields = db.fieldNames(QStringLiteral("Address"));
        for (int i = 0; i < fields.size(); ++i)
            if (!cardFields().contains(fields[i])) {
                names << fields[i];
                columns << i;
            }
        sql = QStringLiteral("SELECT * FROM Address ORDER BY ShowAs, CustomerID");
    } else {
        names << QStringLiteral("Customer");
        columns << 0;
        const QStringList fields = db.fieldNames(QStringLiteral("Cases"));
        for (int i = 0; i < fields.size(); ++i) {
            names << fields[i];
            columns << i + 1;
        }
        sql = QStringLiteral("SELECT Address.ShowAs, Cases.* FROM Cases LEFT JOIN Address ON Cases.CustomerID = "
                             "Address.CustomerID");
        if (set == ExportSet::OpenCases)
            sql += QStringLiteral(" WHERE Cases.CaseOpen = True");
        else if (set == ExportSet::CurrentSet)
            sql += QStringLiteral(" WHERE Cases.CaseID IN (SELECT CaseID FROM (") + currentSetSql +
                   QStringLiteral("))");
        sql += QStringLiteral(" ORDER BY Address.ShowAs, Cases.CaseID");
    }
    const int total = progress ? int( db.openDynaset(QStringLiteral("SELECT Count(*) AS N FROM (") + sql + QStringLiteral(")"))
                                     .value(QStringLiteral("N"))
                                     .toLongLong())
                               : 0;

    QString line;
    const auto writeLine = [&](const QStringList& fields) {
        line.clear();
        for (int i = 0; i < fields.size(); ++i) {
            if (i) line += QLatin1Char(',');
            line += csv_sField(fields[i]);
        }
        line += QStringLiteral("\r\n");
        out.write(line.toUtf8());
    };
    out.write("\xEF\xBB\xBF");
    writeLine(names);
    int done = 0;
    bool stopped = false;
    QStringList fields;
    db.readRows(sql, [&](const RowReader& row) {
        if (stopped) return;
        fields.clear();
        for (int column : std::as_const(columns)) fields << plain(row.value(column));
        writeLine(fields);
        ++done;
        if (progress && done % 500 == 0 && !progress(done, total)) stopped = true;
    });
    if (progress && !stopped) progress(done, total);
    return stopped ? -1 : done;
}
