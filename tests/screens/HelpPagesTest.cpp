#include "support/TestFixtures.h"
#include "widgets/HelpViewer.h"

#include <QTextBrowser>

namespace {

class HelpPagesTest : public ProgramTest {};

// Every page the screens and menus open is in the compiled help file and shows its own heading.
TEST_F(HelpPagesTest, EveryTopicOfTheProgramIsInTheHelpFile) {
    const std::pair<const char*, const char*> pages[] = {
        {"Add_a_new_customer.htm", "Adding a New Customer"},
        {"Processing_Fee.htm", "The Processing Fee"},
        {"Collection_Charges.htm", "Collection Charges"},
        {"Collection_Info.htm", "Collection Information"},
        {"Case_Information.htm", "Case Information"},
        {"Loading_Check_Images.htm", "Loading Cheque Images"},
        {"Printing_Notices.htm", "Printing Notices"},
        {"Scanning_through_Customers_and_Cases.htm", "Scanning through Customers and Cases"},
        {"Technical support.htm", "Technical Support"},
        {"Potential_problem_applying_processing_fee.htm", "Potential Problem Applying the Processing Fee"},
        {"Contacting_Dunmark.htm", "Contacting Dunmark"},
    };
    HelpViewer viewer(DUNMARK_TEST_HELP_FILE);
    auto* browser = viewer.findChild<QTextBrowser*>();
    ASSERT_NE(browser, nullptr);
    for (const auto& [page, heading] : pages) {
        browser->clear();
        viewer.open(Platform::HelpCommand::Topic, page);
        EXPECT_TRUE(browser->toPlainText().startsWith(heading)) << page;
    }
}

} // namespace
