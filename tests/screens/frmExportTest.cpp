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
    frmExport* exportFromMenu(int set, int presses = 1) {
        platform->modalHandlers.push_back([=, this](QObject* screenObject) {
            shown = qobject_cast<frmExport*>(screenObject);
            ASSERT_TRUE(shown);
            shown->optExportSet[set]->setChecked(true);
            for (int i = 0; i < presses; ++i) shown->findChild<QPushButton*>("cmdExport")->click();
            accepted = shown->result() == QDialog::Accepted;
        });
        screen->findChild<QAction*>("mnuExport")->trigger();
        return shown;
    }
    QByteArray fileText(const QString& path) const {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<no file>");
    }
    QTemporaryDir out;
    qint64 openCase = 0;
    frmExport* shown = nullptr;
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
    ASSERT_EQ(platform->saveFileSuggestions.size(), 1);
    EXPECT_TRUE(platform->saveFileSuggestions[0].endsWith("/Dunmark open cases 2026-12-04.csv"))
        << platform->saveFileSuggestions[0].toStdString();
    const QByteArray csv = fileText(path + ".csv");
    EXPECT_TRUE(csv.startsWith("\xEF\xBB\xBF" "Customer,")) << csv.left(40).toStdString();
    EXPECT_EQ(csv.count("\r\n"), 2) << "the header and the one open case";
    EXPECT_TRUE(csv.contains("Called twice")) << "the changed case on display is written before the export";
    ASSERT_EQ(platform->messages.size(), 1u);
    EXPECT_TRUE(platform->messages[0].text.startsWith("1 cases written to\r")) << platform->messages[0].text.toStdString();
}

TEST_F(frmExportTest, ACancelledDialogOrAnUnwritableFileLeavesTheChoiceOpenAndWritesNothing) {
    open();
    exportFromMenu(3); // no answer queued: the save dialog is cancelled
    EXPECT_FALSE(accepted);
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
