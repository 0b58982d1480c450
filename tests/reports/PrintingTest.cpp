#include "cases/CaseScreenSupport.h"
#include "core/AppError.h"
#include "core/AppInfo.h"
#include "data/ConfigSettings.h"
#include "data/engine/Database.h"
#include "reports/ReportArchiveLogic.h"
#include "reports/ReportLogic.h"
#include "screens/frmMerchantDetails.h"

#include <QDialogButtonBox>
#include <QRegularExpression>
#include <QFile>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>

namespace {

// The built archive in the program folder, a merchant, and a few customers and cases.
class PrintingTest : public CaseScreenTest {
protected:
    void SetUp() override {
        CaseScreenTest::SetUp();
        ASSERT_TRUE(QFile::copy(DUNMARK_TEST_REPORT_ARCHIVE, report_sArchivePath()));
        config_WriteAll({{"CompanyName", "Harbour Hardware"}, {"Contact", "Dana Reyes"}, {"Address1", "12 Quay Street"},
                         {"City", "Portland"}, {"ProvState", "ME"}, {"Postal", "04101"}, {"Phone", "207-555-0134"},
                         {"Fax", "207-555-0199"}});
        obrien = addCustomer({{"Title", "Mr."}, {"FirstName", "Sean"}, {"LastName", "O'Brien"},
                              {"Address1", "4 Elm Road"}, {"City", "Bangor"}, {"StateOrProv", "ME"},
                              {"PostalCode", "04401"}, {"Identification", "DL 889-21"},
                              {"ShowAs", "O'Brien, Sean"}, {"NoMoreChecks", true}});
        const qint64 adams = addCustomer({{"FirstName", "Ann"}, {"LastName", "Adams"}, {"CompanyName", "Adams & Co"},
                                          {"Address1", "9 Pine St"}, {"Address2", "Suite 3"}, {"City", "Bath"},
                                          {"ShowAs", "Adams, Ann"}});
        const auto day = [](int month, int day) { return Value::date(QDate(2026, month, day)); };
        const auto usd = [](double amount) { return Value::currency(amount); };
        quoted = addCase(obrien, {{"ReferenceNumber", "AB'12"}, {"CheckNumber", "1042"}, {"Bank", "Casco Bank"},
                                  {"CheckType", "NSF"}, {"CheckAmount", usd(120.50)}, {"AddNSF", true},
                                  {"CheckDate", day(10, 20)}, {"CollectionCompany", "Reliable Collections"},
                                  {"CollectionContact", "Pat Officer"}, {"FirstNotice", true},
                                  {"FirstNoticeDate", day(11, 3)}, {"Collection", true},
                                  {"CollectionNoticeDate", day(11, 30)},
                                  {"Installment1Amount", usd(40)}, {"Installment1Date", day(11, 15)},
                                  {"AmountPaid", usd(40)}, {"BallanceOwed", usd(100.50)}});
        addCase(obrien, {{"ReferenceNumber", "AB"}, {"CheckAmount", usd(999)}, {"BallanceOwed", usd(999)}});
        addCase(adams, {{"ReferenceNumber", "SHARED"}, {"CheckNumber", "77"}, {"CheckAmount", usd(10)},
                        {"BallanceOwed", usd(10)}});
        addCase(adams, {{"ReferenceNumber", "SHARED"}, {"CheckNumber", "78"}, {"CaseOpen", false},
                        {"FinalResult", "Paid in Full"}, {"CheckAmount", usd(20)}, {"AmountPaid", usd(20)}});
    }
    // Runs a template through the engine to the scripted platform and returns the text printed.
    QString print(const QString& name, const QString& formula) {
        ReportControl r;
        r.ReportFileName = ReportsFolder + name;
        r.SelectionFormula = formula;
        r.run();
        return platform->reportTexts.value(platform->reportTexts.size() - 1);
    }
    QAction* action(const char* name) { return screen->findChild<QAction*>(QString::fromLatin1(name)); }

