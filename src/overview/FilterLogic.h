#pragma once

#include <QDate>
#include <QString>

// The case filter's choices and the case set they make, free of widgets.

// The choices of the filter dialog, by the indexes of its options; the defaults are the dialog's
// starting choices.
struct FilterChoices {
    int caseStatus = 1;          // 0 All, 1 Open, 2 Closed
    QString stage = QStringLiteral("All"); // "All", "Unassigned" or a stage name
    QString collectionCompany{}; // "" for any agency
    bool partialPayment = false; // only cases paid in part
    int dateField = 0;           // 0 no date condition, 1 DateReceived, 2 CheckDate, 3 StageDate
    int dateCondition = 0;       // 0 on the day, 1 on and after, 2 on and before, 3 from .. to
    QDate from{};
    QDate to{};
};

// The case set of a filter: its SQL text over Cases and the view selector's text for it.
struct FilterSet {
    QString sql;
    QString viewText;
};

// The field of a date condition by the index of its option (1 to 3); "" for 0.
QString filter_sDateField(int dateField);
// What comes before the next condition of a case-set text: " and " once it has a where clause,
// else " where ".
QString filter_sJoin(const QString& sql);
// The case set of the choices. Stage and agency texts are quoted (a single quote in them is
// doubled), so any value finds exactly its own cases; the date bounds take in the whole first and
// last day.
FilterSet filter_Build(const FilterChoices& choices);
