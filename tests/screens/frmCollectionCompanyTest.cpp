#include "screens/frmCollectionCompany.h"
#include "app/AppInfo.h"
#include "app/ErrorHandling.h"
#include "data/engine/Database.h"
#include "support/TestFixtures.h"

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QPushButton>
#include <QTest>

namespace {

using Setting = std::pair<const char*, Value>;

class frmCollectionCompanyTest : public ProgramTest {
protected:
    void TearDown() override { Database::releaseAll(); }

    // The program folder's new database has an empty Config; this gives it its one row.
    static void addConfigRow(const std::vector<Setting>& settings) {
        Recordset rs = Database::open(SettingsDatabasePath).openTable("Config");
        rs.addNew();
        for (const auto& [field, value] : settings)
            rs.setValue(field, value);
        rs.setValue("AddNSF", 3);
        rs.setValue("CompanyName", "Harbour Hardware");
        rs.update();
    }
    static std::vector<Setting> sampleRow() {
        return {{"CollectionCompanyName", "Apex Recovery"},
                {"CollectionOfficerName", "Dana O'Neil"},
                {"CollectionChargePercent", 7.125},
                {"CollectionChargeDollars", Value::currency(15)},
                {"CourtCosts", Value::currency(85.5)},
                {"NSFfee", Value::currency(12.345)},
                {"IncludeNSF", true}};
    }
    // A field of the first Config row as it is in the file.
    static Value stored(const char* field) {
        return Database::open(SettingsDatabasePath).openTable("Config").value(field);
    }
    static int configRows() { return Database::open(SettingsDatabasePath).openTable("Config").recordCount(); }

    std::unique_ptr<frmCollectionCompany> open(QWidget* parent = nullptr) {
        auto screen = std::make_unique<frmCollectionCompany>(parent);
        screen->show();
        QApplication::setActiveWindow(screen.get());
        return screen;
    }
    static QLineEdit* box(QWidget* screen, const char* name) {
        auto* found = screen->findChild<QLineEdit*>(name);
        EXPECT_NE(found, nullptr) << name;
        return found;
    }
    static QCheckBox* includeNsf(QWidget* screen) { return screen->findChild<QCheckBox*>("chkIncludeNSF"); }
    static QPushButton* button(QWidget* screen, const char* name) {
        return screen->findChild<QPushButton*>(name);
    }

    // Goes into a box, types, and leaves it again. (Entered by a way after which the box itself would
    // not select its text, so that the screen's own selecting counts.)
    static void typeInto(QWidget* screen, const char* name, const QString& keys) {
        QLineEdit* target = box(screen, name);
        target->setFocus(Qt::OtherFocusReason);
        QTest::keyClicks(target, keys);
        button(screen, "cmdCancel")->setFocus(Qt::TabFocusReason);
    }
};

TEST_F(frmCollectionCompanyTest, AmountBoxesShowTheirFormatOnLeaving) {
    addConfigRow({});
    auto screen = open();
    ASSERT_EQ(box(screen.get(), "txtCollectionPercent")->text(), "0.00");

    typeInto(screen.get(), "txtCollectionPercent", "12.5");
    EXPECT_EQ(box(screen.get(), "txtCollectionPercent")->text(), "12.50")
        << "entering selects the old text, so the typing replaces it";
    typeInto(screen.get(), "txtCourtCosts", "25");
    EXPECT_EQ(box(screen.get(), "txtCourtCosts")->text(), "$25.00");
    typeInto(screen.get(), "txtCollectionDollar", "1234.5");
    EXPECT_EQ(box(screen.get(), "txtCollectionDollar")->text(), "$1,234.50");
    typeInto(screen.get(), "txtNSFfee", "7");
    EXPECT_EQ(box(screen.get(), "txtNSFfee")->text(), "$7.00");

    // Coming back to a formatted box and typing again replaces the formatted text.
    typeInto(screen.get(), "txtCourtCosts", "40.25");
    EXPECT_EQ(box(screen.get(), "txtCourtCosts")->text(), "$40.25");

    // A name box is no amount: its text stays as typed.
    typeInto(screen.get(), "txtCollectionCompany", "12.5");
    EXPECT_EQ(box(screen.get(), "txtCollectionCompany")->text(), "12.5");
}

TEST_F(frmCollectionCompanyTest, AmountBoxesTakeOnlyDigitsAndOnePoint) {
    addConfigRow({});
    auto screen = open();
    QLineEdit* percent = box(screen.get(), "txtCollectionPercent");
    percent->setFocus(Qt::TabFocusReason);
    QTest::keyClicks(percent, "1a2.3.4b-");
    EXPECT_EQ(percent->text(), "12.34") << "letters, a sign and the second point are discarded";
    QTest::keyClick(percent, Qt::Key_Backspace);
    QTest::keyClick(percent, Qt::Key_Backspace);
    QTest::keyClick(percent, Qt::Key_Backspace);
    EXPECT_EQ(percent->text(), "12");
    QTest::keyClicks(percent, ".5");
    EXPECT_EQ(percent->text(), "12.5") << "with the point gone another may be typed";

    QLineEdit* fee = box(screen.get(), "txtNSFfee");
    fee->setFocus(Qt::TabFocusReason);
    QTest::keyClicks(fee, "$2x0");
    EXPECT_EQ(fee->text(), "20");

    QLineEdit* company = box(screen.get(), "txtCollectionCompany");
    company->setFocus(Qt::TabFocusReason);
    QTest::keyClicks(company, "Apex 2.0 Ltd.");
    EXPECT_EQ(company->text(), "Apex 2.0 Ltd.") << "the name boxes take any text";
}

TEST_F(frmCollectionCompanyTest, OpeningShowsTheSettingsOfConfig) {
    addConfigRow(sampleRow());
    QWidget caseScreen;
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::darkGreen);
    caseScreen.setWindowIcon(QIcon(pixmap));
    auto screen = open(&caseScreen);

