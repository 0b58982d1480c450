// The case screen's loading and closing, its menus and its tool buttons.
#include "cases/frmCaseDetails.h"
#include "cases/frmFollowUp.h"
#include "core/AppInfo.h"
#include "core/ErrorHandling.h"
#include "core/Help.h"
#include "core/Platform.h"
#include "core/Scoped.h"
#include "customers/frmCustomers.h"
#include "data/DatabaseProcs.h"
#include "overview/frmFilter.h"
#include "overview/frmMain.h"
#include "screens/frmAbout.h"
#include "screens/frmCalendar.h"
#include "screens/frmCheckImages.h"
#include "screens/frmCollectionCompany.h"
#include "screens/frmExport.h"
#include "screens/frmMemoPad.h"
#include "ui_frmCaseDetails.h"
#include "widgets/DataWidgets.h"
#include "widgets/FindBox.h"
#include "widgets/WidgetUtilities.h"

#include <QApplication>
#include <QCloseEvent>
#include <QShortcut>
#include <QStandardPaths>

namespace {
const QString WebSite = QStringLiteral("http://www.dunmark.example");
const QString ContactAddress = QStringLiteral("support@dunmark.example");

// The desktop calculators looked for, in order.
const QStringList Calculators = {QStringLiteral("gnome-calculator"), QStringLiteral("kcalc"),
                                 QStringLiteral("galculator"),       QStringLiteral("mate-calc"),
                                 QStringLiteral("qalculate-gtk"),    QStringLiteral("xcalc")};

// Shows a small screen beside the case screen: the one on display comes to the front, else a new one
// is built (a closed one is gone, so every opening starts afresh).
template <class Screen> void showBeside(QWidget* owner, const QString& location) {
    ErrorGuard g(location);
    for (Screen* open : owner->findChildren<Screen*>(QString(), Qt::FindDirectChildrenOnly)) {
        if (!open->isVisible()) continue;
        g.run([&] {
            platform().showModeless(open);
            open->raise();
            open->activateWindow();
        });
        return;
    }
    auto* screen = new Screen(owner);
    screen->setAttribute(Qt::WA_DeleteOnClose);
    g.run([&] { platform().showModeless(screen); });
}
} // namespace

void frmCaseDetails::connectMenus() {
    const std::pair<QAction*, int> showItems[] = {
        {ui->mnuShowMenu_0, 0}, {ui->mnuShowMenu_2, 2}, {ui->mnuShowMenu_4, 4}};
    for (auto [action, index] : showItems)
        connect(action, &QAction::triggered, this, [this, index = index] { mnuShowMenu_Click(index); });
    const std::pair<QAction*, int> helpItems[] = {{ui->mnuHelpItems_0, 0}, {ui->mnuHelpItems_1, 1},
                                                  {ui->mnuHelpItems_2, 2}, {ui->mnuHelpItems_4, 4},
                                                  {ui->mnuHelpItems_5, 5}};
    for (auto [action, index] : helpItems)
        connect(action, &QAction::triggered, this, [this, index = index] { mnuHelpItems_Click(index); });
    const std::pair<QAction*, int> webItems[] = {
        {ui->mnuWebSite_1, 1}, {ui->mnuWebSite_3, 3}, {ui->mnuWebSite_4, 4}, {ui->mnuWebSite_5, 5}};
    for (auto [action, index] : webItems)
        connect(action, &QAction::triggered, this, [this, index = index] { mnuWebSite_Click(index); });
    connect(ui->mnuExit, &QAction::triggered, this, [this] { close(); });
    cmdHelp = {ui->cmdHelp_0, ui->cmdHelp_1};
    for (int i = 0; i < 2; ++i) connect(cmdHelp[i], &QAbstractButton::clicked, this, [this, i] { cmdHelp_Click(i); });
    connect(ui->cmdCalculator, &QAbstractButton::clicked, this, [this] { cmdCalculator_Click(); });
    connect(ui->cmdCheckImage, &QAbstractButton::clicked, this, [this] { cmdCheckImage_Click(); });
    connect(ui->cmdMemo, &QAbstractButton::clicked, this,
            [this] { showBeside<frmMemoPad>(this, QStringLiteral("frmCaseDetails ! cmdMemo_Click")); });
    connect(ui->cmdCalendar, &QAbstractButton::clicked, this,
            [this] { showBeside<frmCalendar>(this, QStringLiteral("frmCaseDetails ! cmdCalendar_Click")); });
    connect(ui->mnuAboutItem, &QAction::triggered, this,
            [this] { showBeside<frmAbout>(this, QStringLiteral("frmCaseDetails ! mnuAboutItem_Click")); });
    connect(ui->cmdCustomerData, &QAbstractButton::clicked, this, [this] { mnuShowMenu_Click(2); });
    connect(ui->mnuFollowUpList, &QAction::triggered, this, [this] { mnuFollowUpList_Click(); });
    connect(ui->mnuExport, &QAction::triggered, this, [this] { mnuExport_Click(); });
    connect(ui->cmdFollowUp, &QAbstractButton::clicked, this, [this] { mnuFollowUpList_Click(); });
    connect(ui->cmdFilter, &QAbstractButton::clicked, this, [this] { mnuShowMenu_Click(4); });
    connect(ui->Command1, &QAbstractButton::clicked, this, [this] { Command1_Click(); });

    // Find anything: Ctrl+F goes to the box; a hit opens the way the other screens open one, saving a
    // changed case first.
    connect(new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_F), this), &QShortcut::activated, this, [this] {
        ui->txtFind->setFocus(Qt::ShortcutFocusReason);
        ui->txtFind->selectAll();
    });
    connect(ui->txtFind, &FindBox::caseChosen, this, [this](qint64 caseKey, qint64 customerKey) {
        showCase(caseKey, customerKey);
    });
    connect(ui->txtFind, &FindBox::customerChosen, this, [this](qint64 customerKey) { showCustomer(customerKey); });
}

