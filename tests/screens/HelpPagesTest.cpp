#include "cases/CaseScreenSupport.h"
#include "support/Controls.h"
#include "support/TestFixtures.h"
#include "widgets/HelpViewer.h"

#include <QDirIterator>
#include <QFile>
#include <QRegularExpression>
#include <QTabWidget>
#include <QTextBrowser>

namespace {

class HelpPagesTest : public ProgramTest {
protected:
    // Every page name the program's code holds: each text "Name.htm" (no folder, no web address) in
    // the sources and screen files of src/.
    static QStringList topicsInCode() {
        static const QRegularExpression literal(R"re("([^"/\\:<>]+\.htm)")re");
        QStringList topics;
        QDirIterator it(DUNMARK_TEST_SOURCE_DIR, {"*.cpp", "*.h", "*.ui"}, QDir::Files, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            QFile file(it.next());
            if (!file.open(QIODevice::ReadOnly)) ADD_FAILURE() << file.fileName().toStdString();
            for (const auto& match : literal.globalMatch(QString::fromUtf8(file.readAll())))
                if (!topics.contains(match.captured(1))) topics << match.captured(1);
        }
        return topics;
    }
    // The heading of a page as written in src/help/pages.
    static QString headingOf(const QString& page) {
        QFile file(QStringLiteral(DUNMARK_TEST_SOURCE_DIR "/help/pages/") + page);
        if (!file.open(QIODevice::ReadOnly)) return QString();
        static const QRegularExpression h1("<h1>(.*)</h1>");
        return h1.match(QString::fromUtf8(file.readAll())).captured(1);
    }
};

// Every page a screen or menu opens is in the compiled help file, shows its own heading and says
// more than a line or two.
TEST_F(HelpPagesTest, EveryTopicNamedInTheCodeIsInTheHelpFile) {
    const QStringList topics = topicsInCode();
    // The pages the screens and menus are known to open (their buttons are tested to name them) are found.
    for (const char* page : {"Add_a_new_customer.htm", "Technical support.htm", "Exporting_to_a_Spreadsheet.htm"})
        EXPECT_TRUE(topics.contains(page)) << page;

    HelpViewer viewer(DUNMARK_TEST_HELP_FILE);
    auto* browser = viewer.findChild<QTextBrowser*>();
    ASSERT_NE(browser, nullptr);
    for (const QString& page : topics) {
        SCOPED_TRACE(page.toStdString());
        const QString heading = headingOf(page);
        ASSERT_FALSE(heading.isEmpty()) << "no page in src/help/pages";
        browser->clear();
        viewer.open(Platform::HelpCommand::Topic, page);
        const QString shown = browser->toPlainText();
        EXPECT_TRUE(shown.startsWith(heading)) << shown.left(80).toStdString();
        EXPECT_GT(shown.size(), 400);
    }
    // Beside the page: the contents, the index and the search.
    auto* tabs = viewer.findChild<QTabWidget*>();
    using Command = Platform::HelpCommand;
    for (auto [command, tab] :
         {std::pair{Command::Index, "Index"}, {Command::Search, "Search"}, {Command::Contents, "Contents"}}) {
        viewer.open(command, QString());
        EXPECT_EQ(tabs->tabText(tabs->currentIndex()), tab);
    }
}

class CaseScreenHelpTest : public CaseScreenTest {};

// Each help button and entry of the case screen opens its own page (the first button by the tab).
TEST_F(CaseScreenHelpTest, EveryHelpEntryOfTheCaseScreenOpensItsPage) {
    addCase(addCustomer({{"LastName", "Brown"}, {"ShowAs", "Brown"}}));
    open();
    using Command = Platform::HelpCommand;
    const std::tuple<int, const char*, Command, const char*> entries[] = {
        {0, "cmdHelp_0", Command::Topic, "Case_Information.htm"}, {1, "cmdHelp_0", Command::Topic, "Loading_Check_Images.htm"},
        {2, "cmdHelp_0", Command::Topic, "Collection_Info.htm"}, {3, "cmdHelp_0", Command::Topic, "Printing_Notices.htm"},
        {4, "cmdHelp_0", Command::Topic, "Case_Information.htm"},
        {0, "cmdHelp_1", Command::Topic, "Scanning_through_Customers_and_Cases.htm"},
        {0, "cmdMessage", Command::Topic, "Potential_problem_applying_processing_fee.htm"},
        {0, "mnuHelpItems_0", Command::Contents, ""}, {0, "mnuHelpItems_1", Command::Index, ""},
        {0, "mnuHelpItems_2", Command::Search, ""}, {0, "mnuHelpItems_4", Command::Topic, "Technical support.htm"},
        {0, "mnuHelpItems_5", Command::Topic, "Contacting_Dunmark.htm"}};
    for (const auto& [tab, control, command, topic] : entries) {
        SCOPED_TRACE(std::string(control) + " on tab " + std::to_string(tab));
        screen->findChild<QTabWidget*>("tabCases")->setCurrentIndex(tab);
        platform->helpCalls.clear();
        triggerControl(*screen, control);
        ASSERT_EQ(platform->helpCalls.size(), 1u);
        EXPECT_EQ(platform->helpCalls[0].command, command);
        EXPECT_EQ(platform->helpCalls[0].topic, command == Command::Topic ? QString(topic) : QString());
    }
}

} // namespace
