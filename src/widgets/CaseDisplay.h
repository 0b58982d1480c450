#pragma once

#include <QtGlobal>

class QWidget;

// What the screens that drive the case screen (the customer screen, the overview, the filter) may
// ask of it. The case screen implements it; those screens know nothing else of it.
class CaseDisplay {
public:
    // The window the driving screens open over.
    virtual QWidget* caseWindow() = 0;
    // Shows a customer handed back by the customer screen on closing, and a case of theirs; the case
    // on display is saved first when it has changes.
    virtual void showHandedBackCustomer(qint64 customerKey) = 0;
    // Shows a case with its customer; the case on display is saved first when it has changes (a
    // case that fails to save stays on display).
    virtual void showCase(qint64 caseKey) = 0;

protected:
    ~CaseDisplay() = default;
};
