#pragma once

#include "app/AppInfo.h"
#include "data/engine/Database.h"
#include "data/engine/EngineTestUtil.h"
#include "support/TestFixtures.h"

#include <QHash>
#include <initializer_list>
#include <utility>

// Tests of the data store: a program folder with a new empty database, and rows written through the
// engine so that the record operations under test read what another part of the program wrote.
class DataTest : public ProgramTest {
protected:
    using Fields = std::initializer_list<std::pair<const char*, Value>>;

    void TearDown() override { Database::releaseAll(); }

    // Adds a row to a table and returns its key (0 for a table without one).
    static qint64 addRow(const QString& table, Fields fields, const QString& keyField = QString()) {
        Recordset rs = Database::open(DatabasePath).openTable(table);
        rs.addNew();
        const qint64 key = keyField.isEmpty() ? 0 : rs.value(keyField).toLongLong();
        for (const auto& [name, value] : fields)
            rs.setValue(QString::fromLatin1(name), value);
        rs.update();
        return key;
    }

    static qint64 addCustomer(const QString& showAs, Fields more = {}) {
        const qint64 key =
            addRow(QStringLiteral("Address"), {{"ShowAs", Value(showAs)}}, QStringLiteral("CustomerID"));
        for (const auto& [name, value] : more)
            setField(QStringLiteral("Address"), key, name, value);
        return key;
    }

    static qint64 addCase(qint64 customer, bool open, Fields more = {}) {
        const qint64 key =
            addRow(QStringLiteral("Cases"), {{"CustomerID", Value(customer)}, {"CaseOpen", Value(open)}},
                   QStringLiteral("CaseID"));
        for (const auto& [name, value] : more)
            setField(QStringLiteral("Cases"), key, name, value);
        return key;
    }

    static void setField(const QString& table, qint64 key, const char* field, const Value& value) {
        Recordset rs = Database::open(DatabasePath).openTable(table);
        rs.setIndex(QStringLiteral("PrimaryKey"));
        rs.seek(QStringLiteral("="), Value(key));
        ASSERT_FALSE(rs.noMatch()) << table.toStdString() << " " << key;
        rs.edit();
        rs.setValue(QString::fromLatin1(field), value);
        rs.update();
    }

    // The rows of a table or query as seen by another program on the same file.
    static int countRows(const QString& source) {
        OtherSession raw(DatabasePath);
        return raw.text(QStringLiteral("SELECT COUNT(*) FROM \"%1\"").arg(source).toUtf8()).toInt();
    }

    // The first column of the first row of a query run by another program on the same file.
    static QString rawText(const QString& sql) {
        OtherSession raw(DatabasePath);
        return raw.text(sql.toUtf8().constData());
    }
};
