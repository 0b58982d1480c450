#include "overview/frmFilter.h"

#include "core/AppInfo.h"
#include "core/ErrorHandling.h"
#include "core/Platform.h"
#include "core/Scoped.h"
#include "ui_frmFilter.h"
#include "widgets/CaseDisplay.h"
#include "widgets/DataWidgets.h"
#include "widgets/WidgetUtilities.h"

#include <QFontMetrics>

namespace {
template <size_t N> int checkedIndex(const std::array<QRadioButton*, N>& options) {
    for (size_t i = 0; i < N; ++i)
        if (options[i]->isChecked()) return int(i);
    return 0;
}
} // namespace

frmFilter::frmFilter(CaseDisplay& caseScreen, QWidget* parent)
    : QDialog(parent), ui(new Ui::frmFilter), m_caseScreen(caseScreen) {
    ui->setupUi(this);
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    optCaseStatus = {ui->optCaseStatus_0, ui->optCaseStatus_1, ui->optCaseStatus_2};
    optDate = {ui->optDate_0, ui->optDate_1, ui->optDate_2, ui->optDate_3};
    optDateReceived = {ui->optDateReceived_0, ui->optDateReceived_1, ui->optDateReceived_2, ui->optDateReceived_3};
    lblDateParm = {ui->lblDateParm_0, ui->lblDateParm_1};
    for (int i = 0; i < 4; ++i) {
        connect(optDate[i], &QRadioButton::clicked, this, [this, i] { optDate_Click(i); });
        connect(optDateReceived[i], &QRadioButton::clicked, this, [this, i] { optDateReceived_Click(i); });
    }
    connect(ui->cmdOKEventFilter, &QPushButton::clicked, this, [this] { cmdOKEventFilter_Click(); });
    connect(ui->cmdCancelEventFilter, &QPushButton::clicked, this, [this] { cmdCancelEventFilter_Click(); });
    // The labels of the date bounds keep their place whichever caption they have.
    const int width = std::max(QFontMetrics(font()).horizontalAdvance(QStringLiteral("Specific date:")),
                               lblDateParm[0]->sizeHint().width());
    for (QLabel* label : lblDateParm) label->setMinimumWidth(width);
    const QDate today = platform().now().date();
    ui->datFilterFrom->setValue(QDateTime(today, QTime(0, 0)));
    ui->datFilterTo->setValue(QDateTime(today, QTime(0, 0)));
}

frmFilter::~frmFilter() { util_DetachControls(this); }

void frmFilter::Form_Load() {
    ErrorGuard g(QStringLiteral("frmFilter ! Form_Load"));
    if (!g.run([&] {
            adjustSize(); // the size of its content, before it is centred
            util_CenterForm(this);
        }))
        return;
    if (!g.run([&] { func_AssignValues(); })) return;
    // The date bounds as the chosen kind of date condition shows them.
    g.run([&] { optDateReceived_Click(checkedIndex(optDateReceived)); });
}

void frmFilter::func_AssignValues() {
    ErrorGuard g(QStringLiteral("frmFilter ! func_AssignValues"));
    g.run([&] {
        data_PopulateListingCombo(DatabasePath, QStringLiteral("Cases"), QStringLiteral("CollectionCompany"),
                                  ui->cboCollectionCompany);
        ui->cboCollectionCompany->setEditText(QString());
    });
}

void frmFilter::optDate_Click(int index) { ui->fraDateParm->setEnabled(index != 0); }

void frmFilter::optDateReceived_Click(int index) {
    const bool range = index == 3;
    lblDateParm[0]->setText(range ? QStringLiteral("From:") : QStringLiteral("Specific date:"));
    lblDateParm[1]->setVisible(range);
    ui->datFilterTo->setVisible(range);
}

FilterChoices frmFilter::choices() const {
    FilterChoices c;
    c.caseStatus = checkedIndex(optCaseStatus);
    c.stage = ui->cboStage->currentText();
    c.collectionCompany = ui->cboCollectionCompany->currentText();
    c.partialPayment = ui->chkPartialPayment->isChecked();
    c.dateField = checkedIndex(optDate);
    c.dateCondition = checkedIndex(optDateReceived);
    c.from = ui->datFilterFrom->date();
    c.to = ui->datFilterTo->date();
    return c;
}

void frmFilter::cmdOKEventFilter_Click() {
    ErrorGuard g(QStringLiteral("frmFilter ! cmdOKEventFilter_Click"));
    BusyPointer busy;
    FilterSet set;
    if (!g.run([&] { set = filter_Build(choices()); })) return;
    if (!g.run([&] { m_caseScreen.showCaseSet(set.sql, set.viewText); })) return;
    accept();
}

void frmFilter::cmdCancelEventFilter_Click() { reject(); }
