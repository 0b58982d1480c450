#include "customers/CustomerScreenSupport.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>

namespace {

const QString DeleteQuestion = QStringLiteral("Are you sure you want to eliminate this record?  It may prove "
                                              "to be a valuable reference in the future.");
const QString CasesSentence =
    QStringLiteral(" for this customer. Any cases for this customer will be deleted as well.\r\r"
                   "Are you sure you want to remove this customer and their cases?");

class CustomerDeletionTest : public CustomerScreenTest {
protected:
    // Three customers in key order; the screen shows the middle one.
    void openOnMiddle() {
        first = addCustomer({{"LastName", "Ames"}});
        middle = addCustomer({{"LastName", "Baker"}});
        last = addCustomer({{"LastName", "Cole"}});
        open();
        navigate(2);
        ASSERT_EQ(keyOnDisplay(), QString::number(middle));
    }
    QString lastName() const { return box("txtLName")->text(); }

    qint64 first = 0;
    qint64 middle = 0;
    qint64 last = 0;
};

TEST_F(CustomerDeletionTest, ACustomerWithoutCasesIsDeletedAfterOneQuestion) {
    openOnMiddle();
    const qint64 otherCase = addCase(last, false);

    platform->answers = {Platform::No};
    click("cmdDelete");
    ASSERT_EQ(platform->messages.size(), 1u);
    EXPECT_EQ(platform->messages[0].text, DeleteQuestion);
    EXPECT_EQ(platform->messages[0].title, "Delete Customer");
    EXPECT_EQ(platform->messages[0].style, Platform::YesNo + Platform::Question);
    EXPECT_TRUE(customerStored(middle));
    EXPECT_EQ(lastName(), "Baker");

    platform->answers = {Platform::Yes};
    click("cmdDelete");
    EXPECT_EQ(platform->messages.size(), 2u) << "no question about cases";
    EXPECT_FALSE(customerStored(middle));
    EXPECT_EQ(rows("Address"), 2);
    EXPECT_EQ(lastName(), "Ames") << "the first customer in key order is shown";
    EXPECT_EQ(keyOnDisplay(), QString::number(first));
    EXPECT_EQ(casesOf(last), 1) << "another customer's case stays";
    EXPECT_NE(otherCase, 0);
}

TEST_F(CustomerDeletionTest, OneClosedCaseIsDeletedWithTheCustomerAfterASecondQuestion) {
    openOnMiddle();
    addCase(middle, false);

    // No to the cases: nothing is deleted.
    platform->answers = {Platform::Yes, Platform::No};
    click("cmdDelete");
    ASSERT_EQ(platform->messages.size(), 2u);
    EXPECT_EQ(platform->messages[1].text, "There is 1 closed case" + CasesSentence);
    EXPECT_EQ(platform->messages[1].title, "Delete Customer With Cases?");
    EXPECT_EQ(platform->messages[1].style, Platform::YesNo + Platform::Question);
    EXPECT_TRUE(customerStored(middle));
    EXPECT_EQ(casesOf(middle), 1);
    EXPECT_EQ(lastName(), "Baker") << "the customer stays on display";

    platform->answers = {Platform::Yes, Platform::Yes};
    click("cmdDelete");
    EXPECT_FALSE(customerStored(middle));
    EXPECT_EQ(casesOf(middle), 0);
    EXPECT_EQ(rows("Cases"), 0);
    EXPECT_EQ(lastName(), "Ames");
}

TEST_F(CustomerDeletionTest, ThreeClosedCasesAreCountedAndDeletedTogether) {
    openOnMiddle();
    for (int i = 0; i < 3; ++i)
        addCase(middle, false);
    addCase(first, true);
    addCase(last, false);

    platform->answers = {Platform::Yes, Platform::No};
    click("cmdDelete");
    ASSERT_EQ(platform->messages.size(), 2u);
    EXPECT_EQ(platform->messages[1].text, "There are 3 closed cases" + CasesSentence);
    EXPECT_EQ(casesOf(middle), 3);
    EXPECT_TRUE(customerStored(middle));

    platform->answers = {Platform::Yes, Platform::Yes};
    click("cmdDelete");
    EXPECT_FALSE(customerStored(middle));
    EXPECT_EQ(casesOf(middle), 0);
    EXPECT_EQ(casesOf(first), 1);
    EXPECT_EQ(casesOf(last), 1);
}

TEST_F(CustomerDeletionTest, AnOpenCaseRefusesTheDeletion) {
    openOnMiddle();
    addCase(middle, false);
    addCase(middle, true);
    addCase(middle, false);

    platform->answers = {Platform::Yes};
    click("cmdDelete");
    ASSERT_EQ(platform->messages.size(), 2u);
    EXPECT_EQ(platform->messages[1].text, "There is at least one open case for this customer.");
    EXPECT_EQ(platform->messages[1].title, "Can't Delete Customer");
    EXPECT_EQ(platform->messages[1].style, Platform::Exclamation);
    EXPECT_TRUE(customerStored(middle));
    EXPECT_EQ(casesOf(middle), 3) << "the closed cases are not touched";
    EXPECT_EQ(lastName(), "Baker");
}

TEST_F(CustomerDeletionTest, DeletingTheLastCustomerLeavesTheEmptyState) {
    const qint64 only = addCustomer({{"LastName", "Solo"}, {"City", "Digby"}});
    open();
    platform->answers = {Platform::Yes};
    click("cmdDelete");
    EXPECT_FALSE(customerStored(only));
    EXPECT_EQ(keyOnDisplay(), "0");
    EXPECT_EQ(lastName(), "");
    EXPECT_EQ(box("txtCity")->text(), "");
    EXPECT_FALSE(tabs()->isEnabled());
    EXPECT_FALSE(button("cmdDelete")->isEnabled());
    EXPECT_FALSE(button("cmdRevert")->isEnabled());
    EXPECT_EQ(platform->messages.size(), 1u);
}

TEST_F(CustomerDeletionTest, CasesComeBackWhenTheCustomerCannotBeDeleted) {
    openOnMiddle();
    addCase(middle, false);
    addCase(middle, false);
    execute("CREATE TRIGGER keepCustomer BEFORE DELETE ON Address BEGIN SELECT RAISE(ABORT, 'kept'); END");

    platform->answers = {Platform::Yes, Platform::Yes};
    platform->errorAnswers = {{3, false}};
    click("cmdDelete");
    ASSERT_EQ(platform->errorReports.size(), 1u);
    EXPECT_EQ(platform->errorReports[0].location, "Database.bas ! data_DeleteRecord");
    EXPECT_TRUE(customerStored(middle));
    EXPECT_EQ(casesOf(middle), 2) << "the cases are not left without their customer";

    // With the customer's row gone behind the screen's back: the cases stay as well.
    execute("DROP TRIGGER keepCustomer");
    navigate(2);
    ASSERT_EQ(lastName(), "Baker");
    execute(QString("DELETE FROM Address WHERE CustomerID = %1").arg(middle));
    platform->answers = {Platform::Yes, Platform::Yes};
    click("cmdDelete");
    EXPECT_TRUE(platform->messages.back().text.startsWith("Couldn't delete the record."));
    EXPECT_EQ(casesOf(middle), 2);

    // And the database takes further changes as usual: no transaction was left open.
    navigate(0);
    typeInto("txtCity", "Wolfville");
    navigate(2);
    EXPECT_EQ(stored(first, "City").toString(), "Wolfville");
}

TEST_F(CustomerDeletionTest, AnErrorWhileLookingForCasesKeepsTheCustomer) {
    openOnMiddle();
    execute("DROP TABLE Cases");
    platform->answers = {Platform::Yes};
    click("cmdDelete");
    ASSERT_EQ(platform->messages.size(), 2u);
    EXPECT_EQ(platform->messages[1].title, "Database table not found") << "the error is reported";
    EXPECT_TRUE(customerStored(middle)) << "a customer whose cases are unknown is not deleted";
    EXPECT_EQ(lastName(), "Baker");
}

} // namespace
