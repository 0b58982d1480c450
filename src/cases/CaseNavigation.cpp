// Moving between cases and customers: the record loaders, the navigation buttons, the customer's
// case list, the case lookup, the view selector with its flash, and the customer search.
#include "cases/CaseListLogic.h"
#include "cases/frmCaseDetails.h"
#include "core/AppInfo.h"
#include "core/ErrorHandling.h"
#include "core/Platform.h"
#include "core/Scoped.h"
#include "data/DatabaseProcs.h"
#include "data/RecordNavigation.h"
#include "data/engine/Database.h"
#include "ui_frmCaseDetails.h"
#include "widgets/WidgetUtilities.h"

#include <QApplication>
#include <QTimer>

namespace {
const QString OpenCases = QStringLiteral("open cases");
const QString ClosedCases = QStringLiteral("closed cases");
const QString AllCases = QStringLiteral("All Cases");

// Fills a list with lines, each keeping its case key as its item data.
void fillList(QListWidget* list, const QList<CaseListLine>& lines) {
    const QSignalBlocker blocker(list);
    list->setUpdatesEnabled(false);
    list->clear();
    for (const CaseListLine& line : lines) {
        auto* item = new QListWidgetItem(line.text);
        item->setData(Qt::UserRole, line.caseId);
        list->addItem(item);
    }
    list->setUpdatesEnabled(true);
}

qint64 itemKey(const QListWidget* list, int row) {
    const QListWidgetItem* item = list->item(row);
    return item ? item->data(Qt::UserRole).toLongLong() : 0;
}
} // namespace

void frmCaseDetails::connectNavigation() {
    cmdCaseNavigate = {ui->cmdCaseNavigate_0, ui->cmdCaseNavigate_1, ui->cmdCaseNavigate_2, ui->cmdCaseNavigate_3};
    cmdCustomerNavigate = {ui->cmdCustomerNavigate_0, ui->cmdCustomerNavigate_1, ui->cmdCustomerNavigate_2,
                           ui->cmdCustomerNavigate_3};
    cmdCustomerFind = {ui->cmdCustomerFind_0, ui->cmdCustomerFind_1, ui->cmdCustomerFind_2};
    optCaseSortBy = {ui->optCaseSortBy_0, ui->optCaseSortBy_1, ui->optCaseSortBy_2};
    cmdLookupResult = {ui->cmdLookupResult_0, ui->cmdLookupResult_1};
    for (int i = 0; i < 4; ++i) {
        connect(cmdCaseNavigate[i], &QAbstractButton::clicked, this, [this, i] { cmdCaseNavigate_Click(i); });
        connect(cmdCustomerNavigate[i], &QAbstractButton::clicked, this, [this, i] { cmdCustomerNavigate_Click(i); });
    }
    for (int i = 0; i < 3; ++i) {
        connect(cmdCustomerFind[i], &QAbstractButton::clicked, this, [this, i] { cmdCustomerFind_Click(i); });
        connect(optCaseSortBy[i], &QRadioButton::toggled, this, [this, i](bool on) {
            if (on) optCaseSortBy_Click(i);
        });
    }
    for (int i = 0; i < 2; ++i) {
        connect(cmdLookupResult[i], &QAbstractButton::clicked, this, [this, i] { cmdLookupResult_Click(i); });
        util_OnEvent(optCaseStatus[i], QEvent::MouseButtonPress, [this, i](QEvent*) { optCaseStatus_MouseDown(i); });
    }
    connect(ui->lstSelectCase, &QListWidget::itemDoubleClicked, this, [this] { cmdLookupResult_Click(0); });
    connect(ui->cmdCaseLookup, &QAbstractButton::clicked, this, [this] { cmdCaseLookup_Click(); });
    connect(ui->cmdShowCase, &QAbstractButton::clicked, this, [this] { cmdShowCase_Click(); });
    // A line chosen by the user; lines selected by code call the handler where it is wanted.
    connect(ui->lstCustomerCases, &QListWidget::itemClicked, this, [this] { lstCustomerCases_Click(); });
    connect(ui->lstCustomerCases, &QListWidget::currentRowChanged, this, [this](int) {
        // Moving through the lines with the keyboard; a mouse click comes as itemClicked.
        if (ui->lstCustomerCases->hasFocus() && QApplication::mouseButtons() == Qt::NoButton) lstCustomerCases_Click();
    });
    connect(ui->cboView, &QComboBox::activated, this, [this] { cboView_Click(); });
    connect(ui->txtCustomerSearch, &QLineEdit::returnPressed, this, [this] { cmdCustomerFind_Click(0); });

    timFlashCaseFilter = new QTimer(this);
    timFlashCaseFilter->setInterval(250);
    connect(timFlashCaseFilter, &QTimer::timeout, this, [this] { timFlashCaseFilter_Timer(); });
}

