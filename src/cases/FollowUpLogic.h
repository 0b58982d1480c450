#pragma once

#include "cases/CaseLogic.h"
#include "core/Money.h"

#include <QDateTime>
#include <QList>
#include <QString>

// The follow-up worklist: the open cases whose stage has waited long enough to need the next step,
// by the ageing rule of the stage colours (more than 7 days yellow, more than 14 red, never the
// Collection stage), the longest waiting first.
struct FollowUpLine {
    qint64 caseId = 0;
    qint64 customerId = 0;
    QString customer;  // the display name
    QString reference;
    QString stage;
    QDateTime stageDate;
    int daysWaiting = 0;
    Money balance;
    QString nextStep;
    StageColour colour = StageColour::Normal;
};

// What follows a stage that has waited: "Second Notice due" after the first notice, and so on.
QString follow_sNextStep(const QString& stage);

// The worklist of the database at the given moment. One query reads only the open cases whose
// stage date is older than the rule's first limit; the rule itself decides each line.
QList<FollowUpLine> follow_ReadWorklist(const QString& databasePath, const QDateTime& now);
