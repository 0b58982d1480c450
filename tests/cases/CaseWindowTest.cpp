// The case window's fit: nothing clipped at its opening size and at its smallest, the room of a larger
// window going to the notes, the lists and the customer block, and what the key panels, the navigation
// buttons and the no-cases message show when there is nothing, or another customer's case, to show.
// CTest runs these tests a second time at 125 % scaling.
#include "cases/CaseScreenSupport.h"

#include <QGroupBox>
#include <QRegularExpression>
#include <QScreen>
#include <QScrollBar>
#include <QStyleOptionComboBox>
#include <QTabBar>
#include <QToolTip>

namespace {

class CaseWindowTest : public CaseScreenTest {
protected:
    // Lewis, with a company in the display name and five cases; Newman, without any case.
    void SetUp() override {
        CaseScreenTest::SetUp();
        lewis = addCustomer({{"Title", "Mr."}, {"FirstName", "Richard"}, {"LastName", "Lewis"},
                             {"CompanyName", "Bluewater Marine"}, {"Address1", "9658 Hillcrest Way"},
                             {"City", "Lakeside"}, {"StateOrProv", "WA"}, {"PostalCode", "K6A 1B2"},
                             {"Country", "Canada"}, {"Phone", "(895) 400-6630"}, {"Code", "C00045"},
                             {"Type", "Business"}, {"Identification", "Driver's licence 30117743"},
                             {"Notes", "Prefers calls after 5 pm."}, {"ShowAs", "Lewis, Richard   [Bluewater Marine]"}});
        newman = addCustomer({{"LastName", "Newman"}, {"FirstName", "Nora"}, {"ShowAs", "Newman, Nora"}});
        const QMap<QString, Value> stage = {{"Stage", "Second Notice"}, {"StageDate", Value::date(QDate(2026, 12, 30))},
                                            {"PhoneCall", true},        {"PhoneDate", Value::date(QDate(2026, 12, 2))},
                                            {"CheckAmount", Value::currency(1234.52)}};
        first = addCase(lewis, stage);
        for (int i = 0; i < 5; ++i) {
            QMap<QString, Value> fields = stage;
            fields["CaseOpen"] = i % 2 == 1;
            fields["ReferenceNumber"] = QString("E87547%1").arg(61 + i); // as long as real ones
            last = addCase(lewis, fields);
        }
    }

    // The window at a size, laid out, on one tab.
    void showAt(QSize size, int tab) {
        screen->resize(size);
        child<QTabWidget>("tabCases")->setCurrentIndex(tab);
        QApplication::processEvents();
    }

