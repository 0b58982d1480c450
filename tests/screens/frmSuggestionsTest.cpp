#include "screens/frmSuggestions.h"
#include "support/TestFixtures.h"

#include <QGuiApplication>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QTest>
#include <QTextBlock>

namespace {

class frmSuggestionsTest : public ProgramTest {};

TEST_F(frmSuggestionsTest, ShowsTheOpenersLinesOneUnderTheOther) {
    frmSuggestions screen;
    screen.setSuggestions("Call in the morning.\r\nSend the first notice.\r\nKeep the cheque image.");
    screen.show();

    EXPECT_EQ(screen.windowTitle(), "Suggestions");
    EXPECT_TRUE(screen.windowFlags() & Qt::Tool);
    QPlainTextEdit* box = screen.txtSuggestions;
    ASSERT_EQ(box->objectName(), "txtSuggestions");
    EXPECT_EQ(box->document()->blockCount(), 3);
    EXPECT_EQ(box->document()->findBlockByNumber(1).text(), "Send the first notice.");
    EXPECT_FALSE(box->toPlainText().contains('\r'));
    EXPECT_EQ(screen.suggestions(),
              "Call in the morning.\r\nSend the first notice.\r\nKeep the cheque image.");
    EXPECT_EQ(box->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);

    const QRect desktop = screen.screen()->geometry();
    EXPECT_EQ(screen.frameGeometry().left(),
              desktop.left() + (desktop.width() - screen.frameGeometry().width()) / 2)
        << "opening centres the screen";
}

TEST_F(frmSuggestionsTest, TheTextCannotBeChangedAndCloseCloses) {
    frmSuggestions screen;
    screen.setSuggestions("One\r\nTwo");
    screen.show();
    QPlainTextEdit* box = screen.txtSuggestions;
    EXPECT_TRUE(box->isReadOnly());
    box->setFocus();
    QTest::keyClicks(box, "typed");
    QTest::keyClick(box, Qt::Key_Backspace);
    EXPECT_EQ(screen.suggestions(), "One\r\nTwo");

    QTest::mouseClick(screen.findChild<QPushButton*>("cmdClose"), Qt::LeftButton);
    EXPECT_FALSE(screen.isVisible());
}

} // namespace
