#pragma once

#include "cases/CaseScreenSupport.h"
#include "customers/frmCustomers.h"

// Customer screen tests: the case screen's fixture (its database helpers, and its screen where the
// customer screen is opened from there) with the customer screen shown as the active window.
class CustomerScreenTest : public CaseScreenTest {
protected:
    void TearDown() override {
        customers.reset();
        screen.reset();
        Database::releaseAll();
    }

    qint64 closedCase(qint64 customer) { return addCase(customer, {{"CaseOpen", false}}); }
    // A field of a stored customer as it is in the file (Empty when the customer is not stored).
    Value stored(qint64 customer, const QString& field) const { return customerField(customer, field); }
    bool customerStored(qint64 customer) const { return !stored(customer, "CustomerID").isEmpty(); }
    static int casesOf(qint64 customer) {
        return Database::open(DatabasePath)
            .openDynaset(QString("SELECT * FROM Cases WHERE CustomerID = %1").arg(customer))
            .recordCount();
    }
    static void execute(const QString& statement) { Database::open(DatabasePath).execute(statement); }

    frmCustomers& openCustomers() {
        customers = std::make_unique<frmCustomers>();
        customers->show();
        QApplication::setActiveWindow(customers.get());
        return *customers;
    }
    template <class T> T* control(const char* name) const {
        T* found = onDisplay().findChild<T*>(name);
        if (!found) ADD_FAILURE() << "no control " << name;
        return found;
    }
    QLineEdit* box(const char* name) const { return control<QLineEdit>(name); }
    QString boxText(const char* name) const { return box(name)->text(); }
    QPushButton* button(const char* name) const { return control<QPushButton>(name); }
    QString caption(const char* name) const { return button(name)->text(); }
    QTabWidget* tabs() const { return control<QTabWidget>("tabCustomer"); }
    QString keyOnDisplay() const { return control<QLabel>("panCustomerNavigate")->text(); }

    // Goes into a box as the user does and types there, key by key.
    void typeInto(const char* name, const QString& keys) {
        box(name)->setFocus(Qt::MouseFocusReason);
        box(name)->end(false);
        QTest::keyClicks(box(name), keys);
    }
    // Leaves the box that has the focus for the "&New" button, as a mouse press would.
    void leaveBox() { button("cmdNew")->setFocus(Qt::MouseFocusReason); }
    void click(const char* name) { QTest::mouseClick(button(name), Qt::LeftButton); }
    void navigate(int index) { QTest::mouseClick(onDisplay().cmdCustomerNavigate[index], Qt::LeftButton); }
    // The screen the helpers work on: the one another screen shows while it shows it, else the own one.
    frmCustomers& onDisplay() const { return shown ? *shown : *customers; }

    std::unique_ptr<frmCustomers> customers;
    frmCustomers* shown = nullptr;
};
