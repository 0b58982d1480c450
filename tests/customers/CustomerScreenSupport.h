#pragma once

#include "customers/frmCustomers.h"
#include "data/engine/Value.h"
#include "support/TestFixtures.h"

#include <QMap>
#include <QString>
#include <memory>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;
class QTabWidget;

// Customer screen tests: customers and cases written straight into the program folder's database, and
// the screen itself, shown (which loads it) as the active window of the offscreen platform.
class CustomerScreenTest : public ProgramTest {
protected:
    void TearDown() override;

    static qint64 addCustomer(const QMap<QString, Value>& fields);
    static qint64 addCase(qint64 customer, bool open);
    // A field of a stored customer as it is in the file (Empty when the customer is not stored).
    static Value stored(qint64 customer, const QString& field);
    static bool customerStored(qint64 customer);
    static int rows(const QString& table);
    static int casesOf(qint64 customer);
    // Runs a statement on the database (a trigger that makes a write fail, a table dropped).
    static void execute(const QString& statement);

    frmCustomers& open();

    template <class T> T* child(const char* name) const {
        T* found = screen->findChild<T*>(name);
        if (!found) ADD_FAILURE() << "no control " << name;
        return found;
    }
    QTabWidget* tabs() const;
    QLineEdit* box(const char* name) const;
    QPushButton* button(const char* name) const;
    QCheckBox* noAccept() const;
    QComboBox* cards() const;
    QString keyOnDisplay() const;
    QString caption(const char* button) const;
    // Goes into a box as the user does and types there, key by key.
    void typeInto(const char* name, const QString& keys);
    // Leaves the box that has the focus for the screen's "&New" button, as a mouse press would.
    void leaveBox();
    void click(const char* name);
    void navigate(int index);
    // The texts of the message boxes shown so far.
    QStringList messageTexts() const;

    std::unique_ptr<frmCustomers> screen;
};
