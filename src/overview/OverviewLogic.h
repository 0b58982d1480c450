#pragma once

#include "core/Money.h"

#include <QDate>
#include <QString>
#include <optional>
#include <deque>

// The open-case overview's query and rows, free of widgets.

// The case types of the overview by the index of their option.
enum class OverviewCaseType { Open = 0, Closed = 1, All = 2 };

// The overview query: every customer with the chosen cases, in the order of sortField (ShowAs,
// Stage or StageDate). Under All the customers without any case are in it too.
QString overview_sQuery(OverviewCaseType caseType, const QString& sortField);

// One row of the overview as read: a case with its customer, or (under All) a customer without any
// case. Texts are made from it only when a cell is shown.
struct OverviewRow {
    qint64 customerId = 0;
    bool hasCase = false; // false: a customer without any case; the case fields are empty
    qint64 caseId = 0;
    bool caseOpen = false;
    std::optional<QString> showAs;
    QString reference;
    std::optional<QString> stage;
    QDate stageDate;    // invalid when the case has none
    QDate dateReceived; // invalid when the case has none
    std::optional<Money> balanceOwed;
};

// The rows of an overview in order; they stay where they are while more are read.
using OverviewRows = std::deque<OverviewRow>;

// The cells of a row, left to right, named after the labels of a row.
enum OverviewColumn { ActiveCaseColumn, HLCustomerColumn, HLCaseColumn, CaseStageColumn, StageDateColumn,
                      OverviewColumnCount };
extern const char* const OverviewColumnNames[OverviewColumnCount];
// The two cells that open their row's case.
constexpr bool overview_bIsLink(int column) { return column == HLCustomerColumn || column == HLCaseColumn; }

// The customer cell: a space and the display name, " [no 'Show As' info]" without one; a text of more
// than 23 characters is cut to its first 21 and " ..".
QString overview_sCustomerText(const std::optional<QString>& showAs);
// The text and tooltip of a cell: "*" for an open case; a space before the reference, the stage and
// the stage date (mm/dd/yy), each empty when the case has no value; the stage's tooltip is the balance
// owed, the date's "Received: " and the date received. A customer without cases has only a name.
QString overview_sCellText(const OverviewRow& row, int column);
QString overview_sCellTip(const OverviewRow& row, int column);

// Runs the overview query on the database and reads every row, however many.
OverviewRows overview_ReadRows(const QString& databasePath, OverviewCaseType caseType,
                                           const QString& sortField);
