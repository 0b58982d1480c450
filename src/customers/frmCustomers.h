#pragma once

#include <QDialog>
#include <QHash>
#include <array>
#include <memory>
#include <optional>

namespace Ui {
class frmCustomers;
}
class CaseDisplay;
class QLineEdit;
class QPushButton;
class Recordset;

// "Add / Edit Customers": one row of the table Address at a time, paged in key order; a new customer
// is begun with "&New" and added with "&Save", a customer is deleted (with their closed cases) with
// "&Delete", and "C&lose" hands the customer on display back to the case screen.
//
// The screen's state lives in its controls: the key on display in the panel panCustomerNavigate, the
// new-record state in the captions of cmdNew ("&New"/"&Save") and cmdDelete ("&Delete"/"&Cancel"),
// the stored (scrambled) card number in the hidden label lblEncryptedCreditCard. The plain card number
// is shown in txtCCNumber and never written to the database.
class frmCustomers : public QDialog {
    Q_OBJECT
public:
    // caseScreen: the case screen that opened this one and gets the customer back on Close (none: the
    // screen stands alone). The screen is a window of parent, or else of the case screen.
    explicit frmCustomers(CaseDisplay* caseScreen = nullptr, QWidget* parent = nullptr);
    ~frmCustomers() override;

    static constexpr qint64 NoKey = -99;

    // Shows the first customer and fills the card list. Runs by itself when the screen is first shown;
    // an opener may call it earlier, to position the screen on a customer before showing it.
    void Form_Load();

    // ---- the customer record (key -99: no key; direction 0 first, 1 previous, 2 next, 3 last)
    void func_CustGetCustomerRecord(qint64 key, std::optional<int> direction = std::nullopt);
    void func_DisplayCustomerInfo(Recordset& customerRecordSet);
    void func_ClearCustomerData();
    // Writes the controls to a new row (newCustomer) or to the row of the key on display. False when
    // an error stopped the writing; a key on display that is no longer stored writes nothing (true).
    bool func_SaveCustomer(bool newCustomer);
    // False: the new-record state; true: browsing.
    void func_EnableControls(bool enable);
    // With no customer stored: clears the fields, enables or disables editing, key "0". True when no
    // customer is stored.
    bool func_bAdjustForEmptyDatabase(bool enable);

    // ---- the card fields
    void func_SetEncryptedPassword();
    void lblEncryptedCreditCard_Change();
    void txtCCNumber_LostFocus();
    void txtCCExpDate_GotFocus();
    // Returns the key to let through (0: none).
    int txtCCExpDate_KeyPress(int keyAscii);
    void txtCCExpDate_KeyUp(int keyCode);

    // ---- deletion
    // True: the customer must not be deleted (an open case, the user kept the closed cases, or they
    // could not be deleted). False: the deletion may go on, any closed cases deleted already.
    bool func_bDoesCustomerHaveCases(qint64 customerId);

    // ---- events
    void Form_KeyDown(int keyCode);
    void cmdCustomerNavigate_Click(int index);
    void cmdNew_Click();
    void cmdDelete_Click();
    void cmdRevert_Click();
    void cmdClose_Click();
    void cmdHelp_Click();
    void chkNoAccept_Click();
    void chkNoAccept_MouseDown();

    // The key on display (0 before any customer is shown and when the table is empty).
    qint64 customerKey() const { return m_customerKey; }

    bool bCustomerDirty = false;
    std::array<QPushButton*, 4> cmdCustomerNavigate{};

public slots:
    // The window's close box: the same as "C&lose", which is not available in the new-record state.
    void reject() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void setCustomerKey(qint64 key);
    // Puts a stored text into a box: a text longer than the box's typing limit is shown whole (the limit
    // is raised for it), so that saving never cuts a stored value short.
    void showText(QLineEdit* box, const QString& text);
    // Sets the stored card number and shows it unscrambled in the number box, also when it is the same
    // as before.
    void showStoredCardNumber(const QString& scrambled);
    // The card number is masked (all but its last four digits) until the user presses Show; a customer
    // without a number shows the open box at once.
    void showCardNumber(bool shown);
    bool newRecordState() const;

    std::unique_ptr<Ui::frmCustomers> ui;
    CaseDisplay* m_caseScreen = nullptr;
    qint64 m_customerKey = 0;
    QHash<QLineEdit*, int> m_typingLimits;
    bool m_loaded = false;
    bool m_cardNumberShown = true;
};
