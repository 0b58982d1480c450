#pragma once

#include "core/AppInfo.h"
#include "data/DatabaseProcs.h"
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

    // A field of the case whose index value is key, as the record operations read it.
    static Value caseValue(const char* field, const Value& key, CheckOptions options = {},
                           const char* index = "PrimaryKey") {
        return data_vCheckDBValue(DatabasePath, "Cases", field, index, key, options);
    }

    // Writes a field of that case (of the first row without an index name), as the record operations do.
    static Value caseChange(const char* field, const Value& value, const Value& key,
                            const char* index = "PrimaryKey") {
        return data_vChangeDBValue(DatabasePath, "Cases", field, value, index, key);
    }

    // The items listed from a field of a table or query, each as its text or "text:item data".
    static QStringList listed(const QString& source, const QString& field, const QString& keyField = {}) {
        QStringList out;
        for (const ListItem& item : data_ListingItems(DatabasePath, source, field, keyField))
            out << item.text + (item.hasItemData ? ":" + QString::number(item.itemData) : QString());
        return out;
    }

    // The first column of the first row of a query run by another program on the same file.
    static QString rawText(const QString& sql) {
        return OtherSession(DatabasePath).text(sql.toUtf8().constData());
    }
    static int countRows(const QString& source) {
        return rawText(QStringLiteral("SELECT COUNT(*) FROM \"%1\"").arg(source)).toInt();
    }
};