void frmCaseDetails::Form_Load() {
    ErrorGuard g(QStringLiteral("frmCaseDetails ! Form_Load"));
    BusyPointer busy;
    ScopedFlag loading(bLoading);
    if (!g.run([&] {
            util_FitFormToScreen(this); // the form's design size, unless the desktop is smaller
            util_CenterForm(this);
            setWindowTitle(proc_vGetInternalInfo(QStringLiteral("AppNameAndVersion")));
        }))
        return;
    if (!g.run([&] {
            func_EnabledCases(false);
            ui->cmdShowCase->setEnabled(false);
        }))
        return;
    sAllCasesSQL = QStringLiteral("Select * FROM Cases");
    sOpenCasesSQL = sAllCasesSQL + QStringLiteral(" WHERE CaseOpen = True");
    sClosedCasesSQL = sAllCasesSQL + QStringLiteral(" WHERE CaseOpen = False");
    sCaseSQL = sOpenCasesSQL;
    if (!g.run([&] {
            data_PopulateListingCombo(this, DatabasePath, QStringLiteral("q_ListFinalResults"),
                                      QStringLiteral("FinalResult"), ui->cboFinalResult);
            data_PopulateListingCombo(this, DatabasePath, QStringLiteral("q_ListCheckTypes"), QStringLiteral("CheckType"),
                                      ui->cboCheckType);
            data_PopulateListingWithFieldNames(DatabasePath, QStringLiteral("Address"), ui->cboCustomerSearchBy);
            ui->cboCustomerSearchBy->setEditText(QStringLiteral("LastName"));
        }))
        return;
    if (!g.run([&] {
            const Value company = data_vCheckDBValue(SettingsDatabasePath, QStringLiteral("Config"),
                                                     QStringLiteral("CollectionCompanyName"), QString(), Value());
            if (company.toString().isEmpty()) {
                msgBox(QStringLiteral("You should enter information for your collection agency."),
                       Platform::Information, QStringLiteral("Collection Agency"));
                frmCollectionCompany settings(this);
                platform().showModal(&settings);
            }
        }))
        return;
    if (!g.run([&] { func_LoadCollectionSettings(); })) return;
    if (!g.run([&] {
            if (data_lGetRecordCount(DatabasePath, sOpenCasesSQL) > 0) func_GetCaseRecord(NoKey, false, 0, sCaseSQL);
        }))
        return;
    if (!g.run([&] {
            ui->tabCases->setCurrentIndex(0);
            ui->lblNoMore->raise();
            ui->panCaseControls->raise();
        }))
        return;
    if (!g.run([&] {
            func_bAdjustForEmptyDatabase();
            func_PopulateCustomerList();
        }))
        return;
    g.run([&] {
        if (caseCustomerKey() != 0) selectPickerCustomer(caseCustomerKey());
    });
}