    EXPECT_EQ(screen->windowTitle(), "Collection Information");
    EXPECT_EQ(box(screen.get(), "txtCollectionCompany")->text(), "Apex Recovery");
    EXPECT_EQ(box(screen.get(), "txtCollectionContact")->text(), "Dana O'Neil");
    EXPECT_EQ(box(screen.get(), "txtCollectionPercent")->text(), "7.13");
    EXPECT_EQ(box(screen.get(), "txtCollectionDollar")->text(), "$15.00");
    EXPECT_EQ(box(screen.get(), "txtCourtCosts")->text(), "$85.50");
    EXPECT_EQ(box(screen.get(), "txtNSFfee")->text(), "$12.35");
    EXPECT_TRUE(includeNsf(screen.get())->isChecked());
    EXPECT_EQ(screen->windowIcon().cacheKey(), caseScreen.windowIcon().cacheKey())
        << "the screen carries the icon of the screen that opened it";
    EXPECT_EQ(platform->pointer, -1) << "the busy pointer of the opening is gone";
    EXPECT_TRUE(std::find(platform->pointerHistory.begin(), platform->pointerHistory.end(),
                          int(Qt::WaitCursor)) != platform->pointerHistory.end())
        << "the opening shows the busy pointer";

    // A second showing does not read Config again over what the user typed.
    box(screen.get(), "txtCollectionCompany")->setText("Typed");
    screen->hide();
    screen->show();
    EXPECT_EQ(box(screen.get(), "txtCollectionCompany")->text(), "Typed");
}

TEST_F(frmCollectionCompanyTest, SettingsWithoutValuesShowEmptyNamesAndZeroAmounts) {
    addConfigRow({{"CourtCosts", Value::currency(30)}, {"IncludeNSF", false}}); // the rest Null
    auto screen = open();
    EXPECT_EQ(box(screen.get(), "txtCollectionCompany")->text(), "");
    EXPECT_EQ(box(screen.get(), "txtCollectionContact")->text(), "");
    EXPECT_EQ(box(screen.get(), "txtCourtCosts")->text(), "$30.00");
    EXPECT_EQ(box(screen.get(), "txtNSFfee")->text(), "$0.00");
    EXPECT_EQ(box(screen.get(), "txtCollectionPercent")->text(), "0.00");
    EXPECT_FALSE(includeNsf(screen.get())->isChecked());
    EXPECT_TRUE(platform->errorReports.empty());
    EXPECT_TRUE(platform->messages.empty());
}

