#include "core/AppInfo.h"
#include "core/ErrorHandling.h"
#include "data/ConfigSettings.h"
#include "data/engine/Database.h"
#include "screens/frmCollectionCompany.h"
#include "support/TestFixtures.h"

#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QPixmap>
#include <QPushButton>
#include <QTest>

namespace {

class frmCollectionCompanyTest : public ProgramTest {
protected:
    void TearDown() override { screen.reset(), Database::releaseAll(); }

    // The program folder's new database has an empty Config; this gives it its one row, with the
    // sample settings unless told otherwise.
    static void addConfigRow(QList<std::pair<QString, Value>> settings = {
            {"CollectionCompanyName", "Apex Recovery"}, {"CollectionOfficerName", "Dana O'Neil"},
            {"CollectionChargePercent", 7.125}, {"CollectionChargeDollars", Value::currency(15)},
            {"CourtCosts", Value::currency(85.5)}, {"NSFfee", Value::currency(12.345)}, {"IncludeNSF", true}}) {
        config_WriteAll(settings << std::pair{"AddNSF", 3} << std::pair{"CompanyName", "Harbour Hardware"});
    }
    // A field of the first Config row as it is in the file.
    static Value stored(const char* field) {
        return Database::open(SettingsDatabasePath).openTable("Config").value(field);
    }
    static int configRows() { return Database::open(SettingsDatabasePath).openTable("Config").recordCount(); }
    // The amounts of Config as written, in the order of the screen's boxes.
    static std::vector<double> storedAmounts() {
        std::vector<double> amounts;
        for (const char* field : {"CollectionChargePercent", "CollectionChargeDollars", "CourtCosts", "NSFfee"})
            amounts.push_back(stored(field).toDouble());
        return amounts;
    }

    void open(QWidget* parent = nullptr) {
        screen = std::make_unique<frmCollectionCompany>(parent);
        screen->show();
        QApplication::setActiveWindow(screen.get());
    }
    QLineEdit* box(const char* name) const {
        auto* found = screen->findChild<QLineEdit*>(name);
        EXPECT_NE(found, nullptr) << name;
        return found;
    }
    QCheckBox* includeNsf() const { return screen->findChild<QCheckBox*>("chkIncludeNSF"); }
    void click(const char* button) const {
        QTest::mouseClick(screen->findChild<QPushButton*>(button), Qt::LeftButton);
    }

    // Goes into a box, types, and leaves it again. (Entered by a way after which the box itself would
    // not select its text, so that the screen's own selecting counts.)
    void typeInto(const char* name, const QString& keys) const {
        box(name)->setFocus(Qt::OtherFocusReason);
        QTest::keyClicks(box(name), keys);
        screen->findChild<QPushButton*>("cmdCancel")->setFocus(Qt::TabFocusReason);
    }

    QWidget opener; // declared first: it outlives a screen it opened
    std::unique_ptr<frmCollectionCompany> screen;
};

TEST_F(frmCollectionCompanyTest, AmountBoxesShowTheirFormatTakeDigitsAndOnePointAndFormatOnLeaving) {
    addConfigRow({{"CourtCosts", Value::currency(30)}, {"IncludeNSF", false}}); // the rest Null
    open();
    // Settings without values show as empty names and zero amounts.
    const std::pair<const char*, const char*> shown[] = {
        {"txtCollectionCompany", ""}, {"txtCollectionContact", ""}, {"txtCourtCosts", "$30.00"},
        {"txtNSFfee", "$0.00"}, {"txtCollectionPercent", "0.00"}};
    for (const auto& [name, text] : shown) EXPECT_EQ(box(name)->text(), QString(text)) << name;
    EXPECT_FALSE(includeNsf()->isChecked());

    // Entering selects the old text, so the typing replaces it; a name box is no amount.
    const std::tuple<const char*, const char*, const char*> typed[] = {
        {"txtCollectionPercent", "12.5", "12.50"}, {"txtCourtCosts", "25", "$25.00"},
        {"txtCollectionDollar", "1234.5", "$1,234.50"}, {"txtNSFfee", "$7x", "$7.00"},
        {"txtCourtCosts", "40.25", "$40.25"}, {"txtCollectionPercent", "1a2.3.4b-", "12.34"},
        {"txtCollectionCompany", "Apex 2.0 Ltd.", "Apex 2.0 Ltd."}};
    for (const auto& [name, keys, formatted] : typed) {
        typeInto(name, keys);
        EXPECT_EQ(box(name)->text(), QString(formatted)) << name << " " << keys;
    }
}

TEST_F(frmCollectionCompanyTest, OpeningShowsTheSettingsOfConfigOnce) {
    addConfigRow();
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::darkGreen);
    opener.setWindowIcon(QIcon(pixmap));
    open(&opener);

    const std::pair<const char*, const char*> shown[] = {{"txtCollectionCompany", "Apex Recovery"},
        {"txtCollectionContact", "Dana O'Neil"}, {"txtCollectionPercent", "7.13"},
        {"txtCollectionDollar", "$15.00"}, {"txtCourtCosts", "$85.50"}, {"txtNSFfee", "$12.35"}};
    for (const auto& [name, text] : shown) EXPECT_EQ(box(name)->text(), QString(text)) << name;
    EXPECT_TRUE(includeNsf()->isChecked());
    EXPECT_EQ(screen->windowIcon().cacheKey(), opener.windowIcon().cacheKey())
        << "the screen carries the icon of the screen that opened it";
    EXPECT_EQ(platform->pointerHistory, (std::vector<int>{Qt::WaitCursor, -1})) << "the busy pointer while opening";

