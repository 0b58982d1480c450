#include "customers/CustomerScreenSupport.h"

#include "app/AppInfo.h"
#include "data/engine/Database.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>

void CustomerScreenTest::TearDown() {
    screen.reset();
    Database::releaseAll();
}

qint64 CustomerScreenTest::addCustomer(const QMap<QString, Value>& fields) {
    Database db = Database::open(DatabasePath);
    Recordset rs = db.openTable("Address");
    rs.addNew();
    const qint64 id = rs.value("CustomerID").toLongLong();
    for (auto it = fields.begin(); it != fields.end(); ++it)
        rs.setValue(it.key(), it.value());
    rs.update();
    return id;
}

qint64 CustomerScreenTest::addCase(qint64 customer, bool open) {
    Database db = Database::open(DatabasePath);
    Recordset rs = db.openTable("Cases");
    rs.addNew();
    const qint64 id = rs.value("CaseID").toLongLong();
    rs.setValue("CustomerID", customer);
    rs.setValue("CaseOpen", open);
    rs.setValue("ReferenceNumber", QString("R%1").arg(id));
    rs.setValue("DateReceived", Value::date(QDate(2026, 10, 5)));
    rs.setValue("CheckAmount", Value::currency(120.5));
    rs.update();
    return id;
}

Value CustomerScreenTest::stored(qint64 customer, const QString& field) {
    Database db = Database::open(DatabasePath);
    Recordset rs = db.openTable("Address");
    rs.setIndex("PrimaryKey");
    rs.seek("=", customer);
    if (rs.noMatch()) return Value();
    return rs.value(field);
}

bool CustomerScreenTest::customerStored(qint64 customer) {
    return !stored(customer, "CustomerID").isEmpty();
}

int CustomerScreenTest::rows(const QString& table) {
    Database db = Database::open(DatabasePath);
    return db.openTable(table).recordCount();
}

int CustomerScreenTest::casesOf(qint64 customer) {
    Database db = Database::open(DatabasePath);
    return db.openDynaset(QString("SELECT * FROM Cases WHERE CustomerID = %1").arg(customer)).recordCount();
}

void CustomerScreenTest::execute(const QString& statement) {
    Database::open(DatabasePath).execute(statement);
}

frmCustomers& CustomerScreenTest::open() {
    screen = std::make_unique<frmCustomers>();
    screen->show();
    QApplication::setActiveWindow(screen.get());
    return *screen;
}

QLineEdit* CustomerScreenTest::box(const char* name) const {
    auto* found = screen->findChild<QLineEdit*>(name);
    if (!found) ADD_FAILURE() << "no box " << name;
    return found;
}

QPushButton* CustomerScreenTest::button(const char* name) const {
    auto* found = screen->findChild<QPushButton*>(name);
    if (!found) ADD_FAILURE() << "no button " << name;
    return found;
}

QTabWidget* CustomerScreenTest::tabs() const {
    return child<QTabWidget>("tabCustomer");
}

QCheckBox* CustomerScreenTest::noAccept() const {
    return screen->findChild<QCheckBox*>("chkNoAccept");
}

QComboBox* CustomerScreenTest::cards() const {
    return screen->findChild<QComboBox*>("cboCreditCards");
}

QString CustomerScreenTest::keyOnDisplay() const {
    return screen->findChild<QLabel*>("panCustomerNavigate")->text();
}

QString CustomerScreenTest::caption(const char* name) const {
    return button(name)->text();
}

void CustomerScreenTest::typeInto(const char* name, const QString& keys) {
    QLineEdit* target = box(name);
    target->setFocus(Qt::MouseFocusReason);
    target->end(false);
    QTest::keyClicks(target, keys);
}

void CustomerScreenTest::leaveBox() {
    button("cmdNew")->setFocus(Qt::MouseFocusReason);
}

void CustomerScreenTest::click(const char* name) {
    QTest::mouseClick(button(name), Qt::LeftButton);
}

void CustomerScreenTest::navigate(int index) {
    QTest::mouseClick(screen->cmdCustomerNavigate[index], Qt::LeftButton);
}

QStringList CustomerScreenTest::messageTexts() const {
    QStringList texts;
    for (const auto& m : platform->messages)
        texts << m.text;
    return texts;
}
