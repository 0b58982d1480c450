#include "customers/frmCustomers.h"

#include "core/AppInfo.h"
#include "core/ErrorHandling.h"
#include "core/Help.h"
#include "core/Platform.h"
#include "core/Scoped.h"
#include "customers/CustomerLogic.h"
#include "data/DatabaseProcs.h"
#include "data/engine/Database.h"
#include "ui_frmCustomers.h"
#include "widgets/CaseDisplay.h"
#include "widgets/DataWidgets.h"
#include "widgets/WidgetUtilities.h"

#include <QAbstractItemView>
#include <QFocusEvent>
#include <QKeyEvent>

namespace {
const QString NewCaption = QStringLiteral("&New");
const QString SaveCaption = QStringLiteral("&Save");
const QString DeleteCaption = QStringLiteral("&Delete");
const QString CancelCaption = QStringLiteral("&Cancel");
const QString Address = QStringLiteral("Address");
const QString PrimaryKey = QStringLiteral("PrimaryKey");

QString location(const char* procedure) {
    return QStringLiteral("frmCustomers ! ") + QString::fromLatin1(procedure);
}

void noMoreRecords(int direction) {
    msgBox(QStringLiteral("No more records."), Platform::Information,
           direction == 1 ? QStringLiteral("Move Previous") : QStringLiteral("Move Next"));
}

// Opens Address in key order, as every operation of the screen does.
Recordset openAddress(Database& db) {
    db = Database::open(DatabasePath);
    Recordset rs = db.openTable(Address);
    rs.setIndex(PrimaryKey);
    return rs;
}

// Whether a customer's row is stored, and how many cases they have: read straight from the file, so
// that a deletion is only kept when it did what it had to.
bool customerStored(qint64 customerId) {
    Database db;
    Recordset rs = openAddress(db);
    rs.seek(QStringLiteral("="), Value(customerId));
    return !rs.noMatch();
}

int casesOf(qint64 customerId) {
    Database db = Database::open(DatabasePath);
    return db.openDynaset(cust_sCustomerCasesSQL(customerId, false)).recordCount();
}
} // namespace

frmCustomers::frmCustomers(CaseDisplay* caseScreen, QWidget* parent)
    : QDialog(parent ? parent : caseScreen ? caseScreen->caseWindow() : nullptr), ui(new Ui::frmCustomers), m_caseScreen(caseScreen) {
    ui->setupUi(this);
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);

    cmdCustomerNavigate = {ui->cmdCustomerNavigate_0, ui->cmdCustomerNavigate_1, ui->cmdCustomerNavigate_2,
                           ui->cmdCustomerNavigate_3};
    for (int i = 0; i < 4; ++i)
        connect(cmdCustomerNavigate[i], &QPushButton::clicked, this,
                [this, i] { cmdCustomerNavigate_Click(i); });
    connect(ui->cmdNew, &QPushButton::clicked, this, [this] { cmdNew_Click(); });
    connect(ui->cmdDelete, &QPushButton::clicked, this, [this] { cmdDelete_Click(); });
    connect(ui->cmdRevert, &QPushButton::clicked, this, [this] { cmdRevert_Click(); });
    connect(ui->cmdClose, &QPushButton::clicked, this, [this] { cmdClose_Click(); });
    connect(ui->cmdHelp, &QPushButton::clicked, this, [this] { cmdHelp_Click(); });
    connect(ui->chkNoAccept, &QCheckBox::stateChanged, this, [this] { chkNoAccept_Click(); });
    util_OnEvent(ui->chkNoAccept, QEvent::MouseButtonPress, [this](QEvent*) { chkNoAccept_MouseDown(); });

    // The card fields.
    connect(ui->lblEncryptedCreditCard, &CaptionLabel::changed, this,
            [this] { lblEncryptedCreditCard_Change(); });
    connect(ui->txtCCNumber, &QLineEdit::textChanged, this, [this](const QString& number) {
        ui->txtCCNumberMasked->setText(cust_sMaskCardNumber(number));
        ui->cmdShowCCNumber->setEnabled(!number.isEmpty());
    });
    connect(ui->cmdShowCCNumber, &QPushButton::clicked, this, [this] {
        showCardNumber(!m_cardNumberShown);
        if (m_cardNumberShown) ui->txtCCNumber->setFocus(Qt::OtherFocusReason);
    });
    util_OnEvent(ui->txtCCNumber, QEvent::FocusOut, [this](QEvent* event) {
        // Another window or the box's own menu taking the focus is no leaving of the box.
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason) txtCCNumber_LostFocus();
    });
    util_OnEvent(ui->txtCCExpDate, QEvent::FocusIn, [this](QEvent*) { txtCCExpDate_GotFocus(); });
    new KeyPressFilter(ui->txtCCExpDate, [this](int keyAscii) { return txtCCExpDate_KeyPress(keyAscii); });
    util_OnEvent(ui->txtCCExpDate, QEvent::KeyRelease, [this](QEvent* event) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->isAutoRepeat()) return;
        txtCCExpDate_KeyUp(key->key() == Qt::Key_Backspace ? 8 : key->key());
    });

    for (QLineEdit* box : findChildren<QLineEdit*>())
        m_typingLimits.insert(box, box->maxLength());

    // The key preview: the screen sees every key before the control that has the focus, the open
    // list of the card names included.
    ui->cboCreditCards->view();
    for (QWidget* child : findChildren<QWidget*>())
        child->installEventFilter(this);
}

