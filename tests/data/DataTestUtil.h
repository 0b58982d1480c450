#pragma once

#include "core/AppInfo.h"
#include "data/engine/Database.h"
#include "data/engine/EngineTestUtil.h"
#include "support/TestFixtures.h"

#include <initializer_list>
#include <utility>

// Tests of the data store: rows written through the engine, read back through the record operations
// and, as another program on the same file sees them, through a second SQLite connection.
class DataTest : public ProgramTest {
protected:
    using Fields = std::initializer_list<std::pair<const char*, Value>>;

    void TearDown() override { Database::releaseAll(); }

    // Adds a row and returns its key.
    static qint64 addRow(const QString& table, const QString& keyField, Fields fields, Fields more = {}) {
        Recordset rs = Database::open(DatabasePath).openTable(table);
        rs.addNew();
        const qint64 key = rs.value(keyField).toLongLong();
        for (Fields list : {fields, more})
            for (const auto& [name, value] : list)
                rs.setValue(QString::fromLatin1(name), value);
        rs.update();
        return key;
    }
    static qint64 addCustomer(const QString& showAs, Fields more = {}) {
        return addRow("Address", "CustomerID", {{"ShowAs", Value(showAs)}}, more);
    }
    static qint64 addCase(qint64 customer, bool open, Fields more = {}) {
        return addRow("Cases", "CaseID", {{"CustomerID", Value(customer)}, {"CaseOpen", Value(open)}}, more);
    }

    // The first column of the first row of a query run by another program on the same file.
    static QString rawText(const QString& sql) {
        return OtherSession(DatabasePath).text(sql.toUtf8().constData());
    }
    static int countRows(const QString& source) {
        return rawText(QStringLiteral("SELECT COUNT(*) FROM \"%1\"").arg(source)).toInt();
    }
};