void frmCaseDetails::closeEvent(QCloseEvent* event) {
    // A changed case is written before the screen goes; a new case is added as a new row. When the
    // write fails the screen stays, with the case on it.
    if (bCaseDirty) {
        const bool saved = sCaseMode == QLatin1String("N") ? func_SaveCase(true) : func_SaveCase(false);
        if (!saved) {
            event->ignore();
            return;
        }
        bCaseDirty = false;
        sCaseMode.clear();
    }
    event->accept();
    // The program ends with the case screen: the screens open beside it close too.
    for (QWidget* window : QApplication::topLevelWidgets())
        if (window != this && window->isVisible()) window->close();
}

void frmCaseDetails::func_bAdjustForEmptyDatabase() {
    ErrorGuard g(QStringLiteral("frmCaseDetails ! func_bAdjustForEmptyDatabase"));
    qint64 customers = 0;
    if (!g.run([&] { customers = data_lGetRecordCount(DatabasePath, QStringLiteral("Address")); })) return;
    g.run([&] {
        if (customers == 0) {
            ui->lblCustomerAddress->clear();
            ui->txtNotes->clear();
            ui->chkNoAccept->setChecked(false);
            ui->lstCustomerCases->clear();
            setCustomerKey(0);
            ui->cmdNewCase->setEnabled(false);
            ui->cmdDeleteCase->setEnabled(false);
            ui->cmdShowCase->setEnabled(false);
            for (QAbstractButton* b : cmdCustomerNavigate) b->setEnabled(false);
        } else {
            ui->cmdNewCase->setEnabled(true);
            for (QAbstractButton* b : cmdCustomerNavigate) setAvailable(b, true);
            if (caseKey() >= 1) {
                setAvailable(ui->cmdDeleteCase, true);
                setAvailable(ui->cmdShowCase, true);
            }
        }
    });
}

void frmCaseDetails::mnuShowMenu_Click(int index) {
    ErrorGuard g(QStringLiteral("frmCaseDetails ! mnuShowMenu_Click"));
    if (index == 0) {
        if (!g.run([&] {
                frmCollectionCompany settings(this);
                platform().showModal(&settings);
            }))
            return;
        g.run([&] { func_LoadCollectionSettings(); });
    } else if (index == 2) {
        frmCustomers customers(this);
        if (!g.run([&] {
                customers.Form_Load();
                if (customerKey() != 0) customers.func_CustGetCustomerRecord(customerKey());
            }))
            return;
        if (!g.run([&] { platform().showModal(&customers); })) return;
        // The customer screen has handed its customer back on closing; the picker follows what was
        // added, renamed or deleted there.
        if (!g.run([&] { func_bAdjustForEmptyDatabase(); })) return;
        g.run([&] { func_RefreshCustomerList(); });
    } else if (index == 4) {
        frmFilter filter(*this, this);
        if (!g.run([&] { filter.Form_Load(); })) return;
        g.run([&] { platform().showModal(&filter); });
    }
}

void frmCaseDetails::showHandedBackCustomer(qint64 customerKey) {
    ScopedFlag navigating(bNavigatingCustomers);
    func_CaseGetCustomerRecord(customerKey);
    func_LocateCase(true);
}

void frmCaseDetails::mnuFollowUpList_Click() {
    ErrorGuard g(QStringLiteral("frmCaseDetails ! mnuFollowUpList_Click"));
    g.run([&] {
        if (!m_followUp) {
            m_followUp = new frmFollowUp(this, this);
            m_followUp->setWindowFlag(Qt::Window);
        }
        m_followUp->func_Refresh();
        platform().showModeless(m_followUp);
    });
}

void frmCaseDetails::mnuExport_Click() {
    ErrorGuard g(QStringLiteral("frmCaseDetails ! mnuExport_Click"));
    // The export reads the file: a changed case on display is written first.
    if (!g.run([&] { saveChangedCase(); })) return;
    frmExport exporter(sCaseSQL, caseViewText(), this);
    g.run([&] { platform().showModal(&exporter); });
}

