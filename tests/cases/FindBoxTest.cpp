#include "cases/CaseScreenSupport.h"
#include "widgets/FindBox.h"

#include <QListView>

namespace {

class FindBoxTest : public CaseScreenTest {
protected:
    void SetUp() override {
        CaseScreenTest::SetUp();
        first = addCustomer({{"ShowAs", Value("Okafor, Ada")}, {"CompanyName", Value("Hárbour Bakery")}});
        second = addCustomer({{"ShowAs", Value("Dubois, Luc")}, {"CompanyName", Value("Harbour Marine")}});
        firstCase = addCase(first, {{"CaseOpen", Value(true)}, {"CheckNumber", Value("3301")}});
        secondCase = addCase(second, {{"CaseOpen", Value(true)}, {"CheckNumber", Value("3302")}});
        open();
        box = child<FindBox>("txtFind");
    }
    bool listed() const { return box->resultList()->isVisible(); }
    // The texts of the list's rows, headings included.
    QStringList rows() const {
        QStringList texts;
        for (int row = 0; row < box->results()->rowCount(); ++row)
            texts << box->results()->index(row).data().toString();
        return texts;
    }

    qint64 first = 0, second = 0, firstCase = 0, secondCase = 0;
    FindBox* box = nullptr;
};

TEST_F(FindBoxTest, CtrlFTypingAndEnterOpenTheFirstHitWithoutTouchingTheCase) {
    QTest::keyClick(screen.get(), Qt::Key_F, Qt::ControlModifier);
    EXPECT_TRUE(box->hasFocus());
    QTest::keyClicks(box, "harbour");
    ASSERT_TRUE(listed());
    EXPECT_EQ(rows(), QStringList({"Customers", "Dubois, Luc · Harbour Marine", "Okafor, Ada · Hárbour Bakery"}));
    EXPECT_EQ(box->results()->index(1).data(FindResultsModel::HtmlRole).toString(),
              "Dubois, Luc · <b>Harbour</b> Marine");
    EXPECT_FALSE(screen->bCaseDirty) << "typing into the find box changes nothing of the case";
    const QRect list = box->resultList()->geometry();
    EXPECT_GE(list.top(), box->mapTo(screen.get(), QPoint(0, box->height())).y()) << "under the box";
    EXPECT_LE(list.right(), screen->width());

    QTest::keyClick(box, Qt::Key_Return);
    EXPECT_FALSE(listed());
    EXPECT_EQ(screen->customerKey(), second);
    EXPECT_EQ(screen->caseKey(), secondCase) << "the customer with their case";

    // Down moves to the next hit; Enter opens that one. A case hit opens the case.
    box->clear();
    EXPECT_FALSE(listed()) << "an empty box shows no list";
    QTest::keyClicks(box, "330");
    ASSERT_EQ(rows(), QStringList({"Cases", "Case # REF2 · Check # 3302 · Dubois, Luc",
                                   "Case # REF1 · Check # 3301 · Okafor, Ada"}));
    QTest::keyClick(box, Qt::Key_Down);
    QTest::keyClick(box, Qt::Key_Down);
    QTest::keyClick(box, Qt::Key_Return);
    EXPECT_EQ(screen->caseKey(), firstCase);
    EXPECT_EQ(screen->customerKey(), first);

    // A click opens the row clicked; Escape closes the list.
    box->clear();
    QTest::keyClicks(box, "ok");
    ASSERT_EQ(rows(), QStringList({"Customers", "Okafor, Ada · Hárbour Bakery"}));
    QTest::keyClick(box, Qt::Key_Escape);
    EXPECT_FALSE(listed());
    box->openRow(1);
    EXPECT_EQ(screen->customerKey(), first);
    EXPECT_TRUE(platform->errorReports.empty());
}

} // namespace
