#include "data/Upgrade.h"

#include "core/ErrorHandling.h"
#include "core/Platform.h"
#include "data/Find.h"
#include "data/Schema.h"
#include "data/engine/Database.h"

#include <array>
#include <functional>

namespace {

const QString Module = QStringLiteral("Database.bas ! ");

struct TypeRow {
    std::array<const char*, 3> words; // the words accepted; unused places are null
    int code;
    const char* sqlWord;
    const char* displayWord; // null: the code is shown by a later row
};

// In the order in which the words are tested.
constexpr std::array<TypeRow, 10> TypeRows = {{
    {{"Number", nullptr, nullptr}, FieldType::Double, "DOUBLE", nullptr},
    {{"Yes/No", nullptr, nullptr}, FieldType::Boolean, "YESNO", "Yes/No"},
    {{"Date/Time", "Date", "Time"}, FieldType::Date, "DATETIME", "Date/Time"},
    {{"Double", nullptr, nullptr}, FieldType::Double, "DOUBLE", "Double"},
    {{"Integer", nullptr, nullptr}, FieldType::Integer, "INTEGER", "Integer"},
    {{"Single", nullptr, nullptr}, FieldType::Single, "Single", "Single"},
    {{"Currency", nullptr, nullptr}, FieldType::Currency, "Currency", "Currency"},
    {{"Memo", nullptr, nullptr}, FieldType::Memo, "MEMO", "Memo"},
    {{"Long", nullptr, nullptr}, FieldType::Long, "LONG", "Long"},
    {{"Text", nullptr, nullptr}, FieldType::Text, "TEXT", "Text"},
}};

// A value that reads as a date: a date, or a text written as one.
bool readsAsDate(const Value& value) {
    if (value.kind() == Value::Kind::Date) return true;
    return value.kind() == Value::Kind::Text && Value::parseDateTime(value.toString()).has_value();
}

// A field size as the 16-bit number the engine takes.
int fieldSize(int size) {
    if (size < -32768 || size > 32767) throw AppError(ErrNo::Overflow, QStringLiteral("Overflow"));
    return size;
}

bool hasFields(Database& db, const QString& table, const QStringList& fields) {
    if (!db.tableExists(table)) return false;
    const QStringList names = db.fieldNames(table);
    for (const QString& field : fields)
        if (!names.contains(field, Qt::CaseInsensitive)) return false;
    return true;
}

// Every part of the design that the upgrade brings.
bool hasCurrentDesign(Database& db) {
    if (!hasFields(db, QStringLiteral("Address"), {QStringLiteral("ShowAs"), QStringLiteral("Email")}))
        return false;
    if (!hasFields(db, QStringLiteral("Cases"), {QStringLiteral("BallanceOwed")})) return false;
    for (const SavedQuery& query : data_CustomerListQueries())
        if (!db.queryExists(query.name)) return false;
    return find_bHasIndex(db);
}

} // namespace

Value data_vDetermineFieldType(const Value& typeIn, bool asSqlWord) {
    ErrorGuard g(QStringLiteral("Utility.bas ! data_vDetermineFieldType"));
    Value result;
    g.run([&] {
        if (typeIn.isNumeric()) {
            const double code = typeIn.toDouble();
            for (const TypeRow& row : TypeRows) {
                if (row.displayWord && code == row.code) {
                    result = Value(QString::fromLatin1(row.displayWord));
                    return;
                }
            }
            return;
        }
        const QString word = typeIn.toString();
        for (const TypeRow& row : TypeRows) {
            for (const char* accepted : row.words) {
                if (!accepted || word != QLatin1String(accepted)) continue;
                result = asSqlWord ? Value(QString::fromLatin1(row.sqlWord)) : Value(row.code);
                return;
            }
        }
    });
    return result;
}