    qint64 quoted = 0, obrien = 0;
};

TEST(ReportFormulaTest, TheOneFormOrNoneAndNothingElse) {
    const std::tuple<const char*, bool, const char*> good[] = {{"", true, ""}, {"  ", true, ""},
        {"{Cases.ReferenceNumber} = '2004-017'", false, "2004-017"},
        {"{Cases.ReferenceNumber}='O''Brien'''", false, "O'Brien'"}, {"{Cases.ReferenceNumber} = ''", false, ""}};
    for (const auto& [formula, all, reference] : good) {
        const ReportSelection s = report_ParseFormula(formula);
        EXPECT_EQ(s.all, all) << formula;
        EXPECT_EQ(s.reference, reference) << formula;
        EXPECT_EQ(report_ParseFormula(report_sReferenceFormula(s.reference)).reference, s.reference) << formula;
    }
    for (const char* bad : {"{Cases.Stage} = 'x'", "{Cases.ReferenceNumber} = 'a'b'", "ReferenceNumber = 'a'",
                            "{Cases.ReferenceNumber} = 'a' OR 1=1", "{Cases.ReferenceNumber} = \"a\""})
        EXPECT_EQ(errorNumber([&] { report_ParseFormula(bad); }), ReportErr::FormulaNotUnderstood) << bad;
}

TEST_F(PrintingTest, EveryTemplatePrintsItsNamesAmountsAndTotals) {
    ASSERT_TRUE(func_bExtractReports());
    const QString one = report_sReferenceFormula("AB'12");
    const std::tuple<const char*, QString, QStringList, QStringList> rows[] = {
        {"First Notice.rpt", one,
         {"Harbour Hardware", "12 Quay Street", "Portland, ME 04101", "Fax 207-555-0199", "Dear Mr. O'Brien",
          "Mr. Sean O'Brien\n4 Elm Road\nBangor, ME 04401\n", // no gap for the missing company and line
          "1042", "October 20, 2026", "Casco Bank", "NSF", "$120.50", "$20.00", "$40.00", "$100.50",
          "December 4, 2026", "ten days", "AB'12"},
         {"$999.00", "{{"}},
        {"Second Notice.rpt", one, {"Second notice", "seven days", "$100.50"}, {"{{"}},
        {"Final Notice.rpt", one, {"FINAL NOTICE", "final notice", "collection agency", "$100.50"}, {"{{"}},
        {"Collection Request.rpt", one,
         {"Reliable Collections", "Attention: Pat Officer", "DL 889-21", "First Notice", "November 3, 2026",
          "Collection", "November 30, 2026", "November 15, 2026", "$40.00", "$100.50"},
         {"Police", "{{"}},
        {"Current Bad Checks.rpt", "",
         {"Adams, Ann", "O'Brien, Sean", "AB'12", "SHARED", "$1,129.50", "$40.00", "$1,109.50", "3 cases", "Page 1",
          "Printed December 4, 2026"},
         {"Paid in Full", "$20.00"}},
        {"All Bad Checks.rpt", "", {"Paid in Full", "$1,149.50", "$60.00", "$1,109.50", "4 cases"}, {}},
        {"Checks Not Accepted.rpt", "", {"O'Brien, Sean", "DL 889-21", "$1,119.50", "$40.00", "$1,099.50"}, {"Adams"}},
    };
    for (const auto& [name, formula, present, absent] : rows) {
        const QString text = print(name, formula);
        for (const QString& p : present) EXPECT_TRUE(text.contains(p)) << name << " lacks " << p.toStdString();
        for (const QString& a : absent) EXPECT_FALSE(text.contains(a)) << name << " has " << a.toStdString();
    }
    // The lines run by name: Adams before O'Brien.
    const QString list = platform->reportTexts[4];
    EXPECT_LT(list.indexOf("Adams, Ann"), list.indexOf("O'Brien, Sean"));
}

TEST_F(PrintingTest, ASharedReferencePrintsBothLettersWithTheirWholeAddresses) {
    ASSERT_TRUE(func_bExtractReports());
    const QString both = print("First Notice.rpt", report_sReferenceFormula("SHARED"));
    EXPECT_EQ(both.split('\f').size(), 2);
    EXPECT_TRUE(both.contains("Ann Adams\nAdams & Co\n9 Pine St\nSuite 3\nBath\n")) << both.toStdString();
    EXPECT_TRUE(both.contains("number 77") && both.contains("number 78"));
}

TEST_F(PrintingTest, ALongListRunsOverPagesWithItsHeadingsOnEachAndTheTotalsOnTheLast) {
    Database db = Database::open(DatabasePath); // 150 cases L000 to L149 of $1 each, and one long reference
    db.execute(QString("INSERT INTO Cases (CustomerID, CaseOpen, ReferenceNumber, CheckAmount, BallanceOwed) WITH "
                       "RECURSIVE n(i) AS (SELECT 1000 UNION ALL SELECT i + 1 FROM n WHERE i < 1149) "
                       "SELECT %1, True, 'L' || substr(i, 2), 10000, 10000 FROM n").arg(obrien));
    const QString longReference = "W" + QString(80, 'w');
    db.execute(QString("INSERT INTO Cases (CustomerID, CaseOpen, ReferenceNumber) VALUES (%1, True, '%2')")
                   .arg(obrien).arg(longReference));
    ASSERT_TRUE(func_bExtractReports());
    const QStringList pages = print("Current Bad Checks.rpt", "").split('\f');
    ASSERT_GE(pages.size(), 3);
    for (int i = 0; i < pages.size(); ++i) {
        EXPECT_TRUE(pages[i].contains("Customer")) << i;
        EXPECT_TRUE(pages[i].contains(QString("Page %1").arg(i + 1))) << i;
        EXPECT_EQ(pages[i].contains("Totals"), i == pages.size() - 1) << i;
    }
    const QString all = pages.join('\n');
    for (int i = 0; i < 150; ++i) EXPECT_EQ(all.count(QString("L%1").arg(i, 3, 10, QChar('0'))), 1) << i;
    EXPECT_TRUE(all.contains("154 cases") && all.contains("$1,279.50"));
    // A text too wide for its column is cut short on its one line, not wrapped over the next.
    EXPECT_FALSE(all.contains(longReference));
    EXPECT_TRUE(all.contains(QRegularExpression("\\bWww+\u2026\n"))) << all.toStdString();
    // Each page's text fits its page: the PDF has as many pages as the list has sections.
    QFile pdf(platform->reportFiles.last());
    ASSERT_TRUE(pdf.open(QIODevice::ReadOnly));
    EXPECT_EQ(pdf.readAll().count("/Type /Page\n"), pages.size());
}

TEST_F(PrintingTest, NoticesFollowTheStoredSettingListsTheirEntryAndTheCaseIsWrittenFirst) {
    open();
    screen->showCase(quoted, obrien);
    ASSERT_EQ(text("txtReference"), "AB'12");
    child<QPlainTextEdit>("txtDetails")->setPlainText("Called twice");
    screen->cmdPrintNotice_Click(0); // the setting is off: to the printer
    action("mnuPrintNoticesToScreen")->trigger();
    EXPECT_TRUE(config_Bool("PrintNoticesToScreen")) << "stored at once";
    screen->cmdPrintNotice_Click(3);
    action("mnuCurrent_1")->trigger(); // a list goes where its entry says
    action("mnuComplete_0")->trigger();
    using T = Platform::ReportTarget;
    EXPECT_EQ(platform->reportTargets, (std::vector<T>{T::Printer, T::Preview, T::Printer, T::Preview}));
    EXPECT_EQ(caseField(quoted, "DetailNotes").toString(), "Called twice");
    EXPECT_TRUE(platform->reportTexts[1].contains("Reliable Collections"));
    EXPECT_FALSE(platform->reportTexts[0].contains("$999.00")) << "the quoted reference prints its own case only";

    // A later run of the program reads the setting back.
    screen.reset();
    open();
    EXPECT_TRUE(action("mnuPrintNoticesToScreen")->isChecked());
    EXPECT_TRUE(child<QMenu>("mnuPrintCustomerInfo")->menuAction()->isEnabled());
}

TEST_F(PrintingTest, ANewCaseIsNotWrittenOverTheOneOnDisplayByAPrint) {
    open();
    screen->showCase(quoted, obrien);
    screen->cmdNewCase_Click();
    screen->cmdPrintNotice_Click(0);
    EXPECT_TRUE(platform->reportFiles.isEmpty());
    EXPECT_EQ(messageTitles().value(platform->messages.size() - 1), "Save the Case First");
    EXPECT_EQ(caseField(quoted, "ReferenceNumber").toString(), "AB'12");
}

TEST_F(PrintingTest, AListToAPdfFileTakesTheNameChosenAndProposesItsNameAndDate) {
    open();
    const QString path = folder->path() + "/chosen.pdf";
    platform->saveFileAnswers.push_back(path);
    action("mnuNoChecks_2")->trigger();
    EXPECT_TRUE(platform->saveFileSuggestions.value(0).endsWith("/Checks Not Accepted 2026-12-04.pdf"));
    EXPECT_TRUE(QFile(path).size() > 1000);
    action("mnuNoChecks_2")->trigger(); // cancelled: nothing printed
    EXPECT_TRUE(platform->reportTargets.empty());
}

TEST_F(PrintingTest, ExtractionWithTheArchiveALeftoverOrNeither) {
    const QString edited = ReportsFolder + "First Notice.rpt";
    // With the archive: the templates are laid out and a user's edit is overwritten.
    ASSERT_TRUE(func_bExtractReports());
    for (const QString& name : report_TemplateNames()) EXPECT_TRUE(QFile::exists(ReportsFolder + name)) << name.toStdString();
    ASSERT_TRUE(writeFile(edited, "edited"));
    ASSERT_TRUE(func_bExtractReports());
    EXPECT_TRUE(bytesOf(edited).contains("{{")) << "the edit is overwritten";
    // Only the leftover name: it becomes the archive again.
    ASSERT_TRUE(QFile::rename(report_sArchivePath(), report_sLeftoverArchivePath()));
    EXPECT_TRUE(func_bExtractReports());
    EXPECT_TRUE(QFile::exists(report_sArchivePath()));
    EXPECT_FALSE(QFile::exists(report_sLeftoverArchivePath()));
    // Neither, and a template gone: the message once, then the missing template named; nothing loops.
    ASSERT_TRUE(QFile::remove(report_sArchivePath()));
    ASSERT_TRUE(QFile::remove(ReportsFolder + "Final Notice.rpt"));
    platform->messages.clear();
    open();
    screen->showCase(quoted, obrien);
    screen->cmdPrintNotice_Click(2);
    ASSERT_EQ(platform->messages.size(), 2u);
    EXPECT_EQ(platform->messages[0].text, "The brenvola.ccs file is not available. It needs to be installed.");
    EXPECT_TRUE(platform->messages[1].text.contains("\"Final Notice.rpt\" is missing"));
    EXPECT_TRUE(platform->reportFiles.isEmpty());
}

TEST_F(PrintingTest, AFailingPrinterIsReportedAsPrinterError) {
    platform->printerFails = true;
    open();
    action("mnuCurrent_1")->trigger();
    EXPECT_EQ(messageTitles().value(0), "Printer Error");
    EXPECT_TRUE(platform->reportFiles.isEmpty());
}

TEST_F(PrintingTest, MerchantDetailsAreEditedUnderOptionsAndHeadTheNextLetter) {
    open();
    platform->modalHandlers.push_back([this](QObject* screen) {
        auto* details = qobject_cast<frmMerchantDetails*>(screen);
        ASSERT_NE(details, nullptr);
        EXPECT_EQ(details->box("CompanyName")->text(), "Harbour Hardware");
        details->box("CompanyName")->setText("Quay Tools");
        details->box("Fax")->clear();
        details->findChild<QPushButton*>("cmdHelp")->click();
        details->findChild<QPushButton*>("cmdOK")->click();
    });
    action("mnuMerchantDetails")->trigger();
    EXPECT_EQ(config_Text("CompanyName"), std::optional<QString>("Quay Tools"));
    ASSERT_EQ(platform->helpCalls.size(), 1u);
    EXPECT_EQ(platform->helpCalls[0].topic, "Merchant_Details.htm");
    ASSERT_TRUE(func_bExtractReports());
    const QString letter = print("Final Notice.rpt", report_sReferenceFormula("AB'12"));
    EXPECT_TRUE(letter.trimmed().startsWith("Quay Tools\n")) << letter.toStdString();
    EXPECT_FALSE(letter.contains("Fax"));
}

} // namespace
