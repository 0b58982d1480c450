#include "cases/CaseScreenSupport.h"
#include "core/AppInfo.h"
#include "data/DatabaseProcs.h"
#include "data/engine/Database.h"
#include "screens/frmAbout.h"
#include "screens/frmCalendar.h"
#include "screens/frmCheckImages.h"
#include "screens/frmMemoPad.h"
#include "support/Controls.h"

#include <QAbstractButton>
#include <QCalendarWidget>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QTableView>
#include <QTest>
#include <QTimer>

namespace {

// The memo pad, calendar and about box, and their entries on the case screen.
class AccessoriesTest : public CaseScreenTest {
protected:
    void TearDown() override { Database::releaseAll(); }
    static Value memo() { return Database::open(SettingsDatabasePath).openTable("Config").value("Memo"); }
    static void click(QWidget* screen, const char* button) {
        QTest::mouseClick(screen->findChild<QPushButton*>(button), Qt::LeftButton);
    }
    static void expectCentred(QWidget& screen) {
        EXPECT_NEAR(screen.frameGeometry().center().x(), screen.screen()->availableGeometry().center().x(), 2);
    }
};

TEST_F(AccessoriesTest, MemoPadStoresOnlyByExitAndUndoBringsBackTheStoredText) {
    data_vChangeDBValue(SettingsDatabasePath, "Config", "Memo", "Call the bank.", "", "");
    const std::tuple<const char*, const char*, const char*> steps[] = {{"cmdClearMemo", "", "Call the bank."},
        {"cmdRevertMemo", "Call the bank.", "Call the bank."}, {"cmdClearMemo", "", "Call the bank."},
        {"cmdExitMemo", "", ""}};
    frmMemoPad pad;
    pad.show();
    expectCentred(pad);
    EXPECT_EQ(pad.txtMemo->toPlainText(), "Call the bank.");
    for (const auto& [button, shown, stored] : steps) {
        click(&pad, button);
        EXPECT_EQ(pad.txtMemo->toPlainText(), shown) << button;
        EXPECT_EQ(memo().toString(), stored) << button;
    }
    EXPECT_FALSE(pad.isVisible());
    frmMemoPad closedOtherwise;
    closedOtherwise.show();
    QTest::keyClicks(closedOtherwise.txtMemo, "lost");
    closedOtherwise.close();
    EXPECT_EQ(memo().toString(), "");
}

TEST_F(AccessoriesTest, MemoPadShowsNullAsEmptyAndStoresAMegabyteIntoAnEmptyConfig) {
    data_vChangeDBValue(SettingsDatabasePath, "Config", "Memo", Value::null(), "", "");
    for (bool emptyConfig : {false, true}) {
        if (emptyConfig) Database::open(SettingsDatabasePath).execute("DELETE FROM Config");
        frmMemoPad pad;
        pad.show();
        EXPECT_EQ(pad.txtMemo->toPlainText(), "");
    }
    QString text;
    while (text.size() < 1 << 20) text += QStringLiteral("Line %1: ÄÖ \"NSF\" 'returned'\n").arg(text.size());
    frmMemoPad pad;
    pad.show();
    pad.txtMemo->setPlainText(text);
    click(&pad, "cmdExitMemo");
    EXPECT_EQ(Database::open(SettingsDatabasePath).openTable("Config").recordCount(), 1);
    frmMemoPad reopened;
    reopened.show();
    EXPECT_EQ(reopened.txtMemo->toPlainText(), text);
}

TEST_F(AccessoriesTest, CalendarShowsTodayTheTimeInItsTitleAndComesBackToTodayOnADoubleClick) {
    platform->clock = QDateTime(QDate(2026, 12, 4), QTime(13, 5));
    frmCalendar calendar;
    calendar.show();
    EXPECT_EQ(calendar.windowTitle(), "1:05 PM");
    EXPECT_EQ(calendar.Calendar->selectedDate(), QDate(2026, 12, 4));
    expectCentred(calendar);
    platform->clock = QDateTime(QDate(2026, 12, 4), QTime(0, 0));
    calendar.Timer1->setInterval(5); // the same timer, quicker (a QTRY_ macro would not fail a gtest test)
    EXPECT_TRUE(QTest::qWaitFor([&] { return calendar.windowTitle() != "1:05 PM"; }, 2000)) << "the timer runs";
    EXPECT_EQ(calendar.windowTitle(), "12:00 AM") << "the timer brings the title up to date";

    calendar.Calendar->showNextMonth();
    calendar.Calendar->showNextMonth();
    auto* grid = calendar.Calendar->findChild<QTableView*>();
    const QPoint cell = grid->visualRect(grid->model()->index(3, 3)).center();
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, cell);
    ASSERT_EQ(calendar.Calendar->monthShown(), 2);
    QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, cell);
    EXPECT_EQ(calendar.Calendar->selectedDate(), QDate(2026, 12, 4));
    EXPECT_EQ(calendar.Calendar->monthShown(), 12);
}

