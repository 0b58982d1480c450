#pragma once

#include "core/Value.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

// The texts of the case screen's lists and customer block, and the reading of their rows.

struct CaseListLine {
    QString text;
    qint64 caseId = 0;
};

// A line of the case lookup: CaseID, tab, reference, tab, date received "mm/dd/yy", tab, three
// spaces, stage.
QString case_sSelectCaseLine(qint64 caseId, const QString& reference, const Value& dateReceived, const QString& stage);
// A line of the customer's cases: reference, tab, date received "mm/dd/yy", tab, tab, Open/Closed.
QString case_sCustomerCaseLine(const QString& reference, const Value& dateReceived, bool open);

// The lines of a case set (a Cases SQL text) for the lookup, in the order of orderBy, and for the
// customer's case list. The lookup reads its four columns in one pass.
QList<CaseListLine> case_ReadSelectCaseLines(const QString& databasePath, const QString& caseSql,
                                             const QString& orderBy);
QList<CaseListLine> case_ReadCustomerCaseLines(const QString& databasePath, const QString& sql);

// A customer of the case screen's picker: its item text and whether it has an open case.
struct PickerEntry {
    QString text;
    qint64 customerId = 0;
    bool openCase = false;
};
// The picker's customers, each once by the first row that names it: those without an open case first
// (q_CustomerListWithNoOpenCase's order), then those with one (q_CustomerListWithOpenCaseDetails's order);
// a customer with an open case is listed with it. Empty when both queries are empty.
QList<PickerEntry> case_ReadPickerEntries(const QString& databasePath);

// The criterion of a customer search: the field must be one of the customer table's fields (its own
// spelling is used); a number is compared as a number only in a numeric field; a text is quoted
// safely. Nothing when the field is not a customer field.
std::optional<QString> case_CustomerSearchCriterion(const QStringList& customerFields, const QString& field,
                                                    const QString& value);

// The picker's text for a customer, with or without an open case.
QString case_sPickerItemText(bool openCase, const Value& showAs, const Value& stage, const Value& stageDate);

// The customer block of the case screen, with carriage returns (13) alone as line breaks; field gives
// a field of the customer's row by name.
QString case_sCustomerTextBlock(const std::function<Value(const QString&)>& field);