bool frmCaseDetails::saveChangedCase() {
    if (!bCaseDirty) return true;
    if (!func_SaveCase(false)) return false;
    bCaseDirty = false;
    return true;
}

bool frmCaseDetails::leaveCaseOnDisplay() {
    // While a new case is taken in, nothing may load another case in its place.
    if (sCaseMode == QLatin1String("N")) return false;
    return saveChangedCase();
}

QString frmCaseDetails::caseViewText() const { return ui->cboView->currentText(); }

bool frmCaseDetails::showCaseSet(const QString& sql, const QString& viewText) {
    if (!leaveCaseOnDisplay()) return false;
    setViewText(viewText);
    sCaseSQL = sql;
    func_GetCaseRecord(NoKey, true, std::nullopt, sCaseSQL);
    return true;
}

bool frmCaseDetails::showCase(qint64 caseKey, qint64 customerKey) {
    if (!leaveCaseOnDisplay()) return false;
    func_GetCaseRecord(caseKey, true);
    func_CaseGetCustomerRecord(customerKey);
    return true;
}

bool frmCaseDetails::showCustomer(qint64 customerKey) {
    if (!leaveCaseOnDisplay()) return false;
    func_CaseGetCustomerRecord(customerKey);
    // The customer's first case that fits the view, or the no-cases message about them.
    func_DisplayAppropriateCase();
    return true;
}

void frmCaseDetails::func_GetCaseRecord(qint64 key, bool saveFirst, std::optional<int> direction,
                                        std::optional<QString> sql) {
    ErrorGuard g(QStringLiteral("frmCaseDetails ! func_GetCaseRecord"));
    if (saveFirst && !saveChangedCase()) return;

    Database db;
    Recordset rs;
    if (!g.run([&] {
            db = Database::open(DatabasePath);
            if (sql) {
                rs = db.openDynaset(*sql);
            } else {
                rs = db.openTable(QStringLiteral("Cases"));
                rs.setIndex(QStringLiteral("PrimaryKey"));
            }
        }))
        return;

    if (sql && !bNavigatingCases) {
        // A plain load: the first case of the set, or the empty state.
        g.run([&] {
            if (rs.bof() || rs.eof()) {
                setCaseKey(0);
                func_EnabledCases(false);
            } else {
                func_DisplayCaseInfo(rs);
                cmdShowCase_Click();
            }
        });
        return;
    }

    const bool onRow = data_bPositionRecord(g, rs, key, direction, [&] {
        if (sql)
            rs.findFirst(QStringLiteral("CaseID = ") + QString::number(key));
        else
            rs.seek(QStringLiteral("="), Value(key));
        if (!rs.noMatch()) return true;
        if (!data_bIsRecordsetEmpty(rs))
            msgBox(QStringLiteral("The case record no longer exists within the parameter of the currently "
                                  "selected Case Filter. Try changing the Case Filter."),
                   Platform::Exclamation, QStringLiteral("Record Doesn't Exist"));
        return false;
    });
    if (onRow) g.run([&] {
        func_DisplayCaseInfo(rs);
        // A case is on display again: the no-cases message of the customer shown before goes.
        if (!caseOnDisplay()) func_EnabledCases(true);
    });
}

