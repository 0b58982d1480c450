#pragma once

#include "core/Money.h"
#include "core/Value.h"
#include "widgets/CaseDisplay.h"

#include <QHash>
#include <QMainWindow>
#include <QPointer>
#include <QSet>
#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

namespace Ui {
class frmCaseDetails;
}
class AmountLabel;
class CaptionLabel;
class frmFollowUp;
class CustomerPickerModel;
class DatePicker;
class QAction;
class QCheckBox;
class QComboBox;
class QLineEdit;
class QAbstractButton;
class QPushButton;
class QRadioButton;
class QListWidget;
class QTimer;
class Recordset;

// The case screen: one case of the table Cases and its customer, the program's working screen.
// Its code is split by concern: CaseRecord.cpp (showing, clearing and saving a case), CaseAmounts.cpp
// (the money), CaseStages.cpp (collection stages), CaseInstallments.cpp, and the screen's wiring here.
class frmCaseDetails : public QMainWindow, public CaseDisplay {
    Q_OBJECT
public:
    // Opens the follow-up worklist beside the case screen (or brings the open one up to date).
    void mnuFollowUpList_Click();
    void mnuExport_Click();

    explicit frmCaseDetails(QWidget* parent = nullptr);
    ~frmCaseDetails() override;

    // ---- the case record
    void func_ClearCaseData();
    void func_DisplayCaseInfo(Recordset& caseRecordSet);
    // Writes the case on display: a new row (newCase) or the row of the case on display. True when
    // the row was written.
    bool func_SaveCase(bool newCase);

    // ---- amounts
    void func_Recalc();
    void func_AddDollar();
    void func_AddPercent();
    void func_LoadCollectionSettings();

    // ---- stages
    void func_CosmeticCaseAdjustments(Recordset& caseRecordSet);

    // ---- printing (CasePrinting.cpp). Destination 0 the preview, 1 the printer, 2 the PDF file pdfFile.
    void func_PrintReports(const QString& reportFile, const QString& formula, int destination,
                           const QString& pdfFile = QString());
    void cmdPrintNotice_Click(int index);
    // The entries of "&Current Bad Checks", "&All Bad Checks" and "Customer Checks &Not Accepted":
    // index 0 to the screen, 1 to the printer, 2 to a PDF file.
    void mnuReport_Click(const QString& templateName, int index);
    void mnuPrintNoticesToScreen_Click();
    void mnuMerchantDetails_Click();

    // ---- start-up and closing
    void Form_Load();
    void func_bAdjustForEmptyDatabase();

    // ---- editing states
    void func_EnableControls(bool enable);
    void func_EnabledCases(bool enable);
    void cmdNewCase_Click();
    void cmdDeleteCase_Click();
    void cmdRevert_Click();
    void cmdTypeSuggestion_Click(int index);

    // ---- navigation, lists and lookup (key -99: no key; direction 0 first, 1 previous, 2 next, 3 last)
    static constexpr qint64 NoKey = -99;
    void func_GetCaseRecord(qint64 key, bool saveFirst, std::optional<int> direction = std::nullopt,
                            std::optional<QString> sql = std::nullopt);
    void func_CaseGetCustomerRecord(qint64 key, std::optional<int> direction = std::nullopt);
    void func_DisplayCases(const QString& orderBy);
    void func_DisplayCustomersCases();
    void func_LocateCase(bool saveFirst);
    void func_DisplayAppropriateCase();
    void cmdCaseNavigate_Click(int index);
    void cmdCustomerNavigate_Click(int index);
    void cmdCaseLookup_Click();
    void cmdLookupResult_Click(int index);
    void optCaseSortBy_Click(int index);
    void cmdShowCase_Click();
    void lstCustomerCases_Click();
    void optCaseStatus_MouseDown(int index);
    void cboView_Click();
    void cmdCustomerFind_Click(int index);
    void timFlashCaseFilter_Timer();

    // ---- what the screens that drive the case screen ask of it (widgets/CaseDisplay.h)
    QWidget* caseWindow() override { return this; }
    void showHandedBackCustomer(qint64 customerKey) override;
    QString caseSetSql() const override { return sCaseSQL; }
    QString caseViewText() const override;
    bool showCaseSet(const QString& sql, const QString& viewText) override;
    bool showCase(qint64 caseKey, qint64 customerKey) override;
    bool showCustomer(qint64 customerKey) override;

    // ---- customer picker
    void func_PopulateCustomerList();
    // Fills the picker again from the file, keeping the customer on display chosen, without opening it.
    void func_RefreshCustomerList();
    void func_AssignDefaultShowAsNames();
    void mnuAssignDefaultShowAs_Click();
    void cboCustomerList_Click();
    void cboCustomerList_GotFocus();
    void func_DisplayCustomerInfo(Recordset& customerRecordSet);
    // Selects the picker's item of a customer (nothing happens when the customer is not listed).
    void selectPickerCustomer(qint64 customerKey);
    // The customer key of a picker item (0 when it has none).
    qint64 pickerKey(int index) const;

    // ---- keys on display: the panels only show them
    qint64 caseKey() const { return m_caseKey; }
    qint64 customerKey() const { return m_customerKey; }
    void setCaseKey(qint64 key);
    void setCustomerKey(qint64 key);
    // The customer of the case on display (0: none).
    qint64 caseCustomerKey() const { return m_caseCustomerKey; }
    void setCaseCustomerKey(qint64 key);

