#include "customers/CustomerScreenSupport.h"

namespace {

class CustomerDeletionTest : public CustomerScreenTest {
protected:
    // Three customers in key order; the screen shows the middle one.
    void openOnMiddle() {
        first = addCustomer({{"LastName", "Ames"}});
        middle = addCustomer({{"LastName", "Baker"}});
        last = addCustomer({{"LastName", "Cole"}});
        openCustomers();
        navigate(2);
        ASSERT_EQ(keyOnDisplay(), QString::number(middle));
    }
    // The message at that place opens with that text.
    void expectMessage(size_t index, const QString& opening, const QString& title, int style) {
        ASSERT_GT(platform->messages.size(), index);
        const QString& text = platform->messages[index].text;
        EXPECT_TRUE(text.startsWith(opening)) << text.toStdString();
        EXPECT_EQ(platform->messages[index].title, title);
        EXPECT_EQ(platform->messages[index].style, style);
    }

    qint64 first = 0, middle = 0, last = 0;
};

TEST_F(CustomerDeletionTest, ClosedCasesAreCountedAskedForAndDeletedWithTheCustomer) {
    const qint64 ames = addCustomer({{"LastName", "Ames"}});
    addCase(ames);
    closedCase(ames);
    const std::pair<int, QString> counts[] = {
        {0, ""}, {1, "There is 1 closed case"}, {3, "There are 3 closed cases"}};
    openCustomers();
    for (const auto& [closed, count] : counts) {
        SCOPED_TRACE(closed);
        const qint64 victim = addCustomer({{"LastName", "Victim"}});
        for (int i = 0; i < closed; ++i) closedCase(victim);
        customers->func_CustGetCustomerRecord(victim);

        // No to the last question: nothing is deleted and the customer stays on display.
        platform->messages.clear();
        platform->answers = {closed ? Platform::Yes : Platform::No, Platform::No};
        click("cmdDelete");
        expectMessage(0, "Are you sure you want to eliminate this record?", "Delete Customer",
                      Platform::YesNo + Platform::Question);
        if (closed)
            expectMessage(1, count + " for this customer.", "Delete Customer With Cases?",
                          Platform::YesNo + Platform::Question);
        EXPECT_EQ(platform->messages.size(), closed ? 2u : 1u);
        EXPECT_TRUE(customerStored(victim));
        EXPECT_EQ(casesOf(victim), closed);
        EXPECT_EQ(boxText("txtLName"), "Victim");

        platform->answers = {Platform::Yes, Platform::Yes};
        click("cmdDelete");
        EXPECT_EQ(platform->messages.size(), closed ? 4u : 2u);
        EXPECT_FALSE(customerStored(victim));
        EXPECT_EQ(casesOf(victim), 0);
        EXPECT_EQ(casesOf(ames), 2) << "another customer's cases stay";
        EXPECT_EQ(keyOnDisplay(), QString::number(ames)) << "the first customer in key order is shown";
    }
}

TEST_F(CustomerDeletionTest, AnOpenCaseRefusesTheDeletion) {
    openOnMiddle();
    closedCase(middle);
    addCase(middle);
    closedCase(middle);
    platform->answers = {Platform::Yes};
    click("cmdDelete");
    expectMessage(1, "There is at least one open case for this customer.", "Can't Delete Customer",
                  Platform::Exclamation);
    EXPECT_TRUE(customerStored(middle));
    EXPECT_EQ(casesOf(middle), 3) << "the closed cases are not touched";
    EXPECT_EQ(boxText("txtLName"), "Baker");

    // An error while looking for the cases: reported, and a customer whose cases are unknown stays.
    execute("DROP TABLE Cases");
    platform->answers = {Platform::Yes};
    click("cmdDelete");
    EXPECT_EQ(messageTitles().value(3), "Database table not found");
    EXPECT_EQ(platform->messages.size(), 4u);
    EXPECT_TRUE(customerStored(middle));
    EXPECT_EQ(boxText("txtLName"), "Baker");
}

TEST_F(CustomerDeletionTest, CasesStayWhenTheCustomerCannotBeDeleted) {
    openOnMiddle();
    closedCase(middle);
    closedCase(middle);
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
    ASSERT_EQ(boxText("txtLName"), "Baker");
    execute(QString("DELETE FROM Address WHERE CustomerID = %1").arg(middle));
    platform->answers = {Platform::Yes, Platform::Yes};
    click("cmdDelete");
    EXPECT_TRUE(platform->messages.back().text.startsWith("Couldn't delete the record."));
    EXPECT_EQ(casesOf(middle), 2);

    // The database takes further changes as usual: no transaction was left open.
    navigate(0);
    typeInto("txtCity", "Wolfville");
    navigate(2);
    EXPECT_EQ(stored(first, "City"), Value("Wolfville"));
}

} // namespace
