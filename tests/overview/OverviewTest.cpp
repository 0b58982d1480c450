#include "cases/CaseScreenSupport.h"
#include "overview/FilterLogic.h"
#include "overview/OverviewModel.h"
#include "overview/frmFilter.h"
#include "overview/frmMain.h"
#include "widgets/DatePicker.h"

#include <QMouseEvent>
#include <QTableView>

namespace {

const QDate Dec1(2004, 12, 1);

TEST(OverviewLogicTest, CutsLongNamesAndNamesTheMissingOne) {
    EXPECT_EQ(overview_sCustomerText(QString(22, 'a')), ' ' + QString(22, 'a')) << "23 with the space: whole";
    EXPECT_EQ(overview_sCustomerText(QString(23, 'a')), ' ' + QString(20, 'a') + " ..");
    EXPECT_EQ(overview_sCustomerText(QString()), " ");
}

// Adams with two open cases, Baker and Cole with one closed case each, and a customer without any
// case or display name.
class OverviewTest : public CaseScreenTest {
protected:
    void SetUp() override {
        CaseScreenTest::SetUp();
        adams = addCustomer({{"ShowAs", "Adams, Amy"}});
        baker = addCustomer({{"ShowAs", "Baker"}});
        const qint64 cole = addCustomer({{"ShowAs", "Cole"}});
        nobody = addCustomer({{"LastName", "Nobody"}});
        a1 = addCase(adams, {{"Stage", "First Notice"}, {"StageDate", Value::date(QDate(2026, 11, 30))},
                             {"CollectionCompany", "ABC Collections"}, {"AmountPaid", Value::currency(10)},
                             {"BallanceOwed", Value::currency(90)}, {"DateReceived", Value::date(Dec1)}});
        a2 = addCase(adams, {{"CollectionCompany", "O'Brien Recovery"}, {"CheckDate", Value::date(Dec1)},
                             {"DateReceived", Value::date(QDateTime(Dec1, QTime(23, 59, 59)))}});
        b3 = addCase(baker, {{"CaseOpen", false}, {"Stage", ""}, {"CollectionCompany", "O'Brien Recovery"},
                             {"DateReceived", Value::date(Dec1.addDays(1))}});
        c4 = addCase(cole, {{"CaseOpen", false}, {"Stage", "Attorney"},
                            {"DateReceived", Value::date(QDateTime(Dec1.addDays(-1), QTime(23, 59, 59)))}});
    }
    QList<qint64> keys(const QString& sql) const {
        QList<qint64> found;
        Recordset rs = Database::open(DatabasePath).openDynaset(sql);
        for (; !rs.eof(); rs.moveNext()) found.append(rs.value("CaseID").toLongLong());
        std::sort(found.begin(), found.end());
        return found;
    }
    // Opens the filter from the case screen; work gets the dialog while it is shown.
    void filter(const std::function<void(frmFilter&)>& work) {
        platform->modalHandlers.push_back([work](QObject* s) { work(*qobject_cast<frmFilter*>(s)); });
        QTest::mouseClick(child<QAbstractButton>("cmdFilter"), Qt::LeftButton);
    }
    std::unique_ptr<frmMain> overview() {
        auto main = std::make_unique<frmMain>(*screen);
        main->Form_Load();
        main->show();
        return main;
    }
    static QString rowText(const frmMain& main, int row) {
        QStringList cells;
        for (int c = 0; c < OverviewColumnCount; ++c) cells << main.model()->index(row, c).data().toString();
        return cells.join('|');
    }
    static void clickCell(frmMain& main, int row, int column) {
        const QRect cell = main.scrOpenCases->visualRect(main.model()->index(row, column));
        QTest::mouseClick(main.scrOpenCases->viewport(), Qt::LeftButton, {}, cell.center());
    }
    qint64 adams = 0, baker = 0, nobody = 0, a1 = 0, a2 = 0, b3 = 0, c4 = 0;
};

// Each row's set holds exactly its cases, under the view name the case screen shows for it.
TEST_F(OverviewTest, TheFilterFindsExactlyItsCases) {
    const std::tuple<FilterChoices, QList<qint64>, const char*> rows[] = {
        {{}, {a1, a2}, "Open Cases"},
        {{.caseStatus = 2}, {b3, c4}, "Closed Cases"},
        {{.caseStatus = 0, .stage = "Unassigned"}, {b3}, "All Cases"}, // not the Null stage of a2
        {{.caseStatus = 0, .dateField = 1, .from = Dec1}, {a1, a2}, "All Cases"},
        {{.caseStatus = 0, .dateField = 1, .dateCondition = 1, .from = Dec1}, {a1, a2, b3}, "All Cases"},
        {{.caseStatus = 0, .dateField = 1, .dateCondition = 2, .from = Dec1}, {a1, a2, c4}, "All Cases"},
        {{.caseStatus = 0, .dateField = 1, .dateCondition = 3, .from = Dec1.addDays(-1), .to = Dec1},
         {a1, a2, c4}, "All Cases"},
        {{.caseStatus = 0, .dateField = 2, .dateCondition = 1, .from = Dec1}, {a2}, "All Cases"},
        {{.caseStatus = 0, .dateField = 3, .dateCondition = 2, .from = QDate(2026, 11, 30)}, {a1}, "All Cases"},
        {{.caseStatus = 0, .collectionCompany = "O'Brien Recovery"}, {a2, b3}, "All Cases"},
        {{.caseStatus = 0, .partialPayment = true}, {a1}, "All Cases"},
        {{.caseStatus = 1, .stage = "First Notice", .collectionCompany = "ABC Collections", .partialPayment = true,
          .dateField = 1, .from = Dec1},
         {a1}, "Open Cases"},
    };
    for (const auto& [choices, expected, view] : rows) {
        const FilterSet set = filter_Build(choices);
        EXPECT_EQ(keys(set.sql), expected) << set.sql.toStdString();
        EXPECT_EQ(set.viewText, view) << set.sql.toStdString();
    }
}

TEST_F(OverviewTest, TheFilterDialogAppliesItsSetAndStartsFreshEachTime) {
    open();
    filter([&](frmFilter& f) {
        EXPECT_TRUE(f.optCaseStatus[1]->isChecked());
        EXPECT_FALSE(f.findChild<QWidget*>("fraDateParm")->isEnabled());
        EXPECT_TRUE(f.findChild<QWidget*>("datFilterTo")->isHidden());
        f.optDate[1]->click();
        EXPECT_TRUE(f.findChild<QWidget*>("fraDateParm")->isEnabled());
        f.optDateReceived[3]->click();
        EXPECT_EQ(f.lblDateParm[0]->text(), "From:");
        EXPECT_FALSE(f.findChild<QWidget*>("datFilterTo")->isHidden());
        auto* agencies = f.findChild<QComboBox*>("cboCollectionCompany");
        EXPECT_EQ(agencies->count(), 2);
        EXPECT_EQ(agencies->currentText(), "");
        f.optCaseStatus[0]->click();
        f.optDate[0]->click();
        agencies->setCurrentText("O'Brien Recovery");
        QTest::mouseClick(f.findChild<QAbstractButton*>("cmdOKEventFilter"), Qt::LeftButton);
    });
    EXPECT_EQ(screen->sCaseSQL, "Select * FROM Cases where CollectionCompany = 'O''Brien Recovery'");
    EXPECT_EQ(text("cboView"), "All Cases");
    EXPECT_EQ(screen->caseKey(), a2);
    filter([&](frmFilter& f) {
        EXPECT_TRUE(f.optCaseStatus[1]->isChecked()) << "a new dialog";
        EXPECT_TRUE(f.optDate[0]->isChecked());
        EXPECT_EQ(f.findChild<QComboBox*>("cboCollectionCompany")->currentText(), "");
        f.findChild<QComboBox*>("cboStage")->setCurrentText("Police");
        QTest::mouseClick(f.findChild<QAbstractButton*>("cmdCancelEventFilter"), Qt::LeftButton);
    });
    EXPECT_EQ(screen->sCaseSQL, "Select * FROM Cases where CollectionCompany = 'O''Brien Recovery'");
    EXPECT_EQ(screen->caseKey(), a2);
    filter([&](frmFilter& f) {
        f.findChild<QComboBox*>("cboStage")->setCurrentText("Police");
        QTest::mouseClick(f.findChild<QAbstractButton*>("cmdOKEventFilter"), Qt::LeftButton);
    });
    EXPECT_EQ(text("cboView"), "Open Cases");
    EXPECT_EQ(screen->caseKey(), 0) << "no such case: the empty state";
}

TEST_F(OverviewTest, RowsFollowTheTypeChosenAtTheNextSort) {
    open();
    auto main = overview();
    ASSERT_EQ(main->model()->rowCount(), 2) << "Adams twice";
    EXPECT_EQ(main->model()->index(1, HLCustomerColumn).data().toString(), " Adams, Amy");
    main->optSort[1]->click();
    EXPECT_EQ(rowText(*main, 0), QString("*| Adams, Amy| REF%1||").arg(a2)) << "a Null stage and date stay empty";
    EXPECT_EQ(rowText(*main, 1), QString("*| Adams, Amy| REF%1| First Notice| 11/30/26").arg(a1));
    EXPECT_EQ(main->model()->index(1, CaseStageColumn).data(Qt::ToolTipRole).toString(), "$90.00");
    EXPECT_EQ(main->model()->index(1, StageDateColumn).data(Qt::ToolTipRole).toString(), "Received: 12/01/04");
    EXPECT_EQ(main->model()->index(0, 0).data(Qt::ForegroundRole).value<QBrush>().color(), QColor(255, 0, 0));
    EXPECT_EQ(main->model()->index(0, 0).data(Qt::BackgroundRole).value<QBrush>().color(), QColor(Qt::white));
    EXPECT_FALSE(main->model()->index(1, 0).data(Qt::BackgroundRole).isValid()) << "transparent";
    main->optCaseType[1]->click();
    EXPECT_EQ(rowText(*main, 0), QString("*| Adams, Amy| REF%1||").arg(a2)) << "the type alone rebuilds nothing";
    main->optSort[1]->click();
    ASSERT_EQ(main->model()->rowCount(), 2);
    EXPECT_EQ(rowText(*main, 0), QString("| Baker| REF%1| |").arg(b3)) << "an empty stage is no Null one";
    EXPECT_EQ(rowText(*main, 1), QString("| Cole| REF%1| Attorney|").arg(c4));
    main->optCaseType[2]->click();
    main->optSort[0]->click();
    ASSERT_EQ(main->model()->rowCount(), 5);
    EXPECT_EQ(rowText(*main, 0), "| [no 'Show As' info]|||") << "the customer without cases";
    EXPECT_FALSE(main->model()->index(0, HLCaseColumn).data(OverviewModel::LinkRole).toBool());
    EXPECT_EQ(main->model()->index(0, HLCustomerColumn).data(OverviewModel::KeyRole).toLongLong(), nobody);
}

TEST_F(OverviewTest, LinksOpenTheirCaseAndNeverReplaceANewCase) {
    open();
    auto main = overview();
    main->optCaseType[2]->click();
    main->optSort[0]->click(); // the customer without a name (or cases), Adams twice, Baker, Cole
    ASSERT_EQ(main->model()->overviewRow(3).caseId, b3);
    QMouseEvent move(QEvent::MouseMove, QPointF(main->scrOpenCases->visualRect(main->model()->index(3, HLCaseColumn)).center()),
                     QPointF(), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(main->scrOpenCases->viewport(), &move);
    EXPECT_EQ(main->scrOpenCases->viewport()->cursor().shape(), Qt::PointingHandCursor) << "under the mouse";
    clickCell(*main, 3, HLCaseColumn);
    EXPECT_EQ(screen->caseKey(), b3);
    EXPECT_EQ(screen->customerKey(), baker);
    clickCell(*main, 0, HLCustomerColumn);
    EXPECT_EQ(screen->customerKey(), nobody);
    EXPECT_FALSE(child<QWidget>("panNoCases")->isHidden()) << "no case of theirs to show";
    EXPECT_TRUE(platform->messages.empty());

    QTest::mouseClick(child<QAbstractButton>("cmdNewCase"), Qt::LeftButton);
    type("txtBank", "New Bank");
    const qint64 before = countRows("Cases");
    clickCell(*main, 1, HLCustomerColumn);
    EXPECT_EQ(screen->sCaseMode, "N");
    EXPECT_EQ(text("txtBank"), "New Bank");
    EXPECT_EQ(countRows("Cases"), before);
    EXPECT_EQ(caseField(a1, "Bank").toString(), "");
}

TEST_F(OverviewTest, ShowsMoreRowsThanASixteenBitCount) {
    const QString rows = "INSERT INTO Cases (CustomerID, CaseOpen, ReferenceNumber) WITH RECURSIVE n(i) AS "
                         "(SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 40000) SELECT %1, True, 'R' || i FROM n";
    Database::open(DatabasePath).execute(rows.arg(baker));
    open();
    auto main = overview();
    EXPECT_EQ(main->model()->rowCount(), 40002);
    main->scrOpenCases->scrollToBottom();
    EXPECT_EQ(main->scrOpenCases->rowAt(main->scrOpenCases->viewport()->height() - 1), 40001);
}

} // namespace