frmCustomers::~frmCustomers() { util_DetachControls(this); }

bool frmCustomers::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        // Tab and Shift+Tab only move the focus.
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key != Qt::Key_Tab && key != Qt::Key_Backtab) Form_KeyDown(key);
    }
    return QDialog::eventFilter(watched, event);
}

void frmCustomers::keyPressEvent(QKeyEvent* event) {
    // The screen has no cancel button: Escape does not close it.
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void frmCustomers::showEvent(QShowEvent* event) {
    if (!m_loaded) Form_Load();
    QDialog::showEvent(event);
}

void frmCustomers::reject() {
    // The close box: in the new-record state the entry is first saved or cancelled.
    if (newRecordState()) return;
    cmdClose_Click();
}

bool frmCustomers::newRecordState() const {
    return ui->cmdNew->text() != NewCaption;
}

void frmCustomers::setCustomerKey(qint64 key) {
    m_customerKey = key;
    ui->panCustomerNavigate->setText(QString::number(key));
}

void frmCustomers::showText(QLineEdit* box, const QString& text) {
    const int limit = m_typingLimits.value(box, box->maxLength());
    box->setMaxLength(std::max(limit, int(text.size())));
    box->setText(text);
}

void frmCustomers::showStoredCardNumber(const QString& scrambled) {
    if (ui->lblEncryptedCreditCard->caption() == scrambled)
        lblEncryptedCreditCard_Change(); // no change event: the box is brought in line all the same
    else
        ui->lblEncryptedCreditCard->setCaption(scrambled);
    showCardNumber(scrambled.isEmpty());
}

void frmCustomers::showCardNumber(bool shown) {
    m_cardNumberShown = shown;
    ui->txtCCNumber->setVisible(shown);
    ui->txtCCNumberMasked->setVisible(!shown);
    ui->cmdShowCCNumber->setText(shown ? QStringLiteral("Hide") : QStringLiteral("Show"));
    ui->cmdShowCCNumber->setEnabled(!ui->txtCCNumber->text().isEmpty());
}

void frmCustomers::Form_Load() {
    m_loaded = true;
    ErrorGuard g(location("Form_Load"));
    BusyPointer busy;
    if (!g.run([&] {
            layout()->activate();
            util_CenterForm(this);
        }))
        return;
    if (!g.run([&] { ui->tabCustomer->setCurrentIndex(0); })) return;
    if (!g.run([&] { func_CustGetCustomerRecord(NoKey); })) return;
    // The list keeps the card name on display.
    if (!g.run([&] {
            data_PopulateListingCombo(this, DatabasePath, QStringLiteral("q_ListCreditCards"),
                                      QStringLiteral("CCName"), ui->cboCreditCards);
        }))
        return;
    g.run([&] { func_bAdjustForEmptyDatabase(false); });
}

void frmCustomers::func_CustGetCustomerRecord(qint64 key, std::optional<int> direction) {
    ErrorGuard g(location("func_CustGetCustomerRecord"));
    Database db;
    Recordset rs;
    if (!g.run([&] { rs = openAddress(db); })) return;
    // With no customer stored there is nothing to show and nothing to say.
    if (data_bIsRecordsetEmpty(rs)) return;
    if (key != NoKey) {
        bool found = false;
        if (!g.run([&] {
                rs.seek(QStringLiteral("="), Value(key));
                found = !rs.noMatch();
            }))
            return;
        if (!found) {
            msgBox(QStringLiteral("The customer record no longer exists."), Platform::Exclamation,
                   QStringLiteral("Record Doesn't Exist"));
            return;
        }
        bool moved = true;
        if (!g.run([&] {
                if (direction == 1) {
                    rs.movePrevious();
                    moved = !rs.bof();
                } else if (direction == 2) {
                    rs.moveNext();
                    moved = !rs.eof();
                }
            }))
            return;
        if (!moved) {
            noMoreRecords(*direction);
            return;
        }
    } else {
        if (!g.run([&] {
                if (direction == 0) rs.moveFirst();
                if (direction == 3) rs.moveLast();
            }))
            return;
    }
    g.run([&] {
        if (!rs.bof() && !rs.eof()) func_DisplayCustomerInfo(rs);
    });
}

void frmCustomers::func_DisplayCustomerInfo(Recordset& rs) {
    ErrorGuard g(location("func_DisplayCustomerInfo"));
    // Every field is shown as text; a Null field leaves its box empty.
    const auto show = [&](QLineEdit* box, const char* field) {
        return g.run([&] { showText(box, rs.value(QString::fromLatin1(field)).toString()); });
    };
    const std::pair<QLineEdit*, const char*> general[] = {
        {ui->txtTitle, "Title"},       {ui->txtFName, "FirstName"},     {ui->txtInitial, "Initial"},
        {ui->txtLName, "LastName"},    {ui->txtCompany, "CompanyName"}, {ui->txtAddress1, "Address1"},
        {ui->txtAddress2, "Address2"}, {ui->txtCity, "City"},           {ui->txtProv, "StateOrProv"},
        {ui->txtPostal, "PostalCode"}, {ui->txtCountry, "Country"},     {ui->txtTelephone1, "Phone"},
        {ui->txtTelephone2, "Phone2"}, {ui->txtExtension, "Extension"}, {ui->txtFax, "Fax"},
        {ui->txtCustomerCode, "Code"}, {ui->txtBusType, "Type"},        {ui->txtMisc, "Misc"}};
    for (const auto& [box, field] : general)
        if (!show(box, field)) return;
    if (!g.run([&] { ui->txtNote->setPlainText(rs.value(QStringLiteral("Notes")).toString()); })) return;
    if (!g.run([&] {
            const Value noMore = rs.value(QStringLiteral("NoMoreChecks"));
            ui->chkNoAccept->setChecked(!noMore.isNull() && !noMore.isEmpty() && noMore.toBool());
        }))
        return;
    if (!show(ui->txtPersonalInfo, "Identification")) return;
    if (!g.run([&] { ui->cboCreditCards->setEditText(rs.value(QStringLiteral("CCName")).toString()); }))
        return;
    if (!show(ui->txtNameOnCC, "NameOnCard")) return;
    if (!g.run([&] { showStoredCardNumber(rs.value(QStringLiteral("CCNumber")).toString()); })) return;
    if (!show(ui->txtCCExpDate, "ExpDate")) return;
    if (!show(ui->txtVerification, "Verification")) return;
    g.run([&] { setCustomerKey(rs.value(QStringLiteral("CustomerID")).toLongLong()); });
}

void frmCustomers::func_ClearCustomerData() {
    ErrorGuard g(location("func_ClearCustomerData"));
    g.run([&] {
        for (QLineEdit* box : {ui->txtTitle, ui->txtFName, ui->txtInitial, ui->txtLName, ui->txtCompany,
                               ui->txtAddress1, ui->txtAddress2, ui->txtCity, ui->txtProv, ui->txtPostal,
                               ui->txtCountry, ui->txtTelephone1, ui->txtTelephone2, ui->txtExtension,
                               ui->txtFax, ui->txtCustomerCode, ui->txtBusType, ui->txtMisc})
            showText(box, QString());
        ui->txtNote->clear();
        ui->chkNoAccept->setChecked(false);
        showText(ui->txtPersonalInfo, QString());
        ui->cboCreditCards->setEditText(QString());
        showText(ui->txtNameOnCC, QString());
        showStoredCardNumber(QString());
        showText(ui->txtCCExpDate, QString());
        showText(ui->txtVerification, QString());
    });
}

bool frmCustomers::func_SaveCustomer(bool newCustomer) {
    ErrorGuard g(location("func_SaveCustomer"));
    Database db;
    Recordset rs;
    if (!g.run([&] { rs = openAddress(db); })) return false;
    if (newCustomer) {
        if (!g.run([&] { rs.addNew(); })) return false;
    } else {
        bool found = false;
        if (!g.run([&] {
                rs.seek(QStringLiteral("="), Value(customerKey()));
                found = !rs.noMatch();
            }))
            return false;
        if (!found) return true; // no longer stored: nothing to write, nothing to say
        if (!g.run([&] { rs.edit(); })) return false;
    }
    // Every customer has a display name: a new customer, or one without a name or with the default
    // name of the names as stored, gets the default name of the names saved now. A name of its own
    // stays.
    const auto defaultShowAs = [&] {
        return cust_sDefaultShowAs(rs.value(QStringLiteral("LastName")), rs.value(QStringLiteral("FirstName")),
                                   rs.value(QStringLiteral("Initial")), rs.value(QStringLiteral("CompanyName")));
    };
    bool followNames = newCustomer;
    if (!newCustomer && !g.run([&] {
            const QString showAs = rs.value(QStringLiteral("ShowAs")).toString();
            followNames = showAs.isEmpty() || showAs == defaultShowAs();
        }))
        return false;
    const auto set = [&](const char* field, const auto& value) {
        return g.run([&] { rs.setValue(QString::fromLatin1(field), Value(value())); });
    };
    const auto textOf = [](QLineEdit* box) { return [box] { return box->text(); }; };
    const std::pair<const char*, QLineEdit*> general[] = {
        {"Title", ui->txtTitle},       {"FirstName", ui->txtFName},     {"Initial", ui->txtInitial},
        {"LastName", ui->txtLName},    {"CompanyName", ui->txtCompany}, {"Address1", ui->txtAddress1},
        {"Address2", ui->txtAddress2}, {"City", ui->txtCity},           {"StateOrProv", ui->txtProv},
        {"PostalCode", ui->txtPostal}, {"Country", ui->txtCountry},     {"Phone", ui->txtTelephone1},
        {"Phone2", ui->txtTelephone2}, {"Extension", ui->txtExtension}, {"Fax", ui->txtFax},
        {"Code", ui->txtCustomerCode}, {"Type", ui->txtBusType},        {"Misc", ui->txtMisc}};
    for (const auto& [field, box] : general)
        if (!set(field, textOf(box))) return false;
    if (!set("Notes", [this] { return ui->txtNote->toPlainText(); })) return false;
    if (!set("NoMoreChecks", [this] { return ui->chkNoAccept->isChecked(); })) return false;
    if (!set("Identification", textOf(ui->txtPersonalInfo))) return false;
    if (!set("CCName", [this] { return ui->cboCreditCards->currentText(); })) return false;
    if (!set("NameOnCard", textOf(ui->txtNameOnCC))) return false;
    // The scrambled number only: the plain number in txtCCNumber is never stored.
    if (!set("CCNumber", [this] { return ui->lblEncryptedCreditCard->caption(); })) return false;
    if (!set("ExpDate", textOf(ui->txtCCExpDate))) return false;
    if (!set("Verification", textOf(ui->txtVerification))) return false;
    if (followNames && !set("ShowAs", defaultShowAs)) return false;
    qint64 key = 0;
    if (!g.run([&] {
            key = rs.value(QStringLiteral("CustomerID")).toLongLong();
            rs.update();
        }))
        return false;
    // The key is shown once the row is written, so that it always names a stored customer.
    g.run([&] { setCustomerKey(key); });
    return true;
}

void frmCustomers::func_EnableControls(bool enable) {
    ErrorGuard g(location("func_EnableControls"));
    g.run([&] {
        ui->cmdNew->setText(enable ? NewCaption : SaveCaption);
        ui->cmdDelete->setText(enable ? DeleteCaption : CancelCaption);
        ui->cmdClose->setEnabled(enable);
        // A navigation would save the new entry over the customer shown before it.
        for (QPushButton* button : cmdCustomerNavigate)
            button->setEnabled(enable);
    });
}

bool frmCustomers::func_bAdjustForEmptyDatabase(bool enable) {
    ErrorGuard g(location("func_bAdjustForEmptyDatabase"));
    qint64 customers = 0;
    if (!g.run([&] { customers = data_lGetRecordCount(DatabasePath, Address); })) return false;
    if (customers != 0) return false;
    g.run([&] {
        func_ClearCustomerData();
        ui->tabCustomer->setEnabled(enable);
        ui->cmdDelete->setEnabled(enable);
        ui->cmdRevert->setEnabled(enable);
        setCustomerKey(0);
    });
    return true;
}

// ---- the card fields

void frmCustomers::func_SetEncryptedPassword() {
    ErrorGuard g(location("func_SetEncryptedPassword"));
    const QString plain = ui->txtCCNumber->text();
    if (plain.isEmpty()) {
        g.run([&] { ui->lblEncryptedCreditCard->setCaption(QString()); });
        return;
    }
    std::optional<QString> scrambled;
    if (!g.run([&] { scrambled = proc_sCrypticPassword(plain, true); })) return;
    g.run([&] {
        if (scrambled)
            ui->lblEncryptedCreditCard->setCaption(*scrambled);
        else
            lblEncryptedCreditCard_Change(); // the box shows again the number that will be stored
    });
}

void frmCustomers::lblEncryptedCreditCard_Change() {
    ErrorGuard g(location("lblEncryptedCreditCard_Change"));
    const QString stored = ui->lblEncryptedCreditCard->caption();
    std::optional<QString> plain = QString();
    if (!stored.isEmpty() && !g.run([&] { plain = proc_sCrypticPassword(stored, false); })) return;
    // A stored number that cannot be read back (reported already) shows as an empty box.
    g.run([&] { showText(ui->txtCCNumber, plain.value_or(QString())); });
}

void frmCustomers::txtCCNumber_LostFocus() {
    ErrorGuard g(location("txtCCNumber_LostFocus"));
    bool valid = true;
    if (!g.run([&] { valid = util_bValidCardNumber(ui->txtCCNumber->text()); })) return;
    if (!valid &&
        msgBox(
            QStringLiteral("The credit card number was likely not entered correctly. Would you like to try "
                           "entering it again?"),
            Platform::YesNo + Platform::Exclamation, QStringLiteral("Invalid Number")) == Platform::Yes) {
        g.run([&] { util_SelectAllText(ui->txtCCNumber); });
        return;
    }
    g.run([&] { func_SetEncryptedPassword(); });
}

void frmCustomers::txtCCExpDate_GotFocus() {
    ErrorGuard g(location("txtCCExpDate_GotFocus"));
    g.run([&] { util_SelectAllText(ui->txtCCExpDate); });
}

int frmCustomers::txtCCExpDate_KeyPress(int keyAscii) {
    ErrorGuard g(location("txtCCExpDate_KeyPress"));
    int result = 0;
    g.run([&] {
        const ExpiryKeyPress press = cust_ExpiryKeyPress(ui->txtCCExpDate->text(), keyAscii);
        if (press.rewrite) {
            ui->txtCCExpDate->setText(press.rewrite->text);
            ui->txtCCExpDate->setCursorPosition(press.rewrite->caret);
        }
        result = press.keyAscii;
    });
    return result;
}

void frmCustomers::txtCCExpDate_KeyUp(int keyCode) {
    ErrorGuard g(location("txtCCExpDate_KeyUp"));
    g.run([&] {
        if (const auto rewrite = cust_ExpiryKeyUp(ui->txtCCExpDate->text(), keyCode)) {
            ui->txtCCExpDate->setText(rewrite->text);
            ui->txtCCExpDate->setCursorPosition(rewrite->caret);
        }
    });
}

// ---- deletion

bool frmCustomers::func_bDoesCustomerHaveCases(qint64 customerId) {
    ErrorGuard g(location("func_bDoesCustomerHaveCases"));
    // Until the cases are known, the customer stays.
    bool mustStay = true;
    bool openCase = false;
    if (!g.run([&] {
            Database db = Database::open(DatabasePath);
            Recordset rs = db.openDynaset(cust_sCustomerCasesSQL(customerId, true));
            openCase = !data_bIsRecordsetEmpty(rs);
            rs.close();
        }))
        return mustStay;
    if (openCase) {
        msgBox(QStringLiteral("There is at least one open case for this customer."), Platform::Exclamation,
               QStringLiteral("Can't Delete Customer"));
        return mustStay;
    }
    qint64 cases = 0;
    if (!g.run(
            [&] { cases = data_lGetRecordCount(DatabasePath, cust_sCustomerCasesSQL(customerId, false)); }))
        return mustStay;
    if (cases == 0) return false;
    if (msgBox(cust_sClosedCasesQuestion(cases), Platform::YesNo + Platform::Question,
               QStringLiteral("Delete Customer With Cases?")) == Platform::No)
        return mustStay;
    // Cases that could not be deleted keep their customer.
    return !data_bDeleteSpecificRecordsInTable(DatabasePath, cust_sDeleteCustomerCasesSQL(customerId));
}

void frmCustomers::cmdDelete_Click() {
    ErrorGuard g(location("cmdDelete_Click"));
    if (ui->cmdDelete->text() == CancelCaption) {
        if (msgBox(QStringLiteral("Are you sure you want to cancel this new record?"),
                   Platform::YesNo + Platform::Question, QStringLiteral("Cancel Customer")) == Platform::No)
            return;
        if (!g.run([&] { func_EnableControls(true); })) return;
    } else {
        if (msgBox(QStringLiteral(
                       "Are you sure you want to eliminate this record?  It may prove to be a valuable "
                       "reference in the future."),
                   Platform::YesNo + Platform::Question, QStringLiteral("Delete Customer")) == Platform::No)
            return;
        const qint64 key = customerKey();
        // The closed cases and the customer go together or not at all.
        Database db;
        if (!g.run([&] {
                db = Database::open(DatabasePath);
                db.beginTrans();
            }))
            return;
        bool mustStay = true;
        g.run([&] { mustStay = func_bDoesCustomerHaveCases(key); });
        bool deleted = false;
        if (!mustStay) {
            g.run([&] {
                const bool stored = customerStored(key);
                data_DeleteRecord(DatabasePath, Address, PrimaryKey, Value(key));
                deleted = stored && !customerStored(key) && casesOf(key) == 0;
            });
        }
        const bool ended = g.runWhole([&] {
            if (deleted)
                db.commitTrans();
            else
                db.rollback();
        });
        if (!ended) g.run([&] { db.rollback(); });
        if (mustStay) return;
    }
    if (!g.run([&] { func_CustGetCustomerRecord(NoKey); })) return;
    g.run([&] { func_bAdjustForEmptyDatabase(false); });
}

// ---- events

void frmCustomers::Form_KeyDown(int) {
    bCustomerDirty = true;
}

void frmCustomers::chkNoAccept_MouseDown() {
    bCustomerDirty = true;
}

void frmCustomers::chkNoAccept_Click() {
    ErrorGuard g(location("chkNoAccept_Click"));
    g.run([&] { util_ColourCaptionByCheck(ui->chkNoAccept); });
}

void frmCustomers::cmdCustomerNavigate_Click(int index) {
    ErrorGuard g(location("cmdCustomerNavigate_Click"));
    BusyPointer busy;
    if (bCustomerDirty) {
        bCustomerDirty = false;
        bool saved = false;
        g.run([&] { saved = func_SaveCustomer(false); });
        if (!saved) {
            // What could not be written stays on the screen, still marked as changed.
            bCustomerDirty = true;
            return;
        }
    }
    g.run([&] { func_CustGetCustomerRecord(index == 0 || index == 3 ? NoKey : customerKey(), index); });
}

void frmCustomers::cmdNew_Click() {
    ErrorGuard g(location("cmdNew_Click"));
    if (ui->cmdNew->text() == NewCaption) {
        if (!g.run([&] { func_bAdjustForEmptyDatabase(true); })) return;
        if (!g.run([&] { func_ClearCustomerData(); })) return;
        if (!g.run([&] { func_EnableControls(false); })) return;
        if (!g.run([&] { ui->tabCustomer->setCurrentIndex(0); })) return;
        g.run([&] { ui->txtTitle->setFocus(Qt::OtherFocusReason); });
        return;
    }
    // A new customer that could not be added stays on the screen, still new.
    bool saved = false;
    if (!g.run([&] { saved = func_SaveCustomer(true); })) return;
    if (saved) g.run([&] { func_EnableControls(true); });
}

void frmCustomers::cmdRevert_Click() {
    ErrorGuard g(location("cmdRevert_Click"));
    g.run([&] { func_CustGetCustomerRecord(customerKey()); });
}

void frmCustomers::cmdClose_Click() {
    ErrorGuard g(location("cmdClose_Click"));
    if (bCustomerDirty) {
        bool saved = false;
        if (!g.run([&] { saved = func_SaveCustomer(false); })) return;
        if (!saved) return; // the changes stay on the screen
    }
    if (m_caseScreen) {
        if (!g.run([&] { m_caseScreen->showHandedBackCustomer(customerKey()); })) return;
    }
    g.run([&] { accept(); });
}

void frmCustomers::cmdHelp_Click() {
    ErrorGuard g(location("cmdHelp_Click"));
    if (!g.run([&] { HelpTopic = QStringLiteral("Add_a_new_customer.htm"); })) return;
    g.run([] { api_DisplayHTMLHelp(QStringLiteral("Topic")); });
}
