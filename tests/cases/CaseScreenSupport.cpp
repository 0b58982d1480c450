#include "cases/CaseScreenSupport.h"

#include <QPlainTextEdit>

void CaseScreenTest::SetUp() {
    ProgramTest::SetUp();
    writeSettings();
}

void CaseScreenTest::writeSettings(double nsfFee, double percent, double dollars, bool includeNSF, int addNSF,
                                   const QString& agency) {
    Database db = Database::open(DatabasePath);
    Recordset rs = db.openTable("Config");
    if (rs.bof() && rs.eof())
        rs.addNew();
    else
        rs.edit();
    rs.setValue("CollectionCompanyName", agency);
    rs.setValue("CollectionOfficerName", "Pat Officer");
    rs.setValue("CollectionChargePercent", percent);
    rs.setValue("CollectionChargeDollars", Value::currency(dollars));
    rs.setValue("NSFfee", Value::currency(nsfFee));
    rs.setValue("IncludeNSF", includeNSF);
    rs.setValue("AddNSF", addNSF);
    rs.update();
}

qint64 CaseScreenTest::addCustomer(const QMap<QString, Value>& fields) {
    Database db = Database::open(DatabasePath);
    Recordset rs = db.openTable("Address");
    rs.addNew();
    const qint64 id = rs.value("CustomerID").toLongLong();
    for (auto it = fields.begin(); it != fields.end(); ++it) rs.setValue(it.key(), it.value());
    rs.update();
    return id;
}

qint64 CaseScreenTest::addCase(qint64 customer, const QMap<QString, Value>& fields) {
    Database db = Database::open(DatabasePath);
    Recordset rs = db.openTable("Cases");
    rs.addNew();
    const qint64 id = rs.value("CaseID").toLongLong();
    rs.setValue("CustomerID", customer);
    rs.setValue("CaseOpen", true);
    rs.setValue("ReferenceNumber", QString("REF%1").arg(id));
    rs.setValue("DateReceived", Value::date(QDateTime(QDate(2026, 11, 1), QTime(10, 0))));
    for (auto it = fields.begin(); it != fields.end(); ++it) rs.setValue(it.key(), it.value());
    rs.update();
    return id;
}

Value CaseScreenTest::caseField(qint64 caseId, const QString& field) const {
    Database db = Database::open(DatabasePath);
    Recordset rs = db.openTable("Cases");
    rs.setIndex("PrimaryKey");
    rs.seek("=", caseId);
    if (rs.noMatch()) return Value();
    return rs.value(field);
}

Value CaseScreenTest::customerField(qint64 customer, const QString& field) const {
    Recordset rs = Database::open(DatabasePath).openTable("Address");
    rs.setIndex("PrimaryKey");
    rs.seek("=", customer);
    return rs.noMatch() ? Value() : rs.value(field);
}

qint64 CaseScreenTest::countRows(const QString& table) const {
    Database db = Database::open(DatabasePath);
    return db.openTable(table).recordCount();
}

frmCaseDetails& CaseScreenTest::open() {
    screen = std::make_unique<frmCaseDetails>();
    screen->Form_Load();
    screen->show();
    QApplication::setActiveWindow(screen.get());
    return *screen;
}

QString CaseScreenTest::text(const QString& name) const {
    QObject* w = screen->findChild<QObject*>(name);
    if (auto* label = qobject_cast<QLabel*>(w)) return label->text();
    if (auto* edit = qobject_cast<QLineEdit*>(w)) return edit->text();
    if (auto* combo = qobject_cast<QComboBox*>(w)) return combo->currentText();
    if (auto* plain = qobject_cast<QPlainTextEdit*>(w)) return plain->toPlainText();
    if (auto* button = qobject_cast<QAbstractButton*>(w)) return button->text();
    ADD_FAILURE() << "no text control " << name.toStdString();
    return QString();
}

void CaseScreenTest::userClick(const QString& name) {
    auto* button = child<QAbstractButton>(name);
    button->setFocus(Qt::MouseFocusReason);
    QTest::mouseClick(button, Qt::LeftButton);
}

void CaseScreenTest::type(const QString& name, const QString& keys) {
    auto* w = child<QWidget>(name);
    w->setFocus(Qt::OtherFocusReason);
    QTest::keyClicks(w, keys);
}

void CaseScreenTest::retype(const QString& name, const QString& keys) {
    auto* edit = child<QLineEdit>(name);
    edit->setFocus(Qt::OtherFocusReason);
    edit->selectAll();
    QTest::keyClicks(edit, keys);
}