    // A second showing does not read Config again over what the user typed.
    box("txtCollectionCompany")->setText("Typed");
    screen->hide();
    screen->show();
    EXPECT_EQ(box("txtCollectionCompany")->text(), "Typed");
}

TEST_F(frmCollectionCompanyTest, CancelLeavesConfigAsItWasAndOkWritesEverySettingAsShown) {
    addConfigRow();
    open();
    typeInto("txtCollectionCompany", " and Sons");
    typeInto("txtNSFfee", "99");
    includeNsf()->setChecked(false);
    click("cmdCancel");
    EXPECT_FALSE(screen->isVisible());
    EXPECT_EQ(stored("CollectionCompanyName").toString(), "Apex Recovery");
    EXPECT_EQ(storedAmounts(), (std::vector<double>{7.125, 15, 85.5, 12.345}));
    EXPECT_TRUE(stored("IncludeNSF").toBool());

    open();
    box("txtCollectionContact")->clear();
    typeInto("txtCollectionContact", "Lee Park");
    click("cmdExitCategories");

    EXPECT_FALSE(screen->isVisible());
    EXPECT_EQ(screen->result(), QDialog::Accepted);
    EXPECT_EQ(configRows(), 1) << "the row is changed, not added";
    EXPECT_EQ(stored("CollectionOfficerName").toString(), "Lee Park");
    // The other settings are written too, from what the screen shows: amounts as rounded for display.
    EXPECT_EQ(stored("CollectionCompanyName").toString(), "Apex Recovery");
    EXPECT_EQ(storedAmounts(), (std::vector<double>{7.13, 15, 85.5, 12.35}));
    EXPECT_TRUE(stored("IncludeNSF").toBool());
    EXPECT_EQ(stored("AddNSF").toLongLong(), 3);
    EXPECT_EQ(stored("CompanyName").toString(), "Harbour Hardware");
}

TEST_F(frmCollectionCompanyTest, OkOnAnEmptyConfigAddsTheRow) {
    ASSERT_EQ(configRows(), 0) << "a new database starts with an empty Config";
    open();
    EXPECT_EQ(box("txtNSFfee")->text(), "$0.00") << "an empty Config leaves the starting values";
    typeInto("txtCollectionCompany", "First Agency");
    typeInto("txtCollectionPercent", "20");
    typeInto("txtCollectionDollar", "5");
    typeInto("txtNSFfee", "25");
    box("txtCourtCosts")->clear();
    includeNsf()->setChecked(true);
    click("cmdExitCategories");
    ASSERT_EQ(configRows(), 1) << "the first row is made";
    EXPECT_EQ(stored("CollectionCompanyName").toString(), "First Agency");
    EXPECT_EQ(storedAmounts(), (std::vector<double>{20, 5, 0, 25}));
    EXPECT_FALSE(stored("CourtCosts").isNull()) << "an empty amount box is saved as 0";
    EXPECT_TRUE(stored("IncludeNSF").toBool());
}

TEST_F(frmCollectionCompanyTest, AnAmountThatIsNoNumberIsReportedAndTheScreenStays) {
    addConfigRow();
    open();
    box("txtCourtCosts")->setText("about 40"); // pasted, past the key filter
    platform->errorAnswers.push_back({ErrorActions::Leave, false});
    click("cmdExitCategories");

    ASSERT_EQ(platform->errorReports.size(), 1u);
    EXPECT_EQ(platform->errorReports[0].number, 13);
    EXPECT_EQ(platform->errorReports[0].location, "frmCollectionCompany ! func_SaveData");
    EXPECT_TRUE(screen->isVisible()) << "the entry stays for correcting";
    EXPECT_EQ(storedAmounts(), (std::vector<double>{7.125, 15, 85.5, 12.345}))
        << "nothing of the failed save is written";
}

TEST_F(frmCollectionCompanyTest, NamesFitTheirFieldsAndHelpButtonsOpenTheirTopics) {
    addConfigRow({});
    open();
    const char* topics[3] = {"Processing_Fee.htm", "Collection_Charges.htm", "Collection_Info.htm"};
    for (int i = 0; i < 3; ++i) {
        QTest::mouseClick(screen->cmdHelp[i], Qt::LeftButton);
        ASSERT_EQ(platform->helpCalls.size(), size_t(i + 1));
        EXPECT_EQ(platform->helpCalls[i].topic, topics[i]);
    }
    EXPECT_TRUE(screen->isVisible()) << "help leaves the screen open";
    // The names take no more than their fields hold.
    for (const char* name : {"txtCollectionCompany", "txtCollectionContact"}) {
        QTest::keyClicks(box(name), QString(60, 'x'));
        EXPECT_EQ(box(name)->text().size(), 50) << name;
    }
    click("cmdExitCategories");
    EXPECT_EQ(stored("CollectionOfficerName").toString(), QString(50, 'x'));
}

} // namespace
