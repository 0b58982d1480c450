#include "cases/CaseScreenSupport.h"
#include "screens/frmExport.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>

namespace {

// The export from the case screen's "&File" menu, with the save dialog answered by the test.
class frmExportTest : public CaseScreenTest {
protected:
    void SetUp() override {
        CaseScreenTest::SetUp();
        const qint64 lee = addCustomer({{"LastName", "Lee"}, {"ShowAs", "Lee, Ann"}});
        openCase = addCase(lee, {{"CaseOpen", true}});
        addCase(lee, {{"CaseOpen", false}});
    }
    // Opens the export from the menu; the dialog chooses option `set` and presses "Export…" `presses` times.
    // `then` runs while the dialog is still open.
    void exportFromMenu(int set, int presses = 1, const std::function<void(frmExport&)>& then = {}) {
        platform->modalHandlers.push_back([=, this](QObject* screenObject) {
            auto* shown = qobject_cast<frmExport*>(screenObject);
            ASSERT_TRUE(shown);
            shown->optExportSet[set]->setChecked(true);
            for (int i = 0; i < presses; ++i) shown->findChild<QPushButton*>("cmdExport")->click();
            accepted = shown->result() == QDialog::Accepted;
            if (then) then(*shown);
        });
        screen->findChild<QAction*>("mnuExport")->trigger();
    }
    QTemporaryDir out;
    qint64 openCase = 0;
    bool accepted = false;
};

TEST_F(frmExportTest, WritesTheChosenSetWithTheChangeOnDisplayAndSaysHowManyRows) {
    open();
    ASSERT_EQ(screen->caseKey(), openCase);
    type("txtDetails", "Called twice");
    const QString path = out.filePath("for the accountant"); // no suffix: ".csv" is added
    platform->saveFileAnswers.push_back(path);
    exportFromMenu(1);

    EXPECT_TRUE(accepted);
    EXPECT_EQ(platform->saveFileSuggestions.size(), 1);
    EXPECT_TRUE(platform->saveFileSuggestions.value(0).endsWith("/Dunmark open cases 2026-12-04.csv"));
    QFile file(path + ".csv");
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray csv = file.readAll();
    EXPECT_TRUE(csv.startsWith("\xEF\xBB\xBF" "Customer,")) << csv.left(40).toStdString();
    EXPECT_EQ(csv.count("\r\n"), 2) << "the header and the one open case";
    EXPECT_TRUE(csv.contains("Called twice")) << "the changed case on display is written before the export";
    ASSERT_EQ(platform->messages.size(), 1u);
    EXPECT_TRUE(platform->messages[0].text.startsWith("1 cases written to\r")) << platform->messages[0].text.toStdString();
}

TEST_F(frmExportTest, ACancelledDialogOrAnUnwritableFileLeavesTheChoiceOpenAndWritesNothing) {
    open();
    // No answer queued: the save dialog is cancelled.
    exportFromMenu(3, 1, [](frmExport& open) { open.findChild<QPushButton*>("cmdHelp")->click(); });
    EXPECT_FALSE(accepted);
    ASSERT_EQ(platform->helpCalls.size(), 1u);
    EXPECT_EQ(platform->helpCalls[0].topic, "Exporting_to_a_Spreadsheet.htm");
    EXPECT_TRUE(platform->messages.empty());
    EXPECT_TRUE(platform->saveFileSuggestions.last().contains("customers"));

    const QString folderNamedCsv = out.filePath("taken.csv");
    ASSERT_TRUE(QDir().mkpath(folderNamedCsv));
    platform->saveFileAnswers = {out.filePath("missing/folder/cases.csv"), folderNamedCsv};
    exportFromMenu(0, 2);
    EXPECT_FALSE(accepted);
    ASSERT_EQ(platform->messages.size(), 2u) << "one message for each file that could not be written";
    for (const auto& m : platform->messages) EXPECT_TRUE(m.text.startsWith("The file could not be written:\r"));
    EXPECT_FALSE(QFile::exists(out.filePath("missing/folder/cases.csv")));
    EXPECT_TRUE(QFileInfo(folderNamedCsv).isDir());
}

} // namespace
