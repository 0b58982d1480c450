#include "screens/frmSplash.h"

#include "core/AppInfo.h"
#include "core/ErrorHandling.h"
#include "core/Platform.h"
#include "ui_frmSplash.h"
#include "widgets/WidgetUtilities.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

frmSplash::frmSplash(QWidget* parent) : QWidget(parent), ui(new Ui::frmSplash) {
    ui->setupUi(this);
    setWindowFlags(Qt::SplashScreen | Qt::FramelessWindowHint);
    lblCopywrite = ui->lblCopywrite;
    imgSplash = ui->imgSplash;
    imgSplash->setPixmap(splash_Picture(imgSplash->minimumWidth(), imgSplash->minimumHeight()));
}

frmSplash::~frmSplash() = default;

void frmSplash::Form_Load() {
    ErrorGuard g(QStringLiteral("frmSplash ! Form_Load"));
    if (!g.run([this] {
            lblCopywrite->setText(proc_vGetInternalInfo(QStringLiteral("Copyright")));
            ui->lblVersion->setText(proc_vGetInternalInfo(QStringLiteral("Version")));
        }))
        return;
    if (!g.run([this] {
            adjustSize();
            util_CenterForm(this);
        }))
        return;
    g.run([this] {
        platform().showModeless(this);
        repaint();
        platform().processEvents();
    });
}

QPixmap splash_Picture(int width, int height) {
    QPixmap picture(width, height);
    QPainter p(&picture);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);

    QLinearGradient sky(0, 0, 0, height);
    sky.setColorAt(0.0, QColor(24, 44, 74));
    sky.setColorAt(1.0, QColor(30, 96, 110));
    p.fillRect(0, 0, width, height, sky);

    // The program's name.
    QFont title = p.font();
    title.setPixelSize(height / 6);
    title.setBold(true);
    p.setFont(title);
    p.setPen(Qt::white);
    const QRect titleBox(width / 20, height / 20, width - width / 10, height / 5);
    p.drawText(titleBox, Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("Dunmark"));
    QFont subtitle = p.font();
    subtitle.setPixelSize(height / 18);
    subtitle.setBold(false);
    p.setFont(subtitle);
    p.setPen(QColor(190, 215, 230));
    p.drawText(titleBox.adjusted(0, 0, 0, height / 7), Qt::AlignLeft | Qt::AlignBottom,
               QStringLiteral("Returned cheques, followed up to the end"));

    // A cheque, turned a little.
    const QRectF cheque(0, 0, width * 0.62, height * 0.42);
    p.save();
    p.translate(width * 0.30, height * 0.52);
    p.rotate(-5);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 0, 0, 70));
    p.drawRoundedRect(cheque.translated(4, 5), 6, 6);
    QLinearGradient paper(0, 0, cheque.width(), cheque.height());
    paper.setColorAt(0.0, QColor(250, 248, 236));
    paper.setColorAt(1.0, QColor(226, 236, 222));
    p.setBrush(paper);
    p.setPen(QPen(QColor(120, 140, 120), 1));
    p.drawRoundedRect(cheque, 6, 6);
    QFont small = p.font();
    small.setPixelSize(qMax(8, int(cheque.height() / 11)));
    p.setFont(small);
    p.setPen(QColor(60, 70, 60));
    const qreal w = cheque.width();
    const qreal h = cheque.height();
    p.drawText(QPointF(w * 0.05, h * 0.2), QStringLiteral("COUNTY SAVINGS BANK"));
    p.drawText(QPointF(w * 0.05, h * 0.48), QStringLiteral("Pay to the order of"));
    p.drawLine(QPointF(w * 0.36, h * 0.5), QPointF(w * 0.7, h * 0.5));
    p.drawRect(QRectF(w * 0.74, h * 0.36, w * 0.21, h * 0.17));
    p.drawText(QRectF(w * 0.74, h * 0.36, w * 0.21, h * 0.17), Qt::AlignCenter, QStringLiteral("$ 250.00"));
    p.drawLine(QPointF(w * 0.05, h * 0.68), QPointF(w * 0.95, h * 0.68));
    p.drawLine(QPointF(w * 0.6, h * 0.82), QPointF(w * 0.95, h * 0.82));
    p.drawText(QPointF(w * 0.05, h * 0.93), QStringLiteral("|: 01234-567 |: 8901234 ||' 0142"));

    // Its stamp.
    p.translate(w * 0.52, h * 0.5);
    p.rotate(-12);
    const QRectF stamp(-w * 0.3, -h * 0.2, w * 0.6, h * 0.4);
    const QColor red(200, 30, 30, 210);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(red, 3));
    p.drawRoundedRect(stamp, 5, 5);
    p.setPen(QPen(red, 1));
    p.drawRoundedRect(stamp.adjusted(5, 5, -5, -5), 3, 3);
    QFont stampFont = p.font();
    stampFont.setPixelSize(int(stamp.height() * 0.42));
    stampFont.setBold(true);
    stampFont.setLetterSpacing(QFont::PercentageSpacing, 110);
    p.setFont(stampFont);
    p.setPen(red);
    p.drawText(stamp, Qt::AlignCenter, QStringLiteral("RETURNED"));
    p.restore();
    return picture;
}