    // What of the visible controls' texts does not fit the room the control shows it in. Boxes may
    // hold more than they show when `boxes` is false (at the smallest size).
    QStringList clipped(bool boxes) const {
        QStringList found;
        const int frameWidth = screen->style()->pixelMetric(QStyle::PM_DefaultFrameWidth);
        const auto check = [&](QWidget* w, const QString& text, int room) {
            const int need = w->fontMetrics().horizontalAdvance(text);
            if (!text.isEmpty() && need > room)
                found << QStringLiteral("%1 \"%2\" needs %3 px, shows %4").arg(w->objectName(), text).arg(need).arg(room);
        };
        for (QWidget* w : screen->findChildren<QWidget*>()) {
            if (!w->isVisible()) continue;
            if (auto* label = qobject_cast<QLabel*>(w)) {
                const int room = label->contentsRect().width() - 2 * label->margin();
                for (const QString& line : label->text().split(QLatin1Char('\n'))) check(w, line, room);
                if (label->wordWrap() && label->heightForWidth(label->width()) > label->height())
                    found << w->objectName() + QStringLiteral(" is cut off at the bottom");
            } else if (qobject_cast<QRadioButton*>(w) || w->inherits("QCheckBox")) {
                if (w->width() < w->sizeHint().width()) found << w->objectName() + QStringLiteral(" is narrower than its text");
            } else if (auto* button = qobject_cast<QAbstractButton*>(w)) {
                check(w, button->text().remove('&'), button->width() - 6); // no caption holds a literal "&"
            } else if (auto* group = qobject_cast<QGroupBox*>(w)) {
                check(w, group->title(), group->width() - 8);
            } else if (auto* tabs = qobject_cast<QTabBar*>(w)) {
                if (tabs->tabRect(tabs->count() - 1).right() >= tabs->width()) // the tabs run left to right
                    found << QStringLiteral("the last tab reaches past the tab strip");
                if (tabs->width() > tabs->parentWidget()->width()) found << QStringLiteral("the tab strip is cut off");
            } else if (auto* combo = qobject_cast<QComboBox*>(w); combo && !combo->isEditable()) {
                QStyleOptionComboBox option;
                option.initFrom(combo);
                const QRect field = combo->style()->subControlRect(QStyle::CC_ComboBox, &option,
                                                                   QStyle::SC_ComboBoxEditField, combo);
                check(w, combo->currentText(), field.width());
            } else if (auto* edit = qobject_cast<QLineEdit*>(w); edit && boxes) {
                // The box less its margins, the two pixels a line edit keeps free on each side and its
                // frame; a drop-down's or a date box's own box goes by the name of its owner.
                QWidget* owner = edit->parentWidget();
                const bool inner = owner->inherits("QComboBox") || owner->inherits("QAbstractSpinBox");
                const int room = edit->width() - edit->textMargins().left() - edit->textMargins().right() - 4;
                check(inner ? owner : w, edit->text(), room - (edit->hasFrame() ? 2 * frameWidth : 0));
            } else if (auto* list = qobject_cast<QListWidget*>(w)) {
                if (list->horizontalScrollBar()->isVisible()) found << w->objectName() + QStringLiteral(" scrolls sideways");
            }
        }
        return found;
    }

    QSize designSize() const { return frmCaseDetails().size(); }
    void expectNothingClippedAt(QSize size, bool boxes); // in each state below

