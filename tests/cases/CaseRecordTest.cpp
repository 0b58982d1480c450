#include "cases/CaseScreenSupport.h"
#include "core/Format.h"
#include "widgets/CaptionLabel.h"
#include "widgets/DatePicker.h"

namespace {

class CaseRecordTest : public CaseScreenTest {
protected:
    // A new case on the screen of a customer, in the new-case state.
    void newCase() {
        const qint64 customer = addCustomer({{"LastName", "Lee"}, {"ShowAs", "Lee"}});
        open();
        screen->setCustomerKey(customer);
        screen->func_bAdjustForEmptyDatabase();
        QTest::mouseClick(child<QAbstractButton>("cmdNewCase"), Qt::LeftButton);
        ASSERT_EQ(screen->sCaseMode, "N");
    }
    // The user checks the collection stage.
    void putInCollection() { userClick("chkNotice_4"); }
};

TEST_F(CaseRecordTest, NewCaseStartsFromTheSettings) {
    newCase();
    // The reference is the moment of creation, 4 December 2026 22:16:06.
    EXPECT_EQ(textsDiffering({{"txtReference", "EEBF0BA7"}, {"txtCollectionCompany", "Reliable Collections"},
                              {"txtCollectionContact", "Pat Officer"}, {"txtCollectionPercent", "30.00"},
                              {"txtCollectionDollar", "$25.00"}, {"txtAmount", "$0.00"}}), "");
    EXPECT_TRUE(screen->optCollectionType[0]->isChecked()) << "a percentage is set: Percent";
    EXPECT_EQ(child<DatePicker>("datReceived")->value(), platform->clock);
    EXPECT_EQ(child<QTabWidget>("tabCases")->currentIndex(), 1);
    for (auto* picker : screen->datNotice) EXPECT_TRUE(picker->isHidden());
    for (auto* picker : screen->datInstallmentDate) EXPECT_TRUE(picker->isHidden());

    // Without a percentage the case starts on Dollar.
    writeSettings(20, 0);
    screen->func_ClearCaseData();
    EXPECT_TRUE(screen->optCollectionType[1]->isChecked());
}

TEST_F(CaseRecordTest, TheMoneyOfACaseInCollection) {
    newCase();
    screen->chkNotice[4]->setChecked(false);
    child<QLineEdit>("txtAmount")->setText("100");
    // The cheque plus the fee.
    EXPECT_EQ(textsDiffering({{"lblCollectable", "$120.00"}, {"lblCollectionFee", "$0.00"}}), "");

    child<QCheckBox>("chkIncludeNSF")->setChecked(true);
    screen->optCollectionType[0]->setChecked(true);
    QTest::mouseClick(child<QPushButton>("cmdCollectionCharges"), Qt::LeftButton);
    EXPECT_EQ(text("cmdCollectionCharges"), "+");
    EXPECT_TRUE(child<QCheckBox>("chkAddCollectionFee")->isChecked()) << "button and box agree";
    putInCollection();
    EXPECT_EQ(textsDiffering({{"lblCollectionFee", "$36.00"}, {"lblBalance", "$156.00"}}), "");

    QTest::mouseClick(child<QPushButton>("cmdCollectionCharges"), Qt::LeftButton);
    EXPECT_EQ(textsDiffering({{"cmdCollectionCharges", "-"}, {"lblCollectable", "$84.00"}}), "");

    child<QCheckBox>("chkAddCollectionFee")->setChecked(true);
    EXPECT_EQ(text("cmdCollectionCharges"), "+");
    child<QCheckBox>("chkIncludeNSF")->setChecked(false);
    EXPECT_EQ(textsDiffering({{"lblCollectionFee", "$30.00"}, {"lblCollectable", "$150.00"}}), "");

    // A fixed charge, deducted, without the fee.
    screen->optCollectionType[1]->setChecked(true);
    child<QCheckBox>("chkAddCollectionFee")->setChecked(false);
    child<QCheckBox>("chkAddNSF")->setChecked(false);
    EXPECT_EQ(textsDiffering({{"lblCollectionFee", "$25.00"}, {"lblCollectable", "$75.00"}}), "");
}

TEST_F(CaseRecordTest, IncludingTheFeeInThePercentageMakesTheFeeDue) {
    writeSettings(20, 30, 25, false, 3);
    newCase();
    child<QLineEdit>("txtAmount")->setText("100"); // the fee comes with the final notice, not yet reached
    putInCollection();
    child<QCheckBox>("chkIncludeNSF")->setChecked(true);
    EXPECT_TRUE(child<QCheckBox>("chkAddNSF")->isChecked());
    EXPECT_FALSE(child<QWidget>("lblProcessingFee")->isHidden());
    EXPECT_EQ(text("lblCollectionFee"), "$36.00");
}

TEST_F(CaseRecordTest, ANewAmountUnderCollectionWaitsForTheNextRecalculation) {
    newCase();
    child<QLineEdit>("txtAmount")->setText("100");
    putInCollection();
    const QString collectable = text("lblCollectable");
    child<QLineEdit>("txtAmount")->setText("200");
    EXPECT_EQ(textsDiffering({{"lblCheckAmount", "$200.00"}, {"lblCollectable", collectable}}), "");
    screen->func_Recalc();
    EXPECT_NE(text("lblCollectable"), collectable);
}

TEST_F(CaseRecordTest, InstallmentsFeedThePaidAmount) {
    newCase();
    child<QLineEdit>("txtAmount")->setText("100");
    type("txtInstallmentAmount_1", "50");
    EXPECT_FALSE(screen->datInstallmentDate[1]->isHidden());
    // The first key dates it today.
    EXPECT_EQ(screen->datInstallmentDate[1]->value(), QDateTime(platform->clock.date(), QTime(0, 0)));
    EXPECT_EQ(textsDiffering({{"lblPaidAmount", "$50.00"}, {"lblBalance", "$70.00"}}), "");

    // With the first box empty nothing counts.
    screen->txtInstallmentAmount[0]->setText("");
    EXPECT_EQ(text("lblPaidAmount"), "$0.00");

    // Leaving a box: empty becomes $0.00; zero hides the date.
    screen->txtInstallmentAmount[0]->setFocus();
    screen->txtInstallmentAmount[2]->setFocus();
    EXPECT_EQ(screen->txtInstallmentAmount[0]->text(), "$0.00");
    screen->txtInstallmentAmount[1]->setText("0");
    screen->txtInstallmentAmount[1]->setFocus();
    screen->txtInstallmentAmount[3]->setFocus();
    EXPECT_EQ(screen->txtInstallmentAmount[1]->text(), "$0.00");
    EXPECT_TRUE(screen->datInstallmentDate[1]->isHidden());

    // Letters and a second point never reach the box.
    screen->txtInstallmentAmount[4]->clear();
    type("txtInstallmentAmount_4", "1x2.5.0");
    EXPECT_EQ(screen->txtInstallmentAmount[4]->text(), "12.50");
}

TEST_F(CaseRecordTest, AStageClickedByTheUserDatesItAndMakesTheFeeDue) {
    writeSettings(20, 30, 25, false, 3);
    newCase();
    userClick("chkNotice_3");
    EXPECT_EQ(textsDiffering({{"lblStage", "Final Notice"}, {"lblStageDate", "Dec 4, 2026"}}), "");
    EXPECT_EQ(screen->datNotice[3]->value(), QDateTime(QDate(2026, 12, 4), QTime(0, 0)));
    EXPECT_TRUE(child<QCheckBox>("chkAddNSF")->isChecked());
    EXPECT_TRUE(screen->bCaseDirty);

    // Set by code the box only shows its picker and print button.
    screen->setFocus();
    screen->chkNotice[1]->setChecked(true);
    EXPECT_EQ(text("lblStage"), "Final Notice");
    EXPECT_FALSE(screen->datNotice[1]->isHidden());
    EXPECT_FALSE(screen->cmdPrintNotice[0]->isHidden());

    // Unchecking the highest stage shows the next lower one with its own date.
    screen->datNotice[1]->setValue(QDateTime(QDate(2026, 11, 20), QTime(0, 0)));
    userClick("chkNotice_3");
    EXPECT_EQ(textsDiffering({{"lblStage", "First Notice"}, {"lblStageDate", "11/20/2026"}}), "");
    EXPECT_TRUE(screen->datNotice[3]->isHidden());
    EXPECT_FALSE(child<QCheckBox>("chkAddNSF")->isChecked()) << "the fee stage is no longer reached";

    // Unchecking the only one left empties stage and date.
    userClick("chkNotice_1");
    EXPECT_EQ(textsDiffering({{"lblStage", ""}, {"lblStageDate", ""}}), "");
}

TEST_F(CaseRecordTest, UncheckingBackToTheFeeStageKeepsTheFeeDue) {
    writeSettings(20, 30, 25, false, 1);
    newCase();
    userClick("chkNotice_1");
    userClick("chkNotice_3");
    userClick("chkNotice_3");
    EXPECT_EQ(text("lblStage"), "First Notice");
    EXPECT_TRUE(child<QCheckBox>("chkAddNSF")->isChecked()) << "the stage shown is the fee stage";
}

TEST_F(CaseRecordTest, CollectionAdvisesRefusingFurtherCheques) {
    newCase();
    userClick("chkNotice_4");
    EXPECT_FALSE(child<QWidget>("lblNoMore")->isHidden());
    EXPECT_FALSE(screen->optAcceptChecks[0]->isChecked() || screen->optAcceptChecks[1]->isChecked());
    userClick("optAcceptChecks_0");
    EXPECT_TRUE(child<QWidget>("lblNoMore")->isHidden());
    EXPECT_TRUE(child<QCheckBox>("chkNoAccept")->isChecked());
    EXPECT_TRUE(customerField(screen->customerKey(), "NoMoreChecks").toBool()) << "written to the customer";
}

// The ageing rule itself is pinned by CaseLogic and FollowUpTest; here both labels take its colour.
TEST_F(CaseRecordTest, StageLabelsAgeFromYellowToRed) {
    newCase();
    auto* stage = child<CaptionLabel>("lblStage");
    auto* date = child<CaptionLabel>("lblStageDate");
    const QColor normal = stage->palette().color(QPalette::Button);
    const struct { const char *stage, *date; QColor colour; } rows[] = {
        {"First Notice", "11/24/2026", Qt::yellow}, // 10 days old
        {"First Notice", "11/19/2026", Qt::red},    // 15 days old
        {"First Notice", "11/30/2026", normal},
        {"Collection", "10/1/2026", normal}}; // a case in collection is never coloured
    for (const auto& r : rows) {
        stage->setCaption(r.stage);
        date->setCaption(r.date);
        for (auto* label : {stage, date})
            EXPECT_EQ(label->palette().color(QPalette::Window), r.colour) << r.stage << " " << r.date;
    }
}

TEST_F(CaseRecordTest, SavingANewCaseAddsOneRowWithEveryField) {
    newCase();
    child<QLineEdit>("txtAmount")->setText("1234.5");
    child<QLineEdit>("txtBank")->setText("Harbour Credit Union");
    child<QLineEdit>("txtAcountNum")->setText("0012");
    child<QComboBox>("cboCheckType")->setEditText("Stop Payment");
    child<QLineEdit>("txtInstallmentAmount_0")->setText("100");
    userClick("chkNotice_2");
    screen->chkNotice[5]->setChecked(true);
    screen->chkNotice[5]->setChecked(false); // its picker holds a date but is hidden
    const qint64 before = countRows("Cases");
    QTest::mouseClick(child<QAbstractButton>("cmdNewCase"), Qt::LeftButton);
    EXPECT_EQ(countRows("Cases"), before + 1);
    EXPECT_EQ(text("cmdNewCase"), "&New Case");
    const qint64 id = screen->caseKey();
    // The account number stays text; the stage is dated at midnight.
    EXPECT_EQ(caseFieldsDiffering(id, {{"ReferenceNumber", "EEBF0BA7"}, {"CheckAmount", "1234.5"},
                                       {"AccountNumber", "0012"}, {"Bank", "Harbour Credit Union"},
                                       {"Stage", "Second Notice"}, {"StageDate", "12/4/2026"},
                                       {"SecondNotice", "True"}, {"AmountPaid", "100"}, {"CaseOpen", "True"},
                                       {"CustomerID", QString::number(screen->customerKey())}}), "");
    EXPECT_TRUE(caseField(id, "PoliceNoticeDate").isNull()) << "a hidden picker's date is not saved";
    // The type typed for this case is offered from now on, and the text on display stays.
    EXPECT_GE(child<QComboBox>("cboCheckType")->findText("Stop Payment"), 0);
    EXPECT_EQ(text("cboCheckType"), "Stop Payment");
}

TEST_F(CaseRecordTest, AStoredCaseIsShownFieldByField) {
    const qint64 customer = addCustomer({{"LastName", "Lee"}});
    const qint64 full = addCase(customer, {{"CheckAmount", Value::currency(250)}, {"Bank", "Commerce Bank"},
                                           {"Stage", "First Notice"}, {"FirstNotice", true},
                                           {"FirstNoticeDate", Value::date(QDate(2026, 11, 30))},
                                           {"IncludeCollectionCharges", true}, {"CaseOpen", false},
                                           {"FinalResult", "Can't Pay"}});
    // A case with nothing but its key, customer and reference.
    const qint64 bare = addCase(customer, {{"DateReceived", Value::null()}, {"CaseOpen", true}});
    open();
    screen->func_GetCaseRecord(full, false);
    EXPECT_EQ(textsDiffering({{"txtAmount", "$250.00"}, {"txtBank", "Commerce Bank"},
                              {"lblStage", "First Notice"}, {"cboFinalResult", "Can't Pay"},
                              {"cmdCollectionCharges", "+"}}), "");
    EXPECT_FALSE(screen->datNotice[1]->isHidden());
    EXPECT_TRUE(screen->datNotice[2]->isHidden());
    EXPECT_TRUE(screen->optCaseStatus[1]->isChecked());
    EXPECT_TRUE(child<QComboBox>("cboFinalResult")->isEnabled()) << "a closed case takes a final result";
    EXPECT_FALSE(screen->bCaseDirty) << "showing a case changes nothing";

    // The bare case right after: nothing of the full one remains, the agency comes from the settings.
    screen->func_GetCaseRecord(bare, false);
    EXPECT_EQ(textsDiffering({{"txtCollectionCompany", "Reliable Collections"}, {"txtBank", ""},
                              {"lblStage", ""}, {"cmdCollectionCharges", "-"}, {"cboFinalResult", ""}}), "");
    EXPECT_TRUE(screen->datNotice[1]->isHidden());
    EXPECT_FALSE(child<QComboBox>("cboFinalResult")->isEnabled());
    EXPECT_TRUE(platform->errorReports.empty());
}

TEST_F(CaseRecordTest, UnreadableFieldsGiveOneMessageAndStayAsStored) {
    const qint64 id = addCase(addCustomer({{"LastName", "Lee"}}), {{"CheckAmount", Value::currency(80)},
                              {"PoliceNoticeDate", Value::date(QDate(2026, 1, 1))}});
    Database::open(DatabasePath)
        .execute(QString("UPDATE Cases SET DateReceived = 'soon', Installment2Amount = 'lots' WHERE CaseID = %1").arg(id));
    open(); // shows the one case, and its line in the customer's case list
    ASSERT_EQ(platform->messages.size(), 1u);
    EXPECT_EQ(platform->messages[0].title, "Unreadable Case Details");
    EXPECT_TRUE(platform->messages[0].text.contains("DateReceived, Installment2Amount"))
        << platform->messages[0].text.toStdString();
    EXPECT_TRUE(platform->errorReports.empty());

    // A change elsewhere is saved to the case's row; the unreadable fields keep what the file holds.
    child<QLineEdit>("txtCheckNum")->setText("4711");
    child<QLineEdit>("txtAmount")->setText("95");
    EXPECT_TRUE(screen->func_SaveCase(false));
    EXPECT_EQ(caseFieldsDiffering(id, {{"CheckNumber", "4711"}, {"CheckAmount", "95"},
                                       {"DateReceived", "soon"}, {"Installment2Amount", "lots"}}), "");
    EXPECT_TRUE(caseField(id, "PoliceNoticeDate").isNull()) << "the unchecked stage loses its date";
    EXPECT_EQ(countRows("Cases"), 1);
    EXPECT_EQ(platform->messages.size(), 1u);
}

TEST_F(CaseRecordTest, EmptyAmountBoxesSaveAsZero) {
    newCase();
    child<QLineEdit>("txtAmount")->setText("");
    child<QLineEdit>("txtCollectionPercent")->setText("");
    screen->txtInstallmentAmount[2]->setText("");
    QTest::mouseClick(child<QAbstractButton>("cmdNewCase"), Qt::LeftButton);
    EXPECT_TRUE(platform->errorReports.empty());
    const qint64 id = screen->caseKey();
    EXPECT_EQ(caseFieldsDiffering(id, {{"CheckAmount", "0"}, {"Installment3Amount", "0"}}), "");
}

TEST_F(CaseRecordTest, SettingsWithoutValuesReadAsZero) {
    Database::open(DatabasePath).execute("DELETE FROM Config");
    platform->modalHandlers.push_back([](QObject*) {}); // the agency settings, left without a change
    open();
    ASSERT_EQ(platform->modalScreens.size(), 1u);
    EXPECT_EQ(platform->messages.at(0).text, "You should enter information for your collection agency.");
    EXPECT_EQ(screen->dNSFfee, Money());
    EXPECT_EQ(screen->iAddNSFStage, 0);
    EXPECT_TRUE(platform->errorReports.empty());
    // A processing-fee stage outside 0 to 4 counts as the first.
    writeSettings(20, 30, 25, false, 9);
    screen->func_LoadCollectionSettings();
    EXPECT_EQ(screen->iAddNSFStage, 0);
    EXPECT_TRUE(screen->mnuAddNSF[0]->isChecked());
}

TEST_F(CaseRecordTest, TheFeeStageMenuIsStoredAtOnce) {
    newCase();
    screen->chkNotice[2]->setChecked(true);
    child<QCheckBox>("chkAddNSF")->setChecked(false);
    screen->mnuAddNSF[2]->trigger();
    EXPECT_FALSE(screen->mnuAddNSF[0]->isChecked()) << "one stage checked in the menu";
    EXPECT_TRUE(child<QCheckBox>("chkAddNSF")->isChecked()) << "stage 2 is reached";
    EXPECT_EQ(Database::open(DatabasePath).openTable("Config").value("AddNSF").toLongLong(), 2);
    // Collection, police or attorney reached: the last choice makes the fee due too.
    child<QCheckBox>("chkAddNSF")->setChecked(false);
    screen->chkNotice[2]->setChecked(false);
    screen->chkNotice[6]->setChecked(true);
    screen->mnuAddNSF[4]->trigger();
    EXPECT_TRUE(child<QCheckBox>("chkAddNSF")->isChecked());
}

} // namespace