void frmCaseDetails::func_CaseGetCustomerRecord(qint64 key, std::optional<int> direction) {
    ErrorGuard g(QStringLiteral("frmCaseDetails ! func_CaseGetCustomerRecord"));
    Database db;
    Recordset rs;
    if (!g.run([&] {
            db = Database::open(DatabasePath);
            rs = db.openTable(QStringLiteral("Address"));
            rs.setIndex(QStringLiteral("PrimaryKey"));
        }))
        return;
    if (rs.bof() && rs.eof()) return;
    const bool onRow = data_bPositionRecord(g, rs, key, direction, [&] {
        rs.seek(QStringLiteral("="), Value(key));
        if (!rs.noMatch()) return true;
        msgBox(QStringLiteral("The customer record no longer exists."), Platform::Exclamation,
               QStringLiteral("Record Doesn't Exist"));
        return false;
    });
    if (onRow) g.run([&] { func_DisplayCustomerInfo(rs); });
}

void frmCaseDetails::cmdCaseNavigate_Click(int index) {
    ErrorGuard g(QStringLiteral("frmCaseDetails ! cmdCaseNavigate_Click"));
    BusyPointer busy;
    {
        ScopedFlag navigating(bNavigatingCases);
        if (!g.run([&] {
                func_GetCaseRecord(index == 0 || index == 3 ? NoKey : caseKey(), true, index, sCaseSQL);
            }))
            return;
    }
    g.run([&] {
        if (caseCustomerKey() == 0) return;
        if (!bNavigatingCustomers && !bCaseListClick) func_CaseGetCustomerRecord(caseCustomerKey());
        selectPickerCustomer(caseCustomerKey());
    });
}

void frmCaseDetails::cmdCustomerNavigate_Click(int index) {
    ErrorGuard g(QStringLiteral("frmCaseDetails ! cmdCustomerNavigate_Click"));
    BusyPointer busy;
    ScopedFlag navigating(bNavigatingCustomers);
    if (!g.run([&] { func_CaseGetCustomerRecord(index == 0 || index == 3 ? NoKey : customerKey(), index); })) return;
    g.run([&] { func_DisplayAppropriateCase(); });
}

void frmCaseDetails::func_DisplayCases(const QString& orderBy) {
    ErrorGuard g(QStringLiteral("frmCaseDetails ! func_DisplayCases"));
    BusyPointer busy;
    QList<CaseListLine> lines;
    if (!g.run([&] { lines = case_ReadSelectCaseLines(DatabasePath, sCaseSQL, orderBy); }))
        return;
    g.run([&] { fillList(ui->lstSelectCase, lines); });
}

void frmCaseDetails::func_DisplayCustomersCases() {
    ErrorGuard g(QStringLiteral("frmCaseDetails ! func_DisplayCustomersCases"));
    QList<CaseListLine> lines;
    if (!g.run([&] {
            lines = case_ReadCustomerCaseLines(DatabasePath, QStringLiteral("Select * from ") + QStringLiteral("Cases") +
                                                                 QStringLiteral(" where CustomerID = ") +
                                                                 QString::number(customerKey()));
        }))
        return;
    g.run([&] { fillList(ui->lstCustomerCases, lines); });
}

void frmCaseDetails::func_LocateCase(bool saveFirst) {
    ErrorGuard g(QStringLiteral("frmCaseDetails ! func_LocateCase"));
    if (saveFirst && !saveChangedCase()) return;
    Database db;
    Recordset rs;
    if (!g.run([&] {
            db = Database::open(DatabasePath);
            rs = db.openTable(QStringLiteral("Cases"));
            rs.setIndex(QStringLiteral("CustomerID"));
            rs.seek(QStringLiteral("="), Value(customerKey()));
        }))
        return;
    g.run([&] {
        if (rs.noMatch()) {
            func_EnabledCases(false);
            return;
        }
        func_EnabledCases(true);
        func_DisplayCaseInfo(rs);
    });
}

