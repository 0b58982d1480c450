#include "core/Help.h"
#include "core/Pointer.h"
#include "support/TestFixtures.h"
#include "widgets/HelpViewer.h"
#include "widgets/QtPlatform.h"
#include "widgets/WidgetUtilities.h"

#include <QApplication>
#include <QScreen>
#include <QTextBrowser>

namespace {

class WindowHelpTest : public ProgramTest {};

TEST_F(WindowHelpTest, MousePointerNumbers) {
    util_SetMousePointer(11);
    EXPECT_EQ(platform->pointer, Qt::WaitCursor);
    util_SetMousePointer(16);
    util_SetMousePointer(-1);
    EXPECT_EQ(platform->pointer, Qt::WaitCursor) << "numbers outside 0 to 15 do nothing";
    util_SetMousePointer(3);
    EXPECT_EQ(platform->pointer, Qt::IBeamCursor);
    util_SetMousePointer(0);
    EXPECT_EQ(platform->pointer, -1);
    for (int i = 1; i <= 15; ++i) EXPECT_TRUE(util_CursorShapeFor(i).has_value()) << i;
}

TEST(QtPlatformPointer, BusyPointersDoNotStackAndZeroClearsThemAll) {
    QtPlatform qt;
    qt.setPointer(Qt::WaitCursor);
    qt.setPointer(Qt::WaitCursor);
    qt.setPointer(Qt::IBeamCursor);
    ASSERT_NE(QApplication::overrideCursor(), nullptr);
    EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::IBeamCursor);
    qt.setPointer(-1);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

// A form of the usual size is centred as the splash screen shows.
TEST_F(WindowHelpTest, CenterFormCentresEvenWhenLargerThanTheDesktop) {
    const QRect desktop = QGuiApplication::primaryScreen()->geometry();
    QWidget large;
    large.resize(desktop.width() + 400, desktop.height() + 200);
    util_CenterForm(&large);
    EXPECT_EQ(large.frameGeometry().topLeft(), desktop.topLeft() - QPoint(200, 100));
}

TEST_F(WindowHelpTest, HelpCommandsReachTheViewer) {
    for (const char* command : {"Contents", "Index", "Search", "contents"})
        api_DisplayHTMLHelp(command);
    ASSERT_EQ(platform->helpCalls.size(), 3u) << "commands are compared exactly: \"contents\" is none";
    using Command = Platform::HelpCommand;
    const Command asked[] = {Command::Contents, Command::Index, Command::Search};
    for (size_t i = 0; i < 3; ++i) EXPECT_EQ(platform->helpCalls[i].command, asked[i]) << i;
    EXPECT_EQ(platform->helpCalls[0].helpFile, folder->path() + "/Dunmark.qch");
}

TEST_F(WindowHelpTest, TopicGetsHtmAppendedOnce) {
    HelpTopic = "Collection_Info";
    api_DisplayHTMLHelp("Topic");
    EXPECT_EQ(HelpTopic, "Collection_Info.htm") << "the stored value keeps the extension";
    api_DisplayHTMLHelp("Topic");
    ASSERT_EQ(platform->helpCalls.size(), 2u);
    for (const auto& call : platform->helpCalls) EXPECT_EQ(call.topic, "Collection_Info.htm");
    EXPECT_TRUE(api_sHelpPageAddress(HelpTopic).endsWith("/Collection_Info.htm"));
}

// The pages of the compiled help file are shown by HelpPagesTest; a missing file is said so.
TEST_F(WindowHelpTest, HelpViewerSaysWhenTheHelpFileIsMissing) {
    HelpViewer missing(folder->path() + "/Dunmark.qch");
    missing.open(Platform::HelpCommand::Contents, QString());
    EXPECT_TRUE(missing.findChild<QTextBrowser*>()->toPlainText().contains("could not be opened"));
}

TEST_F(WindowHelpTest, OpenSeparateProgramFileShowsTheBusyPointerMeanwhile) {
    api_OpenSeparateProgramFile("https://example.org/");
    EXPECT_EQ(platform->openedTargets, QStringList{"https://example.org/"});
    EXPECT_EQ(platform->pointerHistory, (std::vector<int>{Qt::WaitCursor, -1}));
}

} // namespace
