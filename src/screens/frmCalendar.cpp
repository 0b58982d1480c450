#include "screens/frmCalendar.h"

#include "core/ErrorHandling.h"
#include "core/Format.h"
#include "core/Platform.h"
#include "ui_frmCalendar.h"
#include "widgets/WidgetUtilities.h"

#include <QCalendarWidget>
#include <QTimer>

namespace {
const QString Location = QStringLiteral("frmCalendar ! ");

QString timeCaption() { return fmt_Date(platform().now(), QStringLiteral("h:nn AM/PM")); }

void showToday(QCalendarWidget* calendar) {
    const QDate today = platform().now().date();
    calendar->setSelectedDate(today);
    calendar->setCurrentPage(today.year(), today.month());
}
} // namespace

frmCalendar::frmCalendar(QWidget* parent) : QDialog(parent), ui(new Ui::frmCalendar) {
    ui->setupUi(this);
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    Calendar = ui->Calendar;
    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(10000);
    connect(Timer1, &QTimer::timeout, this, [this] { Timer1_Timer(); });
    // The grid's double click (or Enter on a day).
    connect(Calendar, &QCalendarWidget::activated, this, [this] { Calendar_DblClick(); });
}

frmCalendar::~frmCalendar() { util_DetachControls(this); }

void frmCalendar::showEvent(QShowEvent* event) {
    if (!m_loaded) Form_Load();
    QDialog::showEvent(event);
}

void frmCalendar::Form_Load() {
    m_loaded = true;
    ErrorGuard g(Location + QStringLiteral("Form_Load"));
    if (!g.run([this] {
            adjustSize();
            util_CenterForm(this);
        }))
        return;
    if (!g.run([this] { showToday(Calendar); })) return;
    g.run([this] {
        setWindowTitle(timeCaption());
        Timer1->start();
    });
}

void frmCalendar::Timer1_Timer() {
    ErrorGuard g(Location + QStringLiteral("Timer1_Timer"));
    g.run([this] { setWindowTitle(timeCaption()); });
}

void frmCalendar::Calendar_DblClick() {
    ErrorGuard g(Location + QStringLiteral("Calendar_DblClick"));
    g.run([this] { showToday(Calendar); });
}