void frmCaseDetails::func_DisplayAppropriateCase() {
    ErrorGuard g(QStringLiteral("frmCaseDetails ! func_DisplayAppropriateCase"));
    QListWidget* list = ui->lstCustomerCases;
    if (list->count() == 0) {
        g.run([&] { func_EnabledCases(false); });
        return;
    }
    const QString view = ui->cboView->currentText().toLower();
    if (view == QLatin1String("all cases")) {
        g.run([&] { selectCustomerCasesLine(0); });
        return;
    }
    for (int row = 0; row < list->count(); ++row) {
        bool fits = false;
        if (!g.run([&] {
                const Value open = data_vCheckDBValue(DatabasePath, QStringLiteral("Cases"), QStringLiteral("CaseOpen"),
                                                      QStringLiteral("PrimaryKey"), Value(itemKey(list, row)));
                const bool isOpen = open.kind() == Value::Kind::Boolean && open.toBool();
                fits = (view == OpenCases && isOpen) || (view == ClosedCases && !isOpen);
            }))
            return;
        if (fits) {
            g.run([&] { selectCustomerCasesLine(row); });
            return;
        }
    }
    // No case of the customer fits the view: the view widens.
    g.run([&] {
        widenViewToAllCases();
        selectCustomerCasesLine(0);
    });
}

void frmCaseDetails::selectCustomerCasesLine(int row) {
    {
        const QSignalBlocker blocker(ui->lstCustomerCases);
        ui->lstCustomerCases->setCurrentRow(row);
    }
    lstCustomerCases_Click();
}

void frmCaseDetails::lstCustomerCases_Click() {
    ErrorGuard g(QStringLiteral("frmCaseDetails ! lstCustomerCases_Click"));
    const int row = ui->lstCustomerCases->currentRow();
    if (row < 0) return;
    BusyPointer busy;
    const qint64 key = itemKey(ui->lstCustomerCases, row);
    if (!g.run([&] {
            const Value open = data_vCheckDBValue(DatabasePath, QStringLiteral("Cases"), QStringLiteral("CaseOpen"),
                                                  QStringLiteral("PrimaryKey"), Value(key));
            const bool isOpen = open.kind() == Value::Kind::Boolean && open.toBool();
            const QString view = ui->cboView->currentText().toLower();
            if ((view == OpenCases && !isOpen) || (view == ClosedCases && isOpen)) widenViewToAllCases();
        }))
        return;
    ScopedFlag listClick(bCaseListClick);
    g.run([&] { func_GetCaseRecord(key, true); });
}

void frmCaseDetails::optCaseStatus_MouseDown(int index) {
    bCaseDirty = true;
    if ((index == 0 && sCaseSQL == sClosedCasesSQL) || (index == 1 && sCaseSQL == sOpenCasesSQL))
        widenViewToAllCases();
}

void frmCaseDetails::setViewText(const QString& text) {
    const QSignalBlocker blocker(ui->cboView);
    ui->cboView->setCurrentIndex(ui->cboView->findText(text));
}

void frmCaseDetails::widenViewToAllCases() {
    setViewText(AllCases);
    sCaseSQL = sAllCasesSQL;
    iFlashCount = 0;
    timFlashCaseFilter->start();
}

void frmCaseDetails::timFlashCaseFilter_Timer() {
    QPalette p = ui->cboView->palette();
    if (iFlashCount >= 6) {
        iFlashCount = 0;
        timFlashCaseFilter->stop();
        return;
    }
    const QColor colour = iFlashCount % 2 == 0 ? QColor(0xff, 0, 0) : palette().color(QPalette::Base);
    p.setColor(QPalette::Button, colour);
    p.setColor(QPalette::Base, colour);
    ui->cboView->setPalette(p);
    ++iFlashCount;
}

void frmCaseDetails::cboView_Click() {
    ErrorGuard g(QStringLiteral("frmCaseDetails ! cboView_Click"));
    const QString view = ui->cboView->currentText().toLower();
    sCaseSQL = view == OpenCases ? sOpenCasesSQL : view == ClosedCases ? sClosedCasesSQL : sAllCasesSQL;
    g.run([&] { func_GetCaseRecord(NoKey, true, std::nullopt, sCaseSQL); });
}

