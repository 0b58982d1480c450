#include "core/Utilities.h"
#include "core/Value.h"
#include "support/TestFixtures.h"
#include "widgets/WidgetUtilities.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QTest>

namespace {

class UtilitiesTest : public ProgramTest {};

TEST_F(UtilitiesTest, NumbersOnlyKeyRules) {
    EXPECT_EQ(util_ForceNumbersOnly("12", '5', false), '5');
    EXPECT_EQ(util_ForceNumbersOnly("12", 8, true), 8) << "Backspace always passes";
    EXPECT_EQ(util_ForceNumbersOnly("12", '.', false), '.');
    EXPECT_EQ(util_ForceNumbersOnly("1.2", '.', false), 0) << "a second point is discarded";
    EXPECT_EQ(util_ForceNumbersOnly(".", '.', false), '.') << "the duplicate test needs two characters";
    EXPECT_EQ(util_ForceNumbersOnly("12", '.', true), 0) << "integer boxes take no point";
    for (int key : {'a', '-', ' ', '/', ':', '+'}) {
        EXPECT_EQ(util_ForceNumbersOnly("12", key, false), 0) << char(key);
        EXPECT_EQ(util_ForceNumbersOnly(key, false), 0) << char(key);
    }
    EXPECT_EQ(util_ForceNumbersOnly('.', false), '.') << "without a box a point always passes";
    EXPECT_EQ(util_ForceNumbersOnly('.', true), 0);
    EXPECT_EQ(util_ForceNumbersOnly(8, true), 8);
}

// The amount boxes of the settings screen type through the filter too.
TEST_F(UtilitiesTest, NumbersOnlyFilterOnARealBox) {
    for (bool integer : {false, true}) {
        QLineEdit box;
        util_InstallNumbersOnly(&box, integer);
        box.show();
        QTest::keyClicks(&box, "3.1a- 4.");
        QTest::keyClick(&box, Qt::Key_Backspace);
        EXPECT_EQ(box.text(), integer ? "31" : "3.1") << integer;
        QTest::keyClick(&box, Qt::Key_Home);
        QTest::keyClick(&box, Qt::Key_Delete);
        EXPECT_EQ(box.text(), integer ? "1" : ".1") << "keys that type nothing are not filtered";
    }
}

TEST_F(UtilitiesTest, DuplicateCharacterAndPositiveInteger) {
    EXPECT_FALSE(util_bIsDuplicateCharacter(".", '.', 0));
    EXPECT_TRUE(util_bIsDuplicateCharacter("1.", '.', 0));
    EXPECT_FALSE(util_bIsDuplicateCharacter("1.2", '.', 1));
    EXPECT_TRUE(util_bIsDuplicateCharacter("1.2.", '.', 1));
    EXPECT_FALSE(util_bIsDuplicateCharacter("abc", 'A', 0)) << "characters are compared exactly";

    EXPECT_TRUE(util_bCheckPositiveInteger("12"));
    EXPECT_TRUE(util_bCheckPositiveInteger("7"));
    for (const char* bad : {"", "0", "012", "12.0", " 12", "12 ", "+12", "-12", "1e3", "abc", "1,000"})
        EXPECT_FALSE(util_bCheckPositiveInteger(bad)) << bad;
}

TEST_F(UtilitiesTest, WaitProcessesEventsForTheTimeGivenAndSurvivesMidnight) {
    for (const QDateTime& start : {platform->clock, QDateTime(QDate(2026, 12, 31), QTime(23, 59, 58, 500))}) {
        platform->clock = start;
        const int rounds = platform->processEventsCalls;
        util_Wait(3);
        const qint64 waited = start.msecsTo(platform->clock);
        EXPECT_GE(waited, 3000) << start.toString().toStdString();
        EXPECT_LT(waited, 3000 + 2 * platform->tickMilliseconds) << start.toString().toStdString();
        EXPECT_GT(platform->processEventsCalls - rounds, 10);
    }
}

TEST_F(UtilitiesTest, StripQuotes) {
    EXPECT_EQ(util_sStripQuotes(Value(QString("\"Smith\""))), "Smith");
    EXPECT_EQ(util_sStripQuotes(Value(QString("[Smith]"))), "Smith") << "the first and last characters go whatever they are";
    EXPECT_EQ(util_sStripQuotes(Value(qint64(42))), "42");
    EXPECT_EQ(util_sStripQuotes(Value(QString("42"))), "42") << "a numeric text stays whole";

    platform->errorAnswers = {{3, false}};
    EXPECT_EQ(util_sStripQuotes(Value(QString("x"))), "");
    ASSERT_EQ(platform->errorReports.size(), 1u);
    EXPECT_EQ(platform->errorReports[0].location, "Utility.bas ! util_sStripQuotes");
}

TEST_F(UtilitiesTest, FileExists) {
    const QString file = folder->path() + "/Data/some.rpt";
    EXPECT_FALSE(util_bDoesFileExist(file));
    ASSERT_TRUE(QFile(file).open(QIODevice::WriteOnly));
    EXPECT_TRUE(util_bDoesFileExist(file));
    EXPECT_FALSE(util_bDoesFileExist(folder->path() + "/Data")) << "a folder is not a file";
}

TEST_F(UtilitiesTest, ComboListWidthFollowsTheLongestItem) {
    QWidget owner;
    const int unit = api_lGetFontDialogUnits(&owner);
    ASSERT_GT(unit, 0);

    QComboBox plain(&owner);
    for (int i = 0; i < 9; ++i) plain.addItem(QString(i == 4 ? 20 : 5, 'x'));
    util_AdjustWidthOfComboBoxListPortion(&owner, &plain);
    EXPECT_EQ(plain.view()->minimumWidth(), 20 * unit) << "nine items get no scroll bar allowance";
    plain.addItem("y");
    util_AdjustWidthOfComboBoxListPortion(&owner, &plain);
    EXPECT_EQ(plain.view()->minimumWidth(), 20 * unit + 15);

    QComboBox picture(&owner);
    QPixmap icon(16, 16);
    icon.fill(Qt::red);
    picture.addItem(QIcon(icon), "Smith, John");
    util_AdjustWidthOfComboBoxListPortion(&owner, &picture);
    EXPECT_EQ(picture.view()->minimumWidth(), 11 * unit);

    util_AdjustWidthOfComboBoxListPortion(&owner, &picture, true, 333);
    EXPECT_EQ(picture.view()->minimumWidth(), 333);
}

} // namespace
