#include "cases/CaseScreenSupport.h"

#include "data/ConfigSettings.h"

void CaseScreenTest::SetUp() {
    ProgramTest::SetUp();
    writeSettings();
}

namespace {

// Adds a row to a table, with the given fields written after the defaults; returns its new key.
qint64 addRow(const QString& table, const QString& key, const QMap<QString, Value>& fields,
              const std::function<void(Recordset&, qint64)>& defaults = nullptr) {
    Recordset rs = Database::open(DatabasePath).openTable(table);
    rs.addNew();
    const qint64 id = rs.value(key).toLongLong();
    if (defaults) defaults(rs, id);
    for (auto it = fields.begin(); it != fields.end(); ++it) rs.setValue(it.key(), it.value());
    rs.update();
    return id;
}

Value storedField(const QString& table, qint64 id, const QString& field) {
    Recordset rs = Database::open(DatabasePath).openTable(table);
    rs.setIndex("PrimaryKey");
    rs.seek("=", id);
    return rs.noMatch() ? Value() : rs.value(field);
}

QString differing(const QList<std::pair<QString, QString>>& expected,
                  const std::function<QString(const QString&)>& found) {
    QStringList wrong;
    for (const auto& [name, want] : expected)
        if (const QString got = found(name); got != want)
            wrong << QString("%1 is \"%2\", not \"%3\"").arg(name, got, want);
    return wrong.join("; ");
}

} // namespace

void CaseScreenTest::writeSettings(double nsfFee, double percent, double dollars, bool includeNSF, int addNSF,
                                   const QString& agency) {
    config_WriteAll({{"CollectionCompanyName", agency},   {"CollectionOfficerName", "Pat Officer"},
                     {"CollectionChargePercent", percent}, {"CollectionChargeDollars", Value::currency(dollars)},
                     {"NSFfee", Value::currency(nsfFee)},  {"IncludeNSF", includeNSF}, {"AddNSF", addNSF}});
}

qint64 CaseScreenTest::addCustomer(const QMap<QString, Value>& fields) {
    return addRow("Address", "CustomerID", fields);
}

qint64 CaseScreenTest::addCase(qint64 customer, const QMap<QString, Value>& fields) {
    return addRow("Cases", "CaseID", fields, [&](Recordset& rs, qint64 id) {
        rs.setValue("CustomerID", customer);
        rs.setValue("CaseOpen", true);
        rs.setValue("ReferenceNumber", QString("REF%1").arg(id));
        rs.setValue("DateReceived", Value::date(QDateTime(QDate(2026, 11, 1), QTime(10, 0))));
    });
}

Value CaseScreenTest::caseField(qint64 caseId, const QString& field) const {
    return storedField("Cases", caseId, field);
}

Value CaseScreenTest::customerField(qint64 customer, const QString& field) const {
    return storedField("Address", customer, field);
}

QString CaseScreenTest::caseFieldsDiffering(qint64 caseId, const Texts& expected) const {
    return differing(expected, [&](const QString& field) { return caseField(caseId, field).toString(); });
}

QString CaseScreenTest::textsDiffering(const Texts& expected) const {
    return differing(expected, [&](const QString& name) { return text(name); });
}

qint64 CaseScreenTest::countRows(const QString& table) const {
    return Database::open(DatabasePath).openTable(table).recordCount();
}

frmCaseDetails& CaseScreenTest::open() {
    screen = std::make_unique<frmCaseDetails>();
    screen->Form_Load();
    screen->show();
    QApplication::setActiveWindow(screen.get());
    return *screen;
}

QString CaseScreenTest::text(const QString& name) const {
    // A drop-down's current text, a text area's plain text, or the text of a label, box or button.
    if (QObject* w = screen->findChild<QObject*>(name))
        for (const char* property : {"currentText", "plainText", "text"})
            if (const QVariant shown = w->property(property); shown.isValid()) return shown.toString();
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
    child<QLineEdit>(name)->selectAll(); // kept when the box takes the focus
    type(name, keys);
}
