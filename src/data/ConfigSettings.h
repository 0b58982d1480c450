#pragma once

#include "core/Value.h"

#include <QList>
#include <QString>
#include <optional>
#include <utility>

// Reading the settings of the one-row table Config (of SettingsDatabasePath). A setting without a
// value (a Null field, or no Config row yet) reads as nothing, 0 or False.
std::optional<QString> config_Text(const QString& field);
double config_Number(const QString& field);
Money config_Money(const QString& field);
bool config_Bool(const QString& field);
// Writes a setting (the first row is made when there is none).
void config_Write(const QString& field, const Value& value);
// Writes several settings as one change of the row (made when there is none): all of them or, when
// the write fails, none.
void config_WriteAll(const QList<std::pair<QString, Value>>& values);
