#pragma once

#include <QString>

class QWidget;

// What the screens that drive the case screen (the customer screen, the filter, the open-case
// overview, the follow-up list) ask of it: the one way those screens reach it. The case screen
// implements it; they never see its class.
class CaseDisplay {
public:
    // The window the driving screens open over.
    virtual QWidget* caseWindow() = 0;

    // The SQL text of the current case set and the text of the view selector.
    virtual QString caseSetSql() const = 0;
    virtual QString caseViewText() const = 0;
    // Makes sql the case set, with the view selector showing viewText (which loads no set of its
    // own), then shows the first case of the set, or the empty state; a changed case on display is
    // saved first. When that case cannot be saved, or a new case is being taken in, nothing changes
    // and the result is false.
    virtual bool showCaseSet(const QString& sql, const QString& viewText) = 0;
    // Shows a case with its customer, saving a changed case on display first; false, with nothing
    // changed, under the same conditions as above.
    virtual bool showCase(qint64 caseKey, qint64 customerKey) = 0;
    // Shows a customer who has no case, the same way.
    virtual bool showCustomer(qint64 customerKey) = 0;
    // Shows a customer handed back by the customer screen on closing, and a case of theirs; the case
    // on display is saved first when it has changes.
    virtual void showHandedBackCustomer(qint64 customerKey) = 0;

protected:
    ~CaseDisplay() = default;
};