TEST_F(frmCollectionCompanyTest, CancelLeavesConfigAsItWas) {
    addConfigRow(sampleRow());
    auto screen = open();
    typeInto(screen.get(), "txtCollectionCompany", " and Sons");
    typeInto(screen.get(), "txtNSFfee", "99");
    includeNsf(screen.get())->setChecked(false);
    QTest::mouseClick(button(screen.get(), "cmdCancel"), Qt::LeftButton);

    EXPECT_FALSE(screen->isVisible());
    EXPECT_EQ(screen->result(), QDialog::Rejected);
    EXPECT_EQ(stored("CollectionCompanyName").toString(), "Apex Recovery");
    EXPECT_EQ(stored("NSFfee").toDouble(), 12.345);
    EXPECT_TRUE(stored("IncludeNSF").toBool());
    EXPECT_EQ(stored("CollectionChargePercent").toDouble(), 7.125);
}

TEST_F(frmCollectionCompanyTest, OkWritesEverySettingAsShown) {
    addConfigRow(sampleRow());
    auto screen = open();
    box(screen.get(), "txtCollectionContact")->clear();
    typeInto(screen.get(), "txtCollectionContact", "Lee Park");
    QTest::mouseClick(button(screen.get(), "cmdExitCategories"), Qt::LeftButton);

    EXPECT_FALSE(screen->isVisible());
    EXPECT_EQ(screen->result(), QDialog::Accepted);
    EXPECT_EQ(configRows(), 1) << "the row is changed, not added";
    EXPECT_EQ(stored("CollectionOfficerName").toString(), "Lee Park");
    // The unchanged settings are written as well, from what the screen shows: the amounts as rounded
    // for display.
    EXPECT_EQ(stored("CollectionCompanyName").toString(), "Apex Recovery");
    EXPECT_EQ(stored("CollectionChargePercent").toDouble(), 7.13);
    EXPECT_EQ(stored("CollectionChargeDollars").toDouble(), 15.0);
    EXPECT_EQ(stored("CourtCosts").toDouble(), 85.5);
    EXPECT_EQ(stored("NSFfee").toDouble(), 12.35);
    EXPECT_TRUE(stored("IncludeNSF").toBool());
    // The other settings of the row are left alone.
    EXPECT_EQ(stored("AddNSF").toLongLong(), 3);
    EXPECT_EQ(stored("CompanyName").toString(), "Harbour Hardware");
}

TEST_F(frmCollectionCompanyTest, OkOnAnEmptyConfigAddsTheRow) {
    ASSERT_EQ(configRows(), 0) << "a new database starts with an empty Config";
    auto screen = open();
    EXPECT_EQ(box(screen.get(), "txtNSFfee")->text(), "$0.00")
        << "an empty Config leaves the starting values";
    EXPECT_TRUE(platform->errorReports.empty());

    typeInto(screen.get(), "txtCollectionCompany", "First Agency");
    typeInto(screen.get(), "txtCollectionPercent", "20");
    typeInto(screen.get(), "txtNSFfee", "25");
    box(screen.get(), "txtCourtCosts")->clear();
    includeNsf(screen.get())->setChecked(true);
    QTest::mouseClick(button(screen.get(), "cmdExitCategories"), Qt::LeftButton);

    EXPECT_FALSE(screen->isVisible());
    ASSERT_EQ(configRows(), 1) << "the first row is made";
    EXPECT_EQ(stored("CollectionCompanyName").toString(), "First Agency");
    EXPECT_EQ(stored("CollectionChargePercent").toDouble(), 20.0);
    EXPECT_EQ(stored("NSFfee").toDouble(), 25.0);
    EXPECT_FALSE(stored("CourtCosts").isNull());
    EXPECT_EQ(stored("CourtCosts").toDouble(), 0.0) << "an empty amount box is saved as 0";
    EXPECT_TRUE(stored("IncludeNSF").toBool());

    // Saved again: still the one row.
    auto again = open();
    EXPECT_EQ(box(again.get(), "txtCollectionCompany")->text(), "First Agency");
    QTest::mouseClick(button(again.get(), "cmdExitCategories"), Qt::LeftButton);
    EXPECT_EQ(configRows(), 1);
}

