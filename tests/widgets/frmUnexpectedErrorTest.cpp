#include "core/ErrorHandling.h"
#include "support/TestFixtures.h"
#include "widgets/frmUnexpectedError.h"

#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>

namespace {

class frmUnexpectedErrorTest : public ProgramTest {
protected:
    std::unique_ptr<frmUnexpectedError> open() {
        auto screen = std::make_unique<frmUnexpectedError>();
        screen->ErrorLocation = "frmCaseDetails ! func_Recalc";
        screen->setError(11, "Division by zero", "more");
        screen->show();
        return screen;
    }
    static QString label(QWidget* screen, const char* name) {
        return screen->findChild<QLabel*>(name)->text();
    }
};

TEST_F(frmUnexpectedErrorTest, ShowsTheErrorOnTop) {
    auto screen = open();
    EXPECT_TRUE(screen->windowFlags() & Qt::WindowStaysOnTopHint);
    for (const auto& [name, text] :
         {std::pair{"lblErrorNumber", "11"}, {"lblErrorDescription", "Division by zero"},
          {"lblErrorLocation", "frmCaseDetails ! func_Recalc"}, {"lblErrorOtherInfo", "more"}})
        EXPECT_EQ(label(screen.get(), name), text) << name;
    EXPECT_EQ(platform->pointer, -1) << "the busy pointer of the loading is gone";
}

TEST_F(frmUnexpectedErrorTest, EachButtonSetsItsActionAndCloses) {
    const int expected[6] = {4, 5, 3, 4, 5, 3};
    for (int i = 0; i < 6; ++i) {
        auto screen = open();
        screen->findChild<QTabWidget*>("tabError")->setCurrentIndex(i < 3 ? 0 : 2);
        QPushButton* button = screen->cmdErrorAction[i];
        ErrorAction = 0;
        QTest::mouseClick(button, Qt::LeftButton);
        EXPECT_EQ(screen->chosenAction(), expected[i]) << i;
        EXPECT_EQ(ErrorAction, expected[i]) << i;
        EXPECT_FALSE(screen->isVisible());
        EXPECT_FALSE(EndProgramRequested) << "a plain click only stops the function";
    }
}

TEST_F(frmUnexpectedErrorTest, ShiftAloneOnAStopButtonAsksToEndTheProgram) {
    auto screen = open();
    QTest::mouseClick(screen->cmdErrorAction[2], Qt::LeftButton, Qt::ShiftModifier);
    EXPECT_TRUE(EndProgramRequested);
    EXPECT_EQ(screen->chosenAction(), 3);

    EndProgramRequested = false;
    screen = open();
    screen->findChild<QTabWidget*>("tabError")->setCurrentIndex(2);
    QTest::mouseClick(screen->cmdErrorAction[5], Qt::LeftButton, Qt::ShiftModifier | Qt::ControlModifier);
    EXPECT_FALSE(EndProgramRequested) << "Shift with another key is not Shift alone";

    screen = open();
    QTest::mouseClick(screen->cmdErrorAction[0], Qt::LeftButton, Qt::ShiftModifier);
    EXPECT_FALSE(EndProgramRequested) << "only the stop buttons end the program";
}

TEST_F(frmUnexpectedErrorTest, EmailButtonBuildsTheReportAndSaysItIsNotAvailable) {
    auto screen = open();
    screen->findChild<QTabWidget*>("tabError")->setCurrentIndex(2);
    screen->findChild<QPlainTextEdit*>("txtSteps")->setPlainText("Pressed Save");
    EXPECT_EQ(screen->func_sBuildReportText(),
              "Error Information:, Occurred: 12/4/2026 10:16:06 PM, Location:  frmCaseDetails ! func_Recalc, "
              "Description:  Division by zero, Error #:  11, Other Info:  more, Steps:,Pressed Save");
    QTest::mouseClick(screen->findChild<QPushButton*>("cmdEmailErrorInfo"), Qt::LeftButton);
    ASSERT_EQ(platform->messages.size(), 1u);
    EXPECT_EQ(platform->messages[0].text, "That function is not available.");
    EXPECT_EQ(platform->messages[0].style, 0);
    EXPECT_TRUE(screen->isVisible()) << "reporting does not close the screen";
}

} // namespace