void frmCaseDetails::cmdShowCase_Click() {
    ErrorGuard g(QStringLiteral("frmCaseDetails ! cmdShowCase_Click"));
    if (caseKey() == 0) return;
    if (!g.run([&] { func_EnabledCases(true); })) return;
    if (!bNavigatingCustomers && caseCustomerKey() != 0) g.run([&] { func_CaseGetCustomerRecord(caseCustomerKey()); });
}

void frmCaseDetails::cmdCaseLookup_Click() {
    ErrorGuard g(QStringLiteral("frmCaseDetails ! cmdCaseLookup_Click"));
    if (!g.run([&] { func_DisplayCases(QStringLiteral("CaseID")); })) return;
    g.run([&] {
        ui->fraCaseLookup->setVisible(true);
        ui->lblNoCases->setVisible(false);
        ui->panNoCases->raise();
        ui->panNoCases->setVisible(true);
        ui->panCaseControls->setEnabled(false);
    });
}

void frmCaseDetails::optCaseSortBy_Click(int index) {
    func_DisplayCases(optCaseSortBy[index]->property("tag").toString());
}

void frmCaseDetails::cmdLookupResult_Click(int index) {
    ErrorGuard g(QStringLiteral("frmCaseDetails ! cmdLookupResult_Click"));
    if (index == 0) {
        const int row = ui->lstSelectCase->currentRow();
        if (row < 0) {
            msgBox(QStringLiteral("Please select a case from the list first."), Platform::Information,
                   QStringLiteral("Select Case To Display"));
            return;
        }
        BusyPointer busy;
        bSkipPickerDropDown = true;
        const qint64 key = itemKey(ui->lstSelectCase, row);
        if (!g.run([&] { func_GetCaseRecord(key, true); })) return;
        if (!g.run([&] {
                if (caseCustomerKey() != 0) func_CaseGetCustomerRecord(caseCustomerKey());
                selectPickerCustomer(caseCustomerKey());
            }))
            return;
    }
    g.run([&] {
        if (data_lGetRecordCount(DatabasePath, QStringLiteral("Cases")) > 0) ui->panNoCases->setVisible(false);
        ui->fraCaseLookup->setVisible(false);
        ui->lblNoCases->setVisible(true);
        ui->panCaseControls->setEnabled(true);
        util_ShowTextFromStart(ui->cboCustomerList);
    });
}

void frmCaseDetails::cmdCustomerFind_Click(int index) {
    ErrorGuard g(QStringLiteral("frmCaseDetails ! cmdCustomerFind_Click"));
    const QString value = ui->txtCustomerSearch->text();
    if (value.isEmpty()) {
        msgBox(QStringLiteral("Please enter something to search for."), Platform::Information,
               QStringLiteral("Search Parameter Missing"));
        ui->txtCustomerSearch->setFocus();
        return;
    }
    BusyPointer busy;
    ScopedFlag navigating(bNavigatingCustomers);
    const QString fieldName = ui->cboCustomerSearchBy->currentText();
    Database db;
    Recordset rs;
    bool found = false;
    if (!g.run([&] {
            // Only a field of the customer table can be searched; a number is compared as a number only
            // in a numeric field, and any text is quoted safely.
            const std::optional<QString> criterion = case_CustomerSearchCriterion(
                data_FieldNames(DatabasePath, QStringLiteral("Address")), fieldName, value);
            if (!criterion) return;
            db = Database::open(DatabasePath);
            rs = db.openDynaset(QStringLiteral("Address"));
            if (index == 0) {
                rs.findFirst(*criterion);
            } else {
                rs.findFirst(QStringLiteral("CustomerID = ") + QString::number(customerKey()));
                if (index == 1)
                    rs.findPrevious(*criterion);
                else
                    rs.findNext(*criterion);
            }
            found = !rs.noMatch();
        }))
        return;
    if (!found) {
        msgBox(QStringLiteral("No more matching records."), Platform::Information, QStringLiteral("No Match"));
        return;
    }
    if (!g.run([&] { func_DisplayCustomerInfo(rs); })) return;
    g.run([&] { func_DisplayAppropriateCase(); });
}
