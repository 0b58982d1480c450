#pragma once

#include "cases/frmCaseDetails.h"
#include "core/AppInfo.h"
#include "core/Value.h"
#include "data/engine/Database.h"
#include "support/TestFixtures.h"

// The controls the case, customer and overview tests reach, and QTest, for every such test.
#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMap>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTest>
#include <QWidget>

// Case screen tests: a program folder whose database has the agency settings filled in (so that the
// screen does not ask for them), helpers that write customers and cases straight into the file, and
// the screen itself, loaded and shown on the offscreen platform.
class CaseScreenTest : public ProgramTest {
protected:
    void SetUp() override;

    // Writes the settings row of Config.
    void writeSettings(double nsfFee = 20, double percent = 30, double dollars = 25, bool includeNSF = false,
                       int addNSF = 0, const QString& agency = "Reliable Collections");
    qint64 addCustomer(const QMap<QString, Value>& fields);
    qint64 addCase(qint64 customer, const QMap<QString, Value>& fields = {});
    Value caseField(qint64 caseId, const QString& field) const;
    Value customerField(qint64 customer, const QString& field) const; // Empty when not stored
    qint64 countRows(const QString& table) const;
    // Those of the given fields of a stored case, or texts of controls, that differ from the ones given,
    // each as `name is "found", not "expected"`; empty when all agree.
    using Texts = QList<std::pair<QString, QString>>;
    QString caseFieldsDiffering(qint64 caseId, const Texts& expected) const;
    QString textsDiffering(const Texts& expected) const;

    // Builds the case screen, runs its loading and shows it.
    frmCaseDetails& open();

    template <class T> T* child(const QString& name) const {
        T* w = screen->findChild<T*>(name);
        if (!w) ADD_FAILURE() << "no control " << name.toStdString();
        return w;
    }
    QString text(const QString& name) const; // the text of a label, box or drop-down
    // A user's click on a check box or option: the control takes the focus first, as under the mouse.
    void userClick(const QString& name);
    // Types text into a box that has the focus, key by key.
    void type(const QString& name, const QString& keys);
    // Replaces the text of a box as the user does: the box takes the focus, its text is selected, keys.
    void retype(const QString& name, const QString& keys);

    std::unique_ptr<frmCaseDetails> screen;
};