bool data_bAppendField(const QString& fieldName, const QString& typeWord, int size,
                       const QString& databasePath, const QString& tableName,
                       const AppendFieldOptions& options) {
    ErrorGuard g(Module + QStringLiteral("data_bAppendField"));
    Database db;
    FieldDef field;
    if (!g.run([&] {
            db = Database::open(databasePath);
            db.fieldNames(tableName); // the table's definition: 3078 when there is none
        }))
        return false;
    if (!g.run([&] {
            const Value code = data_vDetermineFieldType(Value(typeWord), false);
            field.name = fieldName;
            field.type = code.isEmpty() ? 0 : int(code.toLongLong());
            field.size = field.type == FieldType::Text ? fieldSize(size) : 0;
            // Only a Long field can number itself; a Text field of length 16 is just that.
            field.autoIncrement = size == 16 && field.type == FieldType::Long;
            if (options.allowZeroLength && (field.type == FieldType::Text || field.type == FieldType::Memo))
                field.allowZeroLength = *options.allowZeroLength;
            field.defaultValue = options.defaultValue;
        }))
        return false;

    bool added = false;
    g.setLocalHandler([&options](const AppError& e) -> std::optional<int> {
        if (e.number() != 3191) return std::nullopt;
        if (!options.quiet)
            msgBox(QStringLiteral("Field names must be unique. That field name already exists."),
                   Platform::Critical, QStringLiteral("Duplicate Field Name"));
        return ErrorActions::Leave;
    });
    if (!g.run([&] {
            db.appendField(tableName, field);
            added = true;
        }))
        return false;
    g.setLocalHandler({});
    if (!added) return false;

    // Every row there is gets the default, or a copy of the other field's date, in one unit.
    const auto forEveryRow = [&](const std::function<void(Recordset&)>& change) {
        db.beginTrans();
        try {
            Recordset rs = db.openDynaset(tableName);
            if (!(rs.bof() && rs.eof())) {
                rs.moveLast();
                rs.moveFirst();
            }
            while (!rs.eof()) {
                change(rs);
                rs.moveNext();
            }
            rs.close();
            db.commitTrans();
        } catch (...) {
            db.rollback();
            throw;
        }
    };
    if (options.defaultValue) {
        if (!g.run([&] {
                forEveryRow([&](Recordset& rs) {
                    rs.edit();
                    rs.setValue(fieldName, *options.defaultValue);
                    rs.update();
                });
            }))
            return added;
    }
    if (options.copyFromField) {
        g.run([&] {
            forEveryRow([&](Recordset& rs) {
                const Value from = rs.value(*options.copyFromField);
                if (!readsAsDate(from)) return;
                rs.edit();
                rs.setValue(fieldName, from);
                rs.update();
            });
        });
    }
    return added;
}

bool data_bAlterFieldName(const QString& databasePath, const QString& tableName, const QString& oldName,
                          const QString& newName) {
    ErrorGuard g(Module + QStringLiteral("data_bAlterFieldName"));
    g.setLocalHandler([](const AppError& e) -> std::optional<int> {
        if (e.number() == 3265) return ErrorActions::Leave;
        return std::nullopt;
    });
    bool renamed = false;
    g.run([&] {
        Database db = Database::open(databasePath);
        db.renameField(tableName, oldName, newName);
        renamed = true;
    });
    return renamed;
}

void data_CreateQuery(const QString& databasePath, const QString& queryName, const QString& sqlText) {
    ErrorGuard g(Module + QStringLiteral("data_CreateQuery"));
    Database db;
    if (!g.run([&] { db = Database::open(databasePath); })) return;
    // Only a missing query at the deletion is passed over.
    g.setLocalHandler([](const AppError& e) -> std::optional<int> {
        if (e.number() == 3265) return ErrorActions::GoOn;
        return std::nullopt;
    });
    if (!g.run([&] { db.deleteQuery(queryName); })) return;
    g.setLocalHandler({});
    g.run([&] { db.createQuery(queryName, sqlText); });
}

bool data_bHasFindIndex(const QString& databasePath) {
    ErrorGuard g(Module + QStringLiteral("data_bHasFindIndex"));
    bool has = false;
    g.run([&] {
        Database db = Database::open(databasePath);
        has = find_bHasIndex(db);
    });
    return has;
}

bool data_UpgradeDatabase(const QString& databasePath) {
    ErrorGuard g(Module + QStringLiteral("data_UpgradeDatabase"));
    Database db;
    bool begun = false;
    if (!g.run([&] {
            db = Database::open(databasePath);
            db.beginTrans();
            begun = true;
        }))
        return false;
    if (!begun) return false;

    AppendFieldOptions quietText;
    quietText.allowZeroLength = true;
    quietText.quiet = true;
    data_bAppendField(QStringLiteral("ShowAs"), QStringLiteral("Text"), 160, databasePath,
                      QStringLiteral("Address"), quietText);
    data_bAppendField(QStringLiteral("Email"), QStringLiteral("Text"), 50, databasePath,
                      QStringLiteral("Address"), quietText);
    data_bAlterFieldName(databasePath, QStringLiteral("Cases"), QStringLiteral("BalanceOwed"),
                         QStringLiteral("BallanceOwed"));
    for (const SavedQuery& query : data_CustomerListQueries())
        data_CreateQuery(databasePath, query.name, query.sql);
    // The find index, filled from the rows there are; made again whole when any part of it is missing.
    g.run([&] {
        if (!find_bHasIndex(db)) find_CreateIndex(db);
    });

    // Kept whole or not at all.
    bool kept = false;
    g.run([&] {
        if (!hasCurrentDesign(db)) return;
        db.commitTrans();
        kept = true;
    });
    if (!kept) g.run([&] { db.rollback(); });
    return kept;
}