TEST_F(AccessoriesTest, AboutBoxNamesTheProductAndClosesWithOk) {
    frmAbout about;
    about.show();
    EXPECT_EQ(about.windowTitle(), "About Dunmark");
    EXPECT_EQ(QStringList({about.lblProductName->text(), about.lblAboutVersion->text(), about.lblAboutCopyright->text()}),
              QStringList({proc_vGetInternalInfo("AppTitle"), proc_vGetInternalInfo("Version"),
                           proc_vGetInternalInfo("Copyright")}));
    expectCentred(about);
    click(&about, "cmdAboutOK");
    EXPECT_FALSE(about.isVisible());
}

TEST_F(AccessoriesTest, CaseScreenOpensEachAccessoryBesideItOnceAndAnewAfterClosing) {
    open();
    const std::pair<const char*, const char*> entries[] = {
        {"cmdMemo", "frmMemoPad"}, {"cmdCalendar", "frmCalendar"}, {"mnuAboutItem", "frmAbout"}};
    for (const auto& [control, name] : entries) {
        SCOPED_TRACE(name);
        const auto trigger = [&, control = control] { triggerControl(*screen, control); };
        const auto shown = [&, name = name] {
            QList<QWidget*> open;
            for (QWidget* w : screen->findChildren<QWidget*>(name, Qt::FindDirectChildrenOnly))
                if (w->isVisible()) open << w;
            return open;
        };
        trigger();
        trigger();
        ASSERT_EQ(shown().size(), 1) << "one at a time, beside the case screen";
        QPointer<QWidget> first = shown().first();
        EXPECT_FALSE(first->isModal());
        first->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_TRUE(first.isNull()) << "a closed screen is gone";
        trigger();
        ASSERT_EQ(shown().size(), 1);
        shown().first()->close();
    }
    EXPECT_EQ(platform->modelessScreens.count("frmMemoPad"), 3);
}

TEST_F(AccessoriesTest, CaseScreenOpensTheImagesOfASavedCaseOnlyWithItsReference) {
    const qint64 id = addCase(addCustomer({{"LastName", "Brown"}, {"ShowAs", "Brown"}}));
    open();
    platform->modalHandlers.push_back([&](QObject* s) {
        auto* images = qobject_cast<frmCheckImages*>(s);
        ASSERT_NE(images, nullptr);
        EXPECT_EQ(images->lCaseID, id);
        EXPECT_EQ(images->windowTitle(), QString("Check Images - REF%1").arg(id));
    });
    child<QAbstractButton>("cmdCheckImage")->click();
    EXPECT_EQ(platform->modalScreens, QStringList{"frmCheckImages"});

    child<QAbstractButton>("cmdNewCase")->click();
    platform->messages.clear();
    child<QAbstractButton>("cmdCheckImage")->click();
    ASSERT_EQ(platform->messages.size(), 1u);
    EXPECT_EQ(platform->messages[0].title + ": " + platform->messages[0].text,
              "Can't Add Check Images: You will need to save the case first, before you can add any check images.");
    EXPECT_EQ(platform->modalScreens.size(), 1) << "nothing more opened";
}

} // namespace
