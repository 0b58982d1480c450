#include "overview/frmMain.h"

#include "core/AppInfo.h"
#include "core/ErrorHandling.h"
#include "core/Scoped.h"
#include "overview/OverviewModel.h"
#include "ui_frmMain.h"
#include "widgets/CaseDisplay.h"
#include "widgets/WidgetUtilities.h"

#include <QHeaderView>
#include <QMouseEvent>
#include <QScrollBar>
#include <QTableView>

frmMain::frmMain(CaseDisplay& caseScreen, QWidget* parent)
    : QWidget(parent, Qt::Window), ui(new Ui::frmMain), m_caseScreen(caseScreen) {
    ui->setupUi(this);
    optCaseType = {ui->optCaseType_0, ui->optCaseType_1, ui->optCaseType_2};
    optSort = {ui->optSort_0, ui->optSort_1, ui->optSort_2};
    scrOpenCases = ui->scrOpenCases;
    for (int i = 0; i < 3; ++i) {
        // A click counts even on the option already chosen: it rebuilds with the type chosen meanwhile.
        connect(optSort[i], &QRadioButton::clicked, this, [this, i] { optSort_Click(i); });
        connect(optCaseType[i], &QRadioButton::clicked, this, [this, i] { optCaseType_Click(i); });
    }
    setUpRows();
}

frmMain::~frmMain() { util_DetachControls(this); }

void frmMain::setUpRows() {
    m_model = new OverviewModel(this);
    m_delegate = new OverviewDelegate(this);
    QTableView* view = scrOpenCases;
    view->setModel(m_model);
    view->setItemDelegate(m_delegate);
    view->setSelectionMode(QAbstractItemView::NoSelection);
    view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view->setShowGrid(false);
    view->setWordWrap(false);
    view->setMouseTracking(true);
    view->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    // The rows between the white ones show the screen's own background.
    QPalette p = view->palette();
    p.setColor(QPalette::Base, palette().color(QPalette::Window));
    view->setPalette(p);

    const QFontMetrics fm(view->font());
    QHeaderView* rows = view->verticalHeader();
    rows->hide();
    rows->setSectionResizeMode(QHeaderView::Fixed);
    rows->setDefaultSectionSize(fm.height() + 4);
    QHeaderView* columns = view->horizontalHeader();
    columns->setSectionsClickable(false);
    columns->setHighlightSections(false);
    columns->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    const int padding = 2 * fm.horizontalAdvance(QLatin1Char('x'));
    const std::array<int, OverviewColumnCount> widths = {
        fm.horizontalAdvance(QStringLiteral("**")) + padding,
        fm.horizontalAdvance(QStringLiteral(" Wwwwwwwwwwwwwwwwwwww ..")) + padding,
        fm.horizontalAdvance(QStringLiteral(" 0000000000")) + padding,
        fm.horizontalAdvance(QStringLiteral(" Second Notice")) + padding,
        fm.horizontalAdvance(QStringLiteral(" 00/00/00")) + padding};
    int total = 0;
    for (int c = 0; c < OverviewColumnCount; ++c) {
        // Wide enough for its caption too.
        const int width = std::max(widths[size_t(c)], columns->sectionSizeHint(c));
        columns->setSectionResizeMode(c, c == HLCustomerColumn ? QHeaderView::Stretch : QHeaderView::Fixed);
        columns->resizeSection(c, width);
        total += width;
    }
    view->setMinimumWidth(total + view->verticalScrollBar()->sizeHint().width() + 2 * view->frameWidth());

    connect(view, &QTableView::clicked, this, [this](const QModelIndex& index) {
        if (index.data(OverviewModel::LinkRole).toBool()) func_ShowClientCustomerInfo(index.row());
    });
    util_OnEvent(view->viewport(), QEvent::MouseMove,
                 [this](QEvent* e) { hover(static_cast<QMouseEvent*>(e)->position().toPoint()); });
    util_OnEvent(view->viewport(), QEvent::Leave, [this](QEvent*) { hover(QPoint(-1, -1)); });
}

void frmMain::hover(const QPoint& position) {
    QModelIndex index = scrOpenCases->indexAt(position);
    if (!index.data(OverviewModel::LinkRole).toBool()) index = QModelIndex();
    if (QModelIndex(m_delegate->hovered()) == index) return;
    const QModelIndex before = m_delegate->hovered();
    m_delegate->setHovered(index);
    if (before.isValid()) scrOpenCases->update(before);
    if (index.isValid()) scrOpenCases->update(index);
    if (index.isValid())
        scrOpenCases->viewport()->setCursor(Qt::PointingHandCursor);
    else
        scrOpenCases->viewport()->unsetCursor();
}

void frmMain::Form_Load() {
    ErrorGuard g(QStringLiteral("frmMain ! Form_Load"));
    ScopedFlag loading(bOverviewLoading);
    if (!g.run([&] { util_CenterForm(this); })) return;
    iOverviewCaseType = 0;
    sOverviewSort = optSort[0]->property("tag").toString();
    g.run([&] { func_DisplayRecords(); });
}

void frmMain::func_DisplayRecords() {
    ErrorGuard g(QStringLiteral("frmMain ! func_DisplayRecords"));
    BusyPointer busy;
    if (!bOverviewLoading) func_ClearAll();
    OverviewRows rows;
    if (!g.run([&] {
            rows = overview_ReadRows(DatabasePath, static_cast<OverviewCaseType>(iOverviewCaseType), sOverviewSort);
        }))
        return;
    g.run([&] {
        m_model->setRows(std::move(rows));
        scrOpenCases->scrollToTop();
    });
}

void frmMain::func_ClearAll() {
    ErrorGuard g(QStringLiteral("frmMain ! func_ClearAll"));
    g.run([&] {
        m_delegate->setHovered(QModelIndex());
        m_model->clear();
    });
}

void frmMain::func_ShowClientCustomerInfo(int index) {
    ErrorGuard g(QStringLiteral("frmMain ! func_ShowClientCustomerInfo"));
    if (index < 0 || index >= m_model->rowCount()) return;
    const OverviewRow row = m_model->overviewRow(index);
    BusyPointer busy;
    g.run([&] {
        if (row.hasCase)
            m_caseScreen.showCase(row.caseId, row.customerId);
        else
            m_caseScreen.showCustomer(row.customerId);
    });
}

void frmMain::optSort_Click(int index) {
    sOverviewSort = optSort[size_t(index)]->property("tag").toString();
    func_DisplayRecords();
}

void frmMain::optCaseType_Click(int index) { iOverviewCaseType = index; }
