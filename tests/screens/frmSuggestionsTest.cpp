#include "screens/frmSuggestions.h"
#include "support/TestFixtures.h"

#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QTextBlock>

namespace {

class frmSuggestionsTest : public ProgramTest {};

TEST_F(frmSuggestionsTest, ShowsTheOpenersLinesCentredUnchangeableAndCloses) {
    const QString text = "Call in the morning.\r\nSend the first notice.\r\nKeep the cheque image.";
    frmSuggestions screen;
    screen.setSuggestions(text);
    screen.show();

    QPlainTextEdit* box = screen.txtSuggestions;
    EXPECT_EQ(box->document()->blockCount(), 3) << "one line under the other";
    EXPECT_EQ(box->document()->findBlockByNumber(1).text(), "Send the first notice.");
    EXPECT_FALSE(box->toPlainText().contains('\r'));
    const QRect desktop = screen.screen()->geometry();
    EXPECT_EQ(screen.frameGeometry().left(),
              desktop.left() + (desktop.width() - screen.frameGeometry().width()) / 2)
        << "opening centres the screen";

    EXPECT_TRUE(box->isReadOnly());
    EXPECT_EQ(screen.suggestions(), text) << "the text reads back as given";

    QTest::mouseClick(screen.findChild<QPushButton*>("cmdClose"), Qt::LeftButton);
    EXPECT_FALSE(screen.isVisible());
}

} // namespace
