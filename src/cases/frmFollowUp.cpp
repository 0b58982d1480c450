#include "cases/frmFollowUp.h"

#include "core/AppInfo.h"
#include "core/ErrorHandling.h"
#include "core/Format.h"
#include "core/Platform.h"
#include "core/Scoped.h"
#include "reports/ReportArchiveLogic.h"
#include "reports/ReportLogic.h"
#include "widgets/CaseDisplay.h"
#include "widgets/WidgetUtilities.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QTableView>
#include <QVBoxLayout>

void FollowUpModel::setLines(QList<FollowUpLine> lines) {
    beginResetModel();
    m_lines = std::move(lines);
    endResetModel();
}

QVariant FollowUpModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= m_lines.size()) return {};
    const FollowUpLine& l = m_lines[index.row()];
    if (role == Qt::DisplayRole) {
        switch (index.column()) {
        case Customer: return l.customer.isEmpty() ? QStringLiteral("[no 'Show As' info]") : l.customer;
        case Reference: return l.reference;
        case Stage: return l.stage;
        case StageDate: return fmt_Date(l.stageDate.date(), QStringLiteral("mm/dd/yyyy"));
        case Days: return l.daysWaiting;
        case Balance: return fmt_Currency(l.balance);
        case NextStep: return l.nextStep;
        default: return {};
        }
    }
    if (role == Qt::TextAlignmentRole && (index.column() == Days || index.column() == Balance))
        return int(Qt::AlignRight | Qt::AlignVCenter);
    if (role == Qt::BackgroundRole)
        return l.colour == StageColour::Red ? QColor(0xff, 0xcd, 0xd2) : QColor(0xff, 0xf5, 0x9d);
    if (role == Qt::ForegroundRole) return QColor(Qt::black);
    if (role == Qt::ToolTipRole)
        return l.colour == StageColour::Red ? QStringLiteral("Waiting more than 14 days")
                                            : QStringLiteral("Waiting more than 7 days");
    return {};
}

QVariant FollowUpModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return {};
    static const char* const titles[] = {"Customer", "Reference", "Stage", "Stage date", "Days", "Balance",
                                         "Next step"};
    return section >= 0 && section < ColumnCount ? QString::fromLatin1(titles[section]) : QVariant();
}

frmFollowUp::frmFollowUp(CaseDisplay* caseScreen, QWidget* parent) : QDialog(parent), m_caseScreen(caseScreen) {
    setObjectName(QStringLiteral("frmFollowUp"));
    setWindowTitle(QStringLiteral("Follow-up List"));
    setAttribute(Qt::WA_DeleteOnClose);
    auto* layout = new QVBoxLayout(this);
    m_summary = new QLabel(this);
    m_summary->setObjectName(QStringLiteral("lblSummary"));
    layout->addWidget(m_summary);
    m_table = new QTableView(this);
    m_table->setObjectName(QStringLiteral("tblFollowUp"));
    m_table->setModel(&m_model);
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table->setSelectionMode(QAbstractItemView::SingleSelection);
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->verticalHeader()->hide();
    m_table->horizontalHeader()->setStretchLastSection(true);
    m_table->setWordWrap(false);
    layout->addWidget(m_table, 1);
    auto* buttons = new QDialogButtonBox(this);
    auto* refresh = buttons->addButton(QStringLiteral("&Refresh"), QDialogButtonBox::ActionRole);
    refresh->setObjectName(QStringLiteral("cmdRefresh"));
    auto* print = buttons->addButton(QStringLiteral("&Print"), QDialogButtonBox::ActionRole);
    print->setObjectName(QStringLiteral("cmdPrint"));
    connect(print, &QPushButton::clicked, this, [this] { cmdPrint_Click(); });
    auto* close = buttons->addButton(QStringLiteral("&Close"), QDialogButtonBox::RejectRole);
    close->setObjectName(QStringLiteral("cmdClose"));
    util_AddHelpButton(buttons, QStringLiteral("frmFollowUp"), QStringLiteral("Follow_up_List.htm"));
    layout->addWidget(buttons);
    connect(refresh, &QPushButton::clicked, this, [this] { func_Refresh(); });
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::close);
    connect(m_table, &QTableView::activated, this, [this](const QModelIndex& index) { openCaseOfRow(index.row()); });
    resize(820, 420);
}

void frmFollowUp::func_Refresh() {
    ErrorGuard g(QStringLiteral("frmFollowUp ! func_Refresh"));
    BusyPointer busy;
    QList<FollowUpLine> lines;
    if (!g.run([&] { lines = follow_ReadWorklist(DatabasePath, platform().now()); })) return;
    g.run([&] {
        m_model.setLines(std::move(lines));
        const int count = m_model.rowCount();
        m_summary->setText(count == 0 ? QStringLiteral("No open case is waiting for its next step.")
                           : count == 1 ? QStringLiteral("1 open case is waiting for its next step.")
                                        : QStringLiteral("%1 open cases are waiting for their next step.").arg(count));
        m_table->resizeColumnsToContents();
        if (count > 0) m_table->selectRow(0);
        if (!isVisible()) fitWidthToColumns();
    });
}

void frmFollowUp::fitWidthToColumns() {
    int columns = 0;
    for (int c = 0; c < m_model.columnCount(); ++c) columns += m_table->columnWidth(c);
    const QMargins margins = layout()->contentsMargins();
    const int chrome = margins.left() + margins.right() + 2 * m_table->frameWidth() +
                       m_table->verticalScrollBar()->sizeHint().width();
    const QRect desktop = screen() ? screen()->availableGeometry() : QRect(0, 0, 1024, 768);
    const int wanted = columns + chrome + 4;
    const int room = desktop.width() - 40;
    // On a narrow desktop the customer's name gives up what is missing, so the next step stays whole.
    if (wanted > room) m_table->setColumnWidth(0, std::max(160, m_table->columnWidth(0) - (wanted - room)));
    resize(std::clamp(wanted, 600, room), height());
}

void frmFollowUp::openCaseOfRow(int row) {
    ErrorGuard g(QStringLiteral("frmFollowUp ! openCaseOfRow"));
    if (row < 0 || row >= m_model.rowCount() || !m_caseScreen) return;
    const FollowUpLine& line = m_model.line(row);
    g.run([&] { m_caseScreen->showCase(line.caseId, line.customerId); });
}

void frmFollowUp::cmdPrint_Click() {
    ErrorGuard g(QStringLiteral("frmFollowUp ! cmdPrint_Click"));
    BusyPointer busy;
    if (!g.run([] { func_bExtractReports(); })) return;
    g.run([&] {
        std::vector<ReportLine> lines;
        lines.reserve(size_t(m_model.rowCount()));
        for (int row = 0; row < m_model.rowCount(); ++row) {
            const FollowUpLine& l = m_model.line(row);
            ReportLine r;
            r.name = m_model.data(m_model.index(row, FollowUpModel::Customer), Qt::DisplayRole).toString();
            r.reference = l.reference;
            r.status = l.stage;
            r.received = m_model.data(m_model.index(row, FollowUpModel::StageDate), Qt::DisplayRole).toString();
            r.days = l.daysWaiting;
            r.balance = l.balance;
            r.note = l.nextStep;
            r.cases = 1;
            lines.push_back(std::move(r));
        }
        const auto doc = report_BuildList(ReportsFolder + QStringLiteral("Follow-up List.rpt"), std::move(lines),
                                          platform().now());
        platform().outputReport(*doc, Platform::ReportTarget::Preview, doc->title);
    });
}
