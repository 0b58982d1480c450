#include "screens/frmSuggestions.h"
#include "support/TestFixtures.h"

#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QTest>

namespace {

class frmSuggestionsTest : public ProgramTest {};

TEST_F(frmSuggestionsTest, ShowsTheOpenersLinesCentredUnchangeableAndCloses) {
    const QString text = "Call in the morning.\r\nSend the first notice.\r\nKeep the cheque image.";
    frmSuggestions screen;
    screen.setSuggestions(text);
    screen.show();

    QPlainTextEdit* box = screen.txtSuggestions;
    EXPECT_EQ(box->toPlainText(), "Call in the morning.\nSend the first notice.\nKeep the cheque image.")
        << "one line under the other";
    EXPECT_NEAR(screen.frameGeometry().center().x(), screen.screen()->geometry().center().x(), 1) << "centred";

    EXPECT_TRUE(box->isReadOnly());
    EXPECT_EQ(screen.suggestions(), text) << "the text reads back as given";

    QTest::mouseClick(screen.findChild<QPushButton*>("cmdClose"), Qt::LeftButton);
    EXPECT_FALSE(screen.isVisible());
}

} // namespace
