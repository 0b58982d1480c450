#include "cases/CaseScreenSupport.h"
#include "core/AppInfo.h"
#include "data/engine/Database.h"
#include "screens/frmAbout.h"
#include "screens/frmCalendar.h"
#include "screens/frmCheckImages.h"
#include "screens/frmMemoPad.h"

#include <QAbstractButton>
#include <QAction>
#include <QCalendarWidget>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QTableView>
#include <QTest>
#include <QTimer>

namespace {

// The accessories and their entries on the case screen, on a program folder with its settings row.
class AccessoriesTest : public CaseScreenTest {
protected:
    void TearDown() override { Database::releaseAll(); }
    static Value storedMemo() {
        Recordset rs = Database::open(SettingsDatabasePath).openTable("Config");
        return rs.bof() && rs.eof() ? Value() : rs.value("Memo");
    }
    static void storeMemo(const Value& memo) {
        Recordset rs = Database::open(SettingsDatabasePath).openTable("Config");
        rs.edit();
        rs.setValue("Memo", memo);
        rs.update();
    }
    static void click(QWidget* screen, const char* button) {
        QTest::mouseClick(screen->findChild<QPushButton*>(button), Qt::LeftButton);
    }
    static void expectCentred(QWidget& screen) {
        const QRect desktop = screen.screen()->availableGeometry();
        EXPECT_NEAR(screen.frameGeometry().center().x(), desktop.center().x(), 2) << screen.objectName().toStdString();
    }
};

TEST_F(AccessoriesTest, MemoPadStoresOnlyByExitAndUndoBringsBackTheStoredText) {
    storeMemo("Call the bank on Monday.");
    struct Step {
        const char* button;
        const char* shown;
        const char* stored;
    };
    const Step steps[] = {{"cmdClearMemo", "", "Call the bank on Monday."},
                          {"cmdRevertMemo", "Call the bank on Monday.", "Call the bank on Monday."},
                          {"cmdClearMemo", "", "Call the bank on Monday."},
                          {"cmdExitMemo", "", ""}};
    frmMemoPad memo;
    memo.show();
    expectCentred(memo);
    EXPECT_EQ(memo.txtMemo->toPlainText(), "Call the bank on Monday.");
    for (const Step& step : steps) {
        click(&memo, step.button);
        EXPECT_EQ(memo.txtMemo->toPlainText(), step.shown) << step.button;
        EXPECT_EQ(storedMemo().toString(), step.stored) << step.button;
    }
    EXPECT_FALSE(memo.isVisible()) << "Exit closes the memo pad";

    // Typed and closed another way: dropped.
    frmMemoPad again;
    again.show();
    QTest::keyClicks(again.txtMemo, "lost");
    again.close();
    EXPECT_EQ(storedMemo().toString(), "");
}

TEST_F(AccessoriesTest, MemoPadShowsANullMemoEmptyAndAddsTheConfigRowWhenThereIsNone) {
    storeMemo(Value::null());
    {
        frmMemoPad memo;
        memo.show();
        EXPECT_EQ(memo.txtMemo->toPlainText(), "");
    }
    Database::open(SettingsDatabasePath).execute("DELETE FROM Config");
    frmMemoPad memo;
    memo.show();
    EXPECT_EQ(memo.txtMemo->toPlainText(), "");
    // A large memo, lines and all, is stored whole and read back whole.
    QString text;
    while (text.size() < 1 << 20) text += QStringLiteral("Line %1: ÄÖÜ cheque \"NSF\" 'returned'\n").arg(text.size());
    memo.txtMemo->setPlainText(text);
    click(&memo, "cmdExitMemo");
    EXPECT_EQ(Database::open(SettingsDatabasePath).openTable("Config").recordCount(), 1);
    frmMemoPad reopened;
    reopened.show();
    EXPECT_EQ(reopened.txtMemo->toPlainText(), text);
    EXPECT_TRUE(platform->errorReports.empty());
}

TEST_F(AccessoriesTest, MemoBoxFillsTheWindowButForTheMarginAndTheButtons) {
    frmMemoPad memo;
    memo.show();
    memo.resize(640, 420);
    QApplication::processEvents();
    const int dpi = memo.logicalDpiX();
    EXPECT_EQ(memo.txtMemo->width(), 640 - qRound(120 * dpi / 1440.0));
    const int room = 420 - memo.txtMemo->height();
    EXPECT_GE(room, qRound(420 * memo.logicalDpiY() / 1440.0));
    for (const char* name : {"cmdClearMemo", "cmdRevertMemo", "cmdExitMemo"}) {
        const QRect button = memo.findChild<QPushButton*>(name)->geometry();
        EXPECT_TRUE(memo.rect().contains(button)) << name;
        EXPECT_GT(button.top(), memo.txtMemo->geometry().bottom()) << name;
    }
}

TEST_F(AccessoriesTest, CalendarShowsTodayAndTheTimeOfDayInItsTitle) {
    const std::pair<QTime, const char*> times[] = {{QTime(13, 5), "1:05 PM"}, {QTime(0, 0), "12:00 AM"},
                                                   {QTime(9, 41), "9:41 AM"}};
    for (const auto& [time, caption] : times) {
        platform->clock = QDateTime(QDate(2026, 12, 4), time);
        frmCalendar calendar;
        calendar.show();
        EXPECT_EQ(calendar.windowTitle(), caption);
        EXPECT_EQ(calendar.Calendar->selectedDate(), QDate(2026, 12, 4));
        expectCentred(calendar);
    }
    platform->clock = QDateTime(QDate(2026, 12, 4), QTime(13, 5));
    frmCalendar calendar;
    calendar.show();
    EXPECT_EQ(calendar.Timer1->interval(), 10000);
    EXPECT_TRUE(calendar.Timer1->isActive());
    platform->clock = QDateTime(QDate(2026, 12, 4), QTime(13, 6));
    calendar.Timer1->setInterval(5); // the same timer, quicker for the test
    QTRY_COMPARE(calendar.windowTitle(), QString("1:06 PM"));
}

TEST_F(AccessoriesTest, CalendarDoubleClickAfterPagingComesBackToToday) {
    platform->clock = QDateTime(QDate(2026, 12, 4), QTime(10, 0));
    frmCalendar calendar;
    calendar.show();
    calendar.Calendar->showNextMonth();
    calendar.Calendar->showNextMonth();
    ASSERT_EQ(calendar.Calendar->monthShown(), 2);
    auto* grid = calendar.Calendar->findChild<QTableView*>();
    ASSERT_NE(grid, nullptr);
    const QPoint cell = grid->visualRect(grid->model()->index(3, 3)).center();
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, cell);
    QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, cell);
    EXPECT_EQ(calendar.Calendar->selectedDate(), QDate(2026, 12, 4));
    EXPECT_EQ(calendar.Calendar->monthShown(), 12);
    EXPECT_EQ(calendar.Calendar->yearShown(), 2026);
}