TEST_F(frmCollectionCompanyTest, AnAmountThatIsNoNumberIsReportedAndTheScreenStays) {
    addConfigRow(sampleRow());
    auto screen = open();
    box(screen.get(), "txtCourtCosts")->setText("about 40"); // pasted, past the key filter
    platform->errorAnswers.push_back({ErrorActions::Leave, false});
    QTest::mouseClick(button(screen.get(), "cmdExitCategories"), Qt::LeftButton);

    ASSERT_EQ(platform->errorReports.size(), 1u);
    EXPECT_EQ(platform->errorReports[0].number, 13);
    EXPECT_EQ(platform->errorReports[0].location, "frmCollectionCompany ! func_SaveData");
    EXPECT_TRUE(screen->isVisible()) << "the entry stays for correcting";
    EXPECT_EQ(stored("CourtCosts").toDouble(), 85.5) << "nothing of the failed save is written";
    EXPECT_EQ(stored("NSFfee").toDouble(), 12.345);
}

TEST_F(frmCollectionCompanyTest, LabelsLimitsAndToolTips) {
    addConfigRow({});
    auto screen = open();
    const struct {
        const char* label;
        const char* box;
        const char* caption;
        const char* tip;
    } rows[] = {
        {"lblCollectionCompany", "txtCollectionCompany", "Collection company &name:", ""},
        {"lblCollectionContact", "txtCollectionContact", "Collection &officers' name:", ""},
        {"lblCollectionPercent", "txtCollectionPercent",
         "Coll&ection charges (%):", "If the collection agency retains a percentage"},
        {"lblCollectionDollar", "txtCollectionDollar",
         "Collection ch&arges ($):", "If the collection agency charges a flat fee"},
        {"lblCourtCosts", "txtCourtCosts",
         "&Typical court costs:", "Typical cost if taking case to small claims court"},
        {"lblNSFfee", "txtNSFfee", "Our own &processing fee:", "Allow for administration costs and bank fee"},
    };
    for (const auto& row : rows) {
        auto* label = screen->findChild<QLabel*>(row.label);
        ASSERT_NE(label, nullptr) << row.label;
        EXPECT_EQ(label->text(), row.caption);
        EXPECT_EQ(label->buddy(), box(screen.get(), row.box)) << "the access key reaches " << row.box;
        EXPECT_EQ(box(screen.get(), row.box)->toolTip(), row.tip);
    }
    EXPECT_EQ(box(screen.get(), "txtCollectionCompany")->maxLength(), 50);
    EXPECT_EQ(box(screen.get(), "txtCollectionContact")->maxLength(), 50);
    EXPECT_GT(box(screen.get(), "txtCourtCosts")->maxLength(), 50) << "the amount boxes have no limit";
    EXPECT_EQ(includeNsf(screen.get())->text(),
              "&Collection charges (%) also applies to our processing fee:");
    EXPECT_EQ(includeNsf(screen.get())->toolTip(),
              "Collection agency also gets a precent of the processing fee");
    EXPECT_EQ(button(screen.get(), "cmdExitCategories")->text(), "&OK");
    EXPECT_EQ(button(screen.get(), "cmdCancel")->text(), "Cance&l");

    QTest::keyClicks(box(screen.get(), "txtCollectionCompany"), QString(60, 'x'));
    EXPECT_EQ(box(screen.get(), "txtCollectionCompany")->text().size(), 50);
}

TEST_F(frmCollectionCompanyTest, HelpButtonsOpenTheirTopics) {
    addConfigRow({});
    auto screen = open();
    const char* topics[3] = {"Processing_Fee.htm", "Collection_Charges.htm", "Collection_Info.htm"};
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(screen->cmdHelp[i]->objectName(), QString("cmdHelp_%1").arg(i));
        QTest::mouseClick(screen->cmdHelp[i], Qt::LeftButton);
        ASSERT_EQ(platform->helpCalls.size(), size_t(i + 1));
        EXPECT_EQ(platform->helpCalls[i].command, Platform::HelpCommand::Topic);
        EXPECT_EQ(platform->helpCalls[i].topic, topics[i]);
        EXPECT_EQ(platform->helpCalls[i].helpFile, HelpFile);
    }
    EXPECT_TRUE(screen->isVisible()) << "help leaves the screen open";
}

} // namespace
