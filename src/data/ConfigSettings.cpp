#include "data/ConfigSettings.h"

#include "core/AppInfo.h"
#include "data/DatabaseProcs.h"
#include "data/engine/Database.h"

namespace {
// The setting, or Empty when it has no value.
Value read(const QString& field) {
    const Value v = data_vCheckDBValue(SettingsDatabasePath, QStringLiteral("Config"), field, QString(), Value(),
                                       {.nullAsMinus99 = true});
    if (v.kind() == Value::Kind::Integer && v.toLongLong() == NoValueMarker) return Value();
    return v;
}
} // namespace

std::optional<QString> config_Text(const QString& field) {
    const Value v = read(field);
    if (v.isEmpty()) return std::nullopt;
    return v.toString();
}

double config_Number(const QString& field) {
    const Value v = read(field);
    if (v.isEmpty() || !v.isNumeric()) return 0.0;
    return v.toDouble();
}

Money config_Money(const QString& field) {
    const Value v = read(field);
    if (v.isEmpty() || !v.isNumeric()) return Money();
    return v.toMoney();
}

bool config_Bool(const QString& field) {
    const Value v = read(field);
    if (v.isEmpty()) return false;
    if (v.kind() == Value::Kind::Text) return v.toString().compare(QLatin1String("True"), Qt::CaseInsensitive) == 0;
    return v.toDouble() != 0.0;
}

void config_Write(const QString& field, const Value& value) {
    data_vChangeDBValue(SettingsDatabasePath, QStringLiteral("Config"), field, value, QString(), Value());
}

void config_WriteAll(const QList<std::pair<QString, Value>>& values) {
    Database db = Database::open(SettingsDatabasePath);
    Recordset rs = db.openTable(QStringLiteral("Config"));
    if (rs.bof() && rs.eof())
        rs.addNew();
    else
        rs.edit();
    for (const auto& [name, value] : values) rs.setValue(name, value);
    rs.update();
}