// A $100 cheque with a $25 fee, saved at some stage, shown again and paid in part: the fee stays
// with the case through every load and save.
TEST_F(CaseRecordTest, ASavedFeeStaysThroughLoadAndSave) {
    // feeStage: the stage from which the fee is due; stage: the one checked before saving (-1: none).
    const struct { const char* what; int feeStage, stage; bool feeDue; } cases[] = {
        {"saved before any stage", 0, -1, true},
        {"saved after the first stage", 0, 1, true},
        {"saved at the fee stage", 3, 3, true},
        {"saved before the fee stage", 3, 2, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        writeSettings(25, 30, 25, false, c.feeStage);
        newCase();
        child<QLineEdit>("txtAmount")->setText("100");
        if (c.stage >= 0) userClick(QStringLiteral("chkNotice_%1").arg(c.stage));
        EXPECT_EQ(child<QCheckBox>("chkAddNSF")->isChecked(), c.feeDue);
        QTest::mouseClick(child<QAbstractButton>("cmdNewCase"), Qt::LeftButton);
        const qint64 id = screen->caseKey();
        const QString owed = c.feeDue ? "$125.00" : "$100.00", owedAfterTen = c.feeDue ? "$115.00" : "$90.00";
        ASSERT_EQ(fmt_Currency(caseField(id, "BallanceOwed").toMoney()), owed);

        // Shown again, the amounts agree with the stored ones.
        screen->func_GetCaseRecord(id, false);
        EXPECT_EQ(child<QCheckBox>("chkAddNSF")->isChecked(), c.feeDue);
        EXPECT_EQ(textsDiffering({{"lblCollectable", owed}, {"lblBalance", owed}}), "");

        // A $10 installment, then on to another case: the fee is still owed.
        retype("txtInstallmentAmount_0", "10");
        EXPECT_TRUE(screen->func_SaveCase(false));
        EXPECT_EQ(caseField(id, "AddNSF").toBool(), c.feeDue);
        EXPECT_EQ(fmt_Currency(caseField(id, "BallanceOwed").toMoney()), owedAfterTen);
        screen->func_GetCaseRecord(id, false);
        EXPECT_EQ(textsDiffering({{"lblCollectable", owed}, {"lblBalance", owedAfterTen}}), "");
        screen.reset();
    }
}