    // ---- form members
    QString sCaseMode;
    // Money is kept exact (util/Money.h); the percentage is a plain number.
    Money dNSFfee;
    double dCollectionPercent = 0;
    Money dCollectionDollars;
    QString sCollectionCompany;
    QString sCollectionOfficer;
    bool bIncludeNSF = false;
    int iAddNSFStage = 0;
    Money dCheckAmount;
    bool bLoading = false;
    bool bCaseDirty = false;
    bool bNavigatingCases = false;
    bool bNavigatingCustomers = false;
    bool bStageBoxFocus = false;
    QString sStageDate;
    bool bInstallmentDateDue = false;
    bool bCaseListClick = false;
    bool bSkipPickerDropDown = false;
    int iFlashCount = 0;
    QString sCaseSQL;
    QString sAllCasesSQL;
    QString sOpenCasesSQL;
    QString sClosedCasesSQL;
    QTimer* timFlashCaseFilter = nullptr;

    // ---- controls gathered from the form
    std::array<QRadioButton*, 2> optCaseStatus{};
    std::array<QRadioButton*, 2> optCollectionType{};
    std::array<QRadioButton*, 2> optAcceptChecks{};
    std::array<QCheckBox*, 7> chkNotice{};
    std::array<DatePicker*, 7> datNotice{};
    std::array<QPushButton*, 6> cmdPrintNotice{};
    std::array<QLineEdit*, 5> txtInstallmentAmount{};
    std::array<DatePicker*, 5> datInstallmentDate{};
    std::array<QAction*, 5> mnuAddNSF{};
    std::array<QAbstractButton*, 4> cmdCaseNavigate{};
    std::array<QAbstractButton*, 4> cmdCustomerNavigate{};
    std::array<QAbstractButton*, 3> cmdCustomerFind{};
    std::array<QRadioButton*, 3> optCaseSortBy{};
    std::array<QAbstractButton*, 2> cmdLookupResult{};
    std::array<QAbstractButton*, 2> cmdTypeSuggestion{};
    std::array<QAbstractButton*, 2> cmdHelp{};
    std::array<AmountLabel*, 7> amountLabels() const;

    Ui::frmCaseDetails* form() const { return ui.get(); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void gatherControls();
    void connectAmounts();
    void connectStages();
    void connectInstallments();
    void installKeyPreview();
    void connectEditing();
    void connectNavigation();
    void connectPicker();
    void connectMenus();
    void connectPrinting();

    // The view selector widens to "All Cases" by itself, with the red flash.
    void widenViewToAllCases();
    void setViewText(const QString& text);
    // Saves a changed case before another is shown; false when the save failed (the case stays).
    bool saveChangedCase();
    // Whether the case on display may give way to another: not while a new case is taken in, nor
    // when its changes cannot be saved.
    bool leaveCaseOnDisplay();
    void selectCustomerCasesLine(int row);
    void showCaseTopic(const QString& page);
    void mnuShowMenu_Click(int index);
    // "Case List": the overview beside the case screen (the one already open comes to the front).
    void Command1_Click();
    void mnuHelpItems_Click(int index);
    void mnuWebSite_Click(int index);
    void cmdCalculator_Click();
    void cmdCheckImage_Click();
    void cmdHelp_Click(int index);
    // Controls whose screens are not part of the program yet stay disabled whatever the state.
    void setAvailable(QObject* control, bool enabled);
    // A case is on display unless the no-cases state has disabled the tabs (the case still loaded
    // then belongs to another customer). The key panel names it, or nothing.
    bool caseOnDisplay() const;
    void showCaseKey();
    // The case buttons move from the case on display; while a new case is taken in they rest.
    void adjustCaseNavigation();

    // The fields of a case as the screen writes them, in the order of the write; each value is read
    // from its control when asked for.
    struct CaseField {
        QString name;
        std::function<Value()> value;
    };
    QList<CaseField> caseFields() const;
    // The boxes of figures and what each takes.
    std::vector<std::pair<QLineEdit*, EntryKind>> entryBoxes() const;

    // amounts
    void txtAmount_Change();
    void optCollectionType_Click(int index);
    void chkIncludeNSF_Click();
    void chkAddCollectionFee_Click();
    void cmdCollectionCharges_Click();
    void chkAddNSF_Click();
    void mnuAddNSF_Click(int index);
    void cmdMessage_Click();
    void setCollectionChargesDirection(bool add);
    // The charge typed into its box becomes the one in force (read reads the box's figure).
    template <class T> void takeCharge(const QString& procedure, const QLineEdit* box, T& charge);

    // stages
    void chkNotice_Click(int index);
    void datNotice_Click(int index);
    void lblStageDate_Change();
    void colourStageLabels();
    void chkNoAccept_Click();
    void optAcceptChecks_Click(int index);
    void clearAcceptChecks();

    // installments
    void txtInstallmentAmount_Change(int index);
    void txtInstallmentAmount_KeyUp(int index);
    void txtInstallmentAmount_LostFocus(int index);

    std::unique_ptr<Ui::frmCaseDetails> ui;
    qint64 m_caseKey = 0;
    QPointer<frmFollowUp> m_followUp;
    qint64 m_customerKey = 0;
    qint64 m_caseCustomerKey = 0;
    // Fields of the case on display that the file holds in a form that does not fit them, by their
    // place in caseFields(), with what the screen would write for them right after the display.
    QHash<int, Value> m_unreadable;
    CustomerPickerModel* m_picker = nullptr; // the picker's items, owned by the picker
};