TEST_F(AccessoriesTest, AboutBoxNamesTheProductAndClosesWithOk) {
    frmAbout about;
    about.show();
    EXPECT_EQ(about.windowTitle(), "About Dunmark");
    EXPECT_EQ(about.lblProductName->text(), proc_vGetInternalInfo("AppTitle"));
    EXPECT_EQ(about.lblAboutVersion->text(), proc_vGetInternalInfo("Version"));
    EXPECT_EQ(about.lblAboutCopyright->text(), proc_vGetInternalInfo("Copyright"));
    EXPECT_FALSE(about.lblAboutCopyright->text().isEmpty());
    expectCentred(about);
    click(&about, "cmdAboutOK");
    EXPECT_FALSE(about.isVisible());
}

TEST_F(AccessoriesTest, CaseScreenOpensEachAccessoryBesideItOnceAndAnewAfterClosing) {
    open();
    struct Entry {
        QObject* control;
        const char* screen;
    };
    const Entry entries[] = {{child<QAbstractButton>("cmdMemo"), "frmMemoPad"},
                             {child<QAbstractButton>("cmdCalendar"), "frmCalendar"},
                             {child<QAction>("mnuAboutItem"), "frmAbout"}};
    for (const auto& [control, name] : entries) {
        SCOPED_TRACE(name);
        const auto trigger = [control = control] {
            if (auto* button = qobject_cast<QAbstractButton*>(control))
                button->click();
            else
                qobject_cast<QAction*>(control)->trigger();
        };
        const auto openOnes = [&] {
            QList<QWidget*> shown;
            for (QWidget* w : screen->findChildren<QWidget*>(name, Qt::FindDirectChildrenOnly))
                if (w->isVisible()) shown << w;
            return shown;
        };
        EXPECT_TRUE(qobject_cast<QAction*>(control) ? qobject_cast<QAction*>(control)->isEnabled()
                                                    : qobject_cast<QWidget*>(control)->isEnabled());
        trigger();
        trigger();
        ASSERT_EQ(openOnes().size(), 1) << "one at a time";
        QPointer<QWidget> first = openOnes().first();
        EXPECT_FALSE(first->isModal());
        first->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_TRUE(first.isNull()) << "a closed screen is gone";
        trigger();
        ASSERT_EQ(openOnes().size(), 1);
        openOnes().first()->close();
    }
    EXPECT_EQ(platform->modelessScreens.count("frmMemoPad"), 3);
}

TEST_F(AccessoriesTest, CaseScreenOpensTheImagesOfASavedCaseOnlyWithItsReference) {
    const qint64 customer = addCustomer({{"LastName", "Brown"}, {"ShowAs", "Brown"}});
    const qint64 id = addCase(customer, {{"CheckFrontImageFile", "front.jpg"}});
    open();
    qint64 shownCase = 0;
    QString caption;
    platform->modalHandlers.push_back([&](QObject* s) {
        auto* images = qobject_cast<frmCheckImages*>(s);
        ASSERT_NE(images, nullptr);
        shownCase = images->lCaseID;
        caption = images->windowTitle();
        EXPECT_EQ(images->lblCheckImageFile[0]->text(), "front.jpg");
    });
    platform->errorAnswers = {{3, false}}; // front.jpg is not in the Checks folder
    child<QAbstractButton>("cmdCheckImage")->click();
    EXPECT_EQ(platform->modalScreens, QStringList{"frmCheckImages"});
    EXPECT_EQ(shownCase, id);
    EXPECT_EQ(caption, QString("Check Images - REF%1").arg(id));

    child<QAbstractButton>("cmdNewCase")->click();
    platform->messages.clear();
    child<QAbstractButton>("cmdCheckImage")->click();
    ASSERT_EQ(platform->messages.size(), 1u);
    EXPECT_EQ(platform->messages[0].text,
              "You will need to save the case first, before you can add any check images.");
    EXPECT_EQ(platform->messages[0].title, "Can't Add Check Images");
    EXPECT_EQ(platform->modalScreens.size(), 1) << "nothing more opened";
}

} // namespace