void frmCaseDetails::Command1_Click() {
    ErrorGuard g(QStringLiteral("frmCaseDetails ! Command1_Click"));
    if (auto* open = findChild<frmMain*>(QString(), Qt::FindDirectChildrenOnly)) {
        g.run([&] { platform().showModeless(open); });
        return;
    }
    auto* overview = new frmMain(*this, this);
    overview->setAttribute(Qt::WA_DeleteOnClose);
    if (!g.run([&] { overview->Form_Load(); })) {
        delete overview;
        return;
    }
    g.run([&] { platform().showModeless(overview); });
}

void frmCaseDetails::showCaseTopic(const QString& page) {
    HelpTopic = page;
    api_DisplayHTMLHelp(QStringLiteral("Topic"));
}

void frmCaseDetails::mnuHelpItems_Click(int index) {
    ErrorGuard g(QStringLiteral("frmCaseDetails ! mnuHelpItems_Click"));
    g.run([&] {
        switch (index) {
        case 0: api_DisplayHTMLHelp(QStringLiteral("Contents")); break;
        case 1: api_DisplayHTMLHelp(QStringLiteral("Index")); break;
        case 2: api_DisplayHTMLHelp(QStringLiteral("Search")); break;
        case 4: showCaseTopic(QStringLiteral("Technical support.htm")); break;
        case 5: showCaseTopic(QStringLiteral("Contacting_Dunmark.htm")); break;
        default: break;
        }
    });
}

void frmCaseDetails::mnuWebSite_Click(int index) {
    ErrorGuard g(QStringLiteral("frmCaseDetails ! mnuWebSite_Click"));
    g.run([&] {
        switch (index) {
        case 1: api_OpenSeparateProgramFile(WebSite + QStringLiteral("/index.htm")); break;
        case 3: api_OpenSeparateProgramFile(WebSite + QStringLiteral("/index_update.htm")); break;
        case 4: api_OpenSeparateProgramFile(WebSite + QStringLiteral("/index_custom_reports.htm")); break;
        case 5: api_OpenSeparateProgramFile(QStringLiteral("mailto:") + ContactAddress + QStringLiteral("?subject=Dunmark")); break;
        default: break;
        }
    });
}

void frmCaseDetails::cmdCalculator_Click() {
    ErrorGuard g(QStringLiteral("frmCaseDetails ! cmdCalculator_Click"));
    g.run([&] {
        for (const QString& name : Calculators) {
            const QString program = QStandardPaths::findExecutable(name);
            if (program.isEmpty()) continue;
            if (platform().startProgram(program, {})) return;
        }
        msgBox(QStringLiteral("No calculator program was found on this computer."), Platform::Information,
               QStringLiteral("Calculator"));
    });
}

void frmCaseDetails::cmdCheckImage_Click() {
    if (sCaseMode == QLatin1String("N")) {
        msgBox(QStringLiteral("You will need to save the case first, before you can add any check images."),
               Platform::Information, QStringLiteral("Can't Add Check Images"));
        return;
    }
    ErrorGuard g(QStringLiteral("frmCaseDetails ! cmdCheckImage_Click"));
    frmCheckImages images(this);
    g.run([&] {
        images.lCaseID = caseKey();
        images.setWindowTitle(images.windowTitle() + QStringLiteral(" - ") + ui->txtReference->text());
        platform().showModal(&images);
    });
}

void frmCaseDetails::cmdHelp_Click(int index) {
    ErrorGuard g(QStringLiteral("frmCaseDetails ! cmdHelp_Click"));
    g.run([&] {
        if (index == 1) {
            showCaseTopic(QStringLiteral("Scanning_through_Customers_and_Cases.htm"));
            return;
        }
        switch (ui->tabCases->currentIndex()) {
        case 1: showCaseTopic(QStringLiteral("Loading_Check_Images.htm")); break;
        case 2: showCaseTopic(QStringLiteral("Collection_Info.htm")); break;
        case 3: showCaseTopic(QStringLiteral("Printing_Notices.htm")); break;
        default: showCaseTopic(QStringLiteral("Case_Information.htm")); break;
        }
    });
}