    qint64 lewis = 0, newman = 0, first = 0, last = 0;
};

// The screen's states that show other controls: each tab of a case, the lookup, the no-cases panel.
struct WindowState { const char* name; int tab; std::function<void(frmCaseDetails&)> enter; };

const WindowState States[] = {
    {"Case tab", 0, nullptr},    {"Check Info tab", 1, nullptr}, {"Collection Info tab", 2, nullptr},
    {"Notices tab", 3, nullptr}, {"Payment tab", 4, nullptr},
    {"case lookup", 0, [](frmCaseDetails& s) { s.cmdCaseLookup_Click(); }},
    {"no cases", 0, [](frmCaseDetails& s) { s.cmdCustomerNavigate_Click(3); }}};

TEST_F(CaseWindowTest, OpensAtItsDesignSizeWithinTheDesktop) {
    open();
    QApplication::processEvents();
    const QSize desktop = screen->screen()->availableGeometry().size();
    const QSize minimum = screen->minimumSizeHint();
    EXPECT_EQ(screen->size(), designSize().boundedTo(desktop).expandedTo(minimum));
    EXPECT_TRUE(designSize().width() >= minimum.width() && designSize().height() >= minimum.height());
    EXPECT_TRUE(minimum.width() <= 819 && minimum.height() <= 600) << "fits 1024 x 768 at 125 %";
}

void CaseWindowTest::expectNothingClippedAt(QSize size, bool boxes) {
    for (const WindowState& state : States) {
        open();
        if (state.enter) state.enter(*screen);
        showAt(size, state.tab);
        if (size == QSize(1, 1)) { EXPECT_EQ(screen->size(), screen->minimumSizeHint()) << state.name; }
        const QStringList found = clipped(boxes);
        EXPECT_TRUE(found.isEmpty()) << state.name << " at " << size.width() << " x " << size.height()
                                     << ":\n  " << found.join("\n  ").toStdString();
    }
}

// At the smallest size, which the layouts stop it at, the boxes may hold more than they show.
TEST_F(CaseWindowTest, NothingIsClippedAtTheDesignSizeNorCaptionsAtTheSmallest) {
    expectNothingClippedAt(designSize(), true);
    expectNothingClippedAt(QSize(1, 1), false);
    // The customer block shows each of its lines whole: "Type:" stays on the line of "Code:".
    open();
    showAt(designSize(), 0);
    const QRegularExpression codeAndType("(^|\n)Code:  C00045 *Type:  Business(\n|$)");
    EXPECT_TRUE(text("lblCustomerAddress").contains(codeAndType)) << text("lblCustomerAddress").toStdString();
}

TEST_F(CaseWindowTest, APickerEntryTooLongForThePickerShowsWholeOnHover) {
    open();
    QLineEdit* edit = child<QComboBox>("cboCustomerList")->lineEdit();
    const auto hover = [&] {
        QHelpEvent help(QEvent::ToolTip, QPoint(5, 5), edit->mapToGlobal(QPoint(5, 5)));
        QApplication::sendEvent(edit, &help);
        return QToolTip::isVisible() ? QToolTip::text() : QString();
    };
    showAt(designSize(), 0);
    EXPECT_EQ(hover(), "") << "the entry shows whole already";
    showAt(QSize(1, 1), 0);
    EXPECT_EQ(hover(), "Lewis, Richard   [Bluewater Marine]  |  Second Notice  |  12/30/2026");
}

TEST_F(CaseWindowTest, ALargerWindowGivesItsRoomToNotesListsAndCustomerBlock) {
    // Every one grows wider; all but the customer block grow taller too.
    const std::pair<const char*, bool> table[] = {{"txtNotes", true},      {"lstCustomerCases", true},
                                                  {"lblCustomerAddress", false}, {"txtDetails", true},
                                                  {"lstSelectCase", true},     {"tabCases", true}};
    open();
    screen->cmdCaseLookup_Click();
    showAt(designSize(), 0);
    QMap<QString, QSize> before;
    for (const auto& [control, taller] : table) before[control] = child<QWidget>(control)->size();
    screen->cmdLookupResult_Click(1);
    showAt(designSize() + QSize(300, 240), 0);
    screen->cmdCaseLookup_Click();
    QApplication::processEvents();
    for (const auto& [control, taller] : table) {
        const QSize now = child<QWidget>(control)->size(), was = before[control];
        EXPECT_GE(now.width(), was.width() + 100) << control;
        if (taller) { EXPECT_GE(now.height(), was.height() + 60) << control; }
    }
    // The buttons keep their height.
    EXPECT_EQ(child<QWidget>("cmdNewCase")->height(), child<QWidget>("cmdNewCase")->sizeHint().height());
    EXPECT_TRUE(clipped(true).isEmpty());
}

TEST_F(CaseWindowTest, AnEmptyDatabaseShowsNoKeysAndRestsTheNavigation) {
    for (const char* table : {"Cases", "Address"})
        Database::open(DatabasePath).execute(QString("DELETE FROM ") + table);
    open();
    const Texts blank = {{"panCaseNavigate", ""}, {"panCustomerNavigate", ""}, {"lblCustomerAddress", ""}};
    EXPECT_EQ(textsDiffering(blank), "");
    for (const char* name : {"cmdCaseNavigate_0", "cmdCaseNavigate_1", "cmdCaseNavigate_2", "cmdCaseNavigate_3",
                             "cmdCustomerNavigate_0", "cmdCustomerNavigate_1", "cmdCustomerNavigate_2",
                             "cmdCustomerNavigate_3", "cmdNewCase", "cmdDeleteCase", "cmdShowCase"})
        EXPECT_FALSE(child<QWidget>(name)->isEnabled()) << name;
    EXPECT_FALSE(child<QWidget>("panNoCases")->isHidden());
    EXPECT_TRUE(platform->messages.empty() && platform->errorReports.empty());
    // The first customer, then their first case, bring the buttons back.
    const qint64 only = addCustomer({{"LastName", "Solo"}, {"ShowAs", "Solo"}});
    screen->func_bAdjustForEmptyDatabase();
    EXPECT_TRUE(child<QWidget>("cmdCustomerNavigate_0")->isEnabled());
    EXPECT_FALSE(child<QWidget>("cmdCaseNavigate_0")->isEnabled());
    screen->cmdCustomerNavigate_Click(0);
    EXPECT_EQ(screen->customerKey(), only);
    screen->cmdNewCase_Click();
    EXPECT_FALSE(child<QWidget>("cmdCaseNavigate_0")->isEnabled()) << "a new case is being taken in";
    type("txtAmount", "100");
    screen->cmdNewCase_Click(); // "&Save Case"
    EXPECT_EQ(text("panCaseNavigate"), QString::number(screen->caseKey())) << "saved and shown";
    for (const char* name : {"cmdCaseNavigate_0", "cmdCaseNavigate_1", "cmdCaseNavigate_2", "cmdCaseNavigate_3"})
        EXPECT_TRUE(child<QWidget>(name)->isEnabled()) << name;
}

TEST_F(CaseWindowTest, TheNoCasesMessageNeverStandsBesideAnotherCustomersCase) {
    open();
    ASSERT_EQ(screen->caseKey(), first);
    screen->cmdCustomerNavigate_Click(3); // Newman, who has no case
    auto* panel = child<QWidget>("panNoCases");
    ASSERT_FALSE(panel->isHidden());
    EXPECT_EQ(text("panCaseNavigate"), "") << "Lewis's case is no longer on display";
    EXPECT_TRUE(text("cboCustomerList").startsWith("Newman, Nora")) << "the picker names the customer on display";
    EXPECT_TRUE(child<QWidget>("cmdShowCase")->isEnabled());

    auto* picker = child<QComboBox>("cboCustomerList");
    const auto pick = [&](const char* name) {
        picker->setCurrentIndex(picker->findText(name, Qt::MatchStartsWith));
        screen->cboCustomerList_Click();
    };
    // Every way a case comes back on screen takes the message away, and shows the case's customer.
    const std::pair<const char*, std::function<void()>> ways[] = {
        {"First", [&] { screen->cmdCaseNavigate_Click(0); }},
        {"Next", [&] { screen->cmdCaseNavigate_Click(2); }},
        {"Last", [&] { screen->cmdCaseNavigate_Click(3); }},
        {"Show Case", [&] { screen->cmdShowCase_Click(); }}, {"picker", [&] { pick("Lewis"); }},
        {"lookup", [&] {
             screen->cmdCaseLookup_Click();
             child<QListWidget>("lstSelectCase")->setCurrentRow(0);
             screen->cmdLookupResult_Click(0);
         }}};
    for (const auto& [name, show] : ways) {
        screen->cmdCustomerNavigate_Click(3);
        ASSERT_FALSE(panel->isHidden()) << name;
        show();
        EXPECT_TRUE(panel->isHidden()) << name;
        EXPECT_TRUE(child<QWidget>("tabCases")->isEnabled()) << name;
        EXPECT_EQ(screen->customerKey(), lewis) << name;
        EXPECT_EQ(screen->caseCustomerKey(), lewis) << name;
        EXPECT_EQ(text("panCaseNavigate"), QString::number(screen->caseKey())) << name;
    }
    // A customer without cases chosen in the picker keeps the message, now about them.
    screen->cmdCustomerNavigate_Click(3);
    pick("Newman");
    EXPECT_FALSE(panel->isHidden());
    EXPECT_EQ(screen->customerKey(), newman);
}

} // namespace
