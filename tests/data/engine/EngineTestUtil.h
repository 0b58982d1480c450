#pragma once

#include "core/AppError.h"
#include "core/Value.h"
#include "data/Find.h"
#include "data/engine/Database.h"
#include "support/TestFixtures.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <ostream>
#include <sqlite3.h>

// Lets GoogleTest show Values in failure messages.
inline void PrintTo(const Value& v, std::ostream* os) {
    *os << v.debugString().toStdString();
}

// A field of every row of a recordset, from the first.
inline QStringList column(Recordset& rs, const QString& field) {
    QStringList values;
    if (!rs.bof() || !rs.eof()) rs.moveFirst();
    for (; !rs.eof(); rs.moveNext())
        values.append(rs.value(field).toString());
    return values;
}

// A plain SQLite handle on a file, standing for another program that uses the same database.
class OtherSession {
public:
    explicit OtherSession(const QString& path) {
        sqlite3_open_v2(path.toUtf8().constData(), &m_db, SQLITE_OPEN_READWRITE, nullptr);
        find_RegisterSqlFunctions(m_db); // as the program's own connections
    }
    ~OtherSession() { sqlite3_close_v2(m_db); }
    OtherSession(const OtherSession&) = delete;
    OtherSession& operator=(const OtherSession&) = delete;

    int exec(const char* sql) { return sqlite3_exec(m_db, sql, nullptr, nullptr, nullptr); }
    // The first column of the first row as text ("" for none or NULL).
    QString text(const char* sql) {
        sqlite3_stmt* s = nullptr;
        QString result;
        if (sqlite3_prepare_v2(m_db, sql, -1, &s, nullptr) == SQLITE_OK && sqlite3_step(s) == SQLITE_ROW &&
            sqlite3_column_type(s, 0) != SQLITE_NULL)
            result = QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(s, 0)));
        sqlite3_finalize(s);
        return result;
    }

private:
    sqlite3* m_db = nullptr;
};

// A database in a temporary folder with the shape of the program's data file: customers, their cases
// (keyed, indexed by customer) and a Config table without a key.
class EngineFixture : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        path = dir.filePath("Data.db");
        db = Database::create(path);
        namespace F = FieldType;
        db.createTable("Customers",
                       {{"CustomerID", F::Long, 0, true}, {"LastName", F::Text, 30, false, false},
                        {"City", F::Text, 30},            {"Balance", F::Currency},
                        {"Active", F::Boolean, 0, false, true, Value(true)},
                        {"Since", F::Date},               {"Visits", F::Integer}, {"Notes", F::Memo}},
                       "CustomerID");
        db.createTable("Cases",
                       {{"CaseID", F::Long, 0, true}, {"CustomerID", F::Long}, {"Amount", F::Currency},
                        {"CaseOpen", F::Boolean},     {"Opened", F::Date}},
                       "CaseID");
        db.createIndex("CustomerID", "Cases", "CustomerID");
        db.createTable("Config", {{"CompanyName", FieldType::Text, 50}, {"NextCheck", FieldType::Long}});
    }

    void TearDown() override {
        db.close();
        Database::releaseAll();
    }

    // Adds a customer through a table recordset and returns the new key.
    qint64 addCustomer(const QString& last, const QString& city = QString(), double balance = 0.0) {
        Recordset rs = db.openTable("Customers");
        rs.addNew();
        rs.setValue("LastName", Value(last));
        if (!city.isEmpty()) rs.setValue("City", Value(city));
        rs.setValue("Balance", Value::currency(balance));
        rs.update();
        return rs.value("CustomerID").toLongLong();
    }

    void addCase(qint64 customer, double amount, bool open) {
        db.execute(QStringLiteral("INSERT INTO Cases (CustomerID, Amount, CaseOpen) VALUES (%1, %2, %3)")
                       .arg(customer).arg(Value::currency(amount).currencyScaled()).arg(int(open)));
    }

    QTemporaryDir dir;
    QString path;
    Database db;
};
