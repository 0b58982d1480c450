#include "screens/frmCheckImages.h"

#include "core/AppError.h"
#include "core/AppInfo.h"
#include "core/ErrorHandling.h"
#include "core/Platform.h"
#include "core/Scoped.h"
#include "data/DatabaseProcs.h"
#include "data/engine/Database.h"
#include "ui_frmCheckImages.h"
#include "widgets/WidgetUtilities.h"

#include <QFileInfo>
#include <QImageReader>
#include <QLayout>
#include <QPixmap>
#include <QScreen>
#include <algorithm>

namespace {
const QString Location = QStringLiteral("frmCheckImages ! ");
const QString FieldNames[2] = {QStringLiteral("CheckFrontImageFile"), QStringLiteral("CheckBackImageFile")};
const QString NoteStyle = QStringLiteral("color: #c00000;");

// Twips (1/1440 inch) as pixels of a screen with the given dots per inch.
int pixelsOf(int twips, int dpi) { return qRound(twips * dpi / 1440.0); }
} // namespace

frmCheckImages::frmCheckImages(QWidget* parent) : QDialog(parent), ui(new Ui::frmCheckImages) {
    ui->setupUi(this);
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    picCheck = {ui->picCheck_0, ui->picCheck_1};
    lblCheckImageFile = {ui->lblCheckImageFile_0, ui->lblCheckImageFile_1};
    lblCheck = ui->lblCheck;
    cmdView = ui->cmdView;
    // An empty side keeps the size of a cheque (6 by 2.75 inches).
    m_boxSize.fill(QSize(pixelsOf(6 * 1440, logicalDpiX()), pixelsOf(2.75 * 1440, logicalDpiY())));
    connect(ui->cmdLoadImage, &QPushButton::clicked, this, [this] { cmdLoadImage_Click(); });
    connect(ui->cmdView, &QPushButton::clicked, this, [this] { cmdView_Click(); });
    connect(ui->cmdDeleteImage, &QPushButton::clicked, this, [this] { cmdDeleteImage_Click(); });
    connect(ui->cmdClose, &QPushButton::clicked, this, [this] { cmdClose_Click(); });
}

frmCheckImages::~frmCheckImages() { util_DetachControls(this); }

QString frmCheckImages::imageFilter() {
    // Each entry's description names its patterns with semicolons as the user knows them; the
    // dialog takes the patterns from the parentheses at the end, apart by spaces.
    const std::pair<const char*, const char*> entries[] = {
        {"All Image Files (*.bmp;*.dib;*.gif;*.jpg;*.wmf;*.emf)", "*.bmp;*.dib;*.gif;*.jpg;*.wmf;*.emf"},
        {"Bitmaps (*.bmp;*.dib)", "*.bmp;*.dib"},
        {"GIF Images (*.gif)", "*.gif"},
        {"JPG Images (*.jpg)", "*.jpg"},
        {"Metafiles (*.wmf;*.emf)", "*.wmf;*.emf"}};
    QStringList filter;
    for (const auto& [description, patterns] : entries)
        filter << QStringLiteral("%1 (%2)").arg(QLatin1String(description),
                                                QString::fromLatin1(patterns).replace(QLatin1Char(';'), QLatin1Char(' ')));
    return filter.join(QStringLiteral(";;"));
}

void frmCheckImages::showEvent(QShowEvent* event) {
    if (!m_loaded) Form_Load();
    QDialog::showEvent(event);
}

void frmCheckImages::Form_Load() {
    m_loaded = true;
    ErrorGuard g(Location + QStringLiteral("Form_Load"));
    BusyPointer busy;
    if (!g.run([this] { util_CenterForm(this); })) return;
    // The picture boxes lie on the same spot (the layout's one cell).
    // Both names are read before any picture is loaded: whatever a picture's error leads to, the
    // screen holds what the case holds, so that closing it loses nothing.
    QString names[2];
    for (int side = 0; side < 2; ++side) {
        if (!g.run([&] {
                names[side] = data_vCheckDBValue(DatabasePath, QStringLiteral("Cases"), FieldNames[side],
                                                 QStringLiteral("PrimaryKey"), Value(lCaseID),
                                                 CheckOptions{.notFoundAsEmpty = true})
                                  .toString();
                lblCheckImageFile[side]->setText(names[side]);
            }))
            return;
    }
    for (int side = 0; side < 2; ++side) {
        if (names[side].isEmpty()) continue;
        // A file that is missing from the Checks folder is reported once; the side then stays empty
        // with its name, whatever the answer.
        ErrorGuard picture(Location + QStringLiteral("Form_Load"));
        picture.run([&] {
            const QString path = ChecksFolder + names[side];
            const bool shown = loadPicture(side, path);
            if (!shown && !QFileInfo::exists(path))
                throw AppError(ErrNo::FileNotFound, QStringLiteral("File not found: '%1'").arg(path));
        });
        picCheck[side]->setVisible(true);
    }
    if (!picCheck[0]->isVisibleTo(this)) picCheck[1]->setVisible(true);
    // With the caption the button has at design, this shows the front: the screen always opens there.
    if (!g.run([this] { cmdView_Click(); })) return;
    g.run([this] { util_CenterForm(this); });
}

int frmCheckImages::shownSide() const { return picCheck[0]->isVisibleTo(this) ? 0 : 1; }

void frmCheckImages::cmdView_Click() {
    ErrorGuard g(Location + QStringLiteral("cmdView_Click"));
    g.run([this] {
        const int side = cmdView->text() == QLatin1String("&View Back") ? 1 : 0;
        fitWindow(side);
        picCheck[side]->setVisible(true);
        picCheck[1 - side]->setVisible(false);
        lblCheckImageFile[side]->setVisible(true);
        lblCheckImageFile[1 - side]->setVisible(false);
        cmdView->setText(side == 1 ? QStringLiteral("&View Front") : QStringLiteral("&View Back"));
        lblCheck->setText(side == 1 ? QStringLiteral("Back") : QStringLiteral("Front"));
    });
}

void frmCheckImages::cmdLoadImage_Click() {
    ErrorGuard g(Location + QStringLiteral("cmdLoadImage_Click"));
    QString path;
    if (!g.run([&] {
            path = platform().getOpenFileName(QStringLiteral("Load Check Image"), ChecksFolder, imageFilter());
        }))
        return;
    // An empty answer is "nothing chosen", whatever was chosen before.
    const QString name = path.isEmpty() ? QString() : QFileInfo(path).fileName();
    if (name.size() > MaxFileNameLength) {
        msgBox(QStringLiteral("The file name is too large. It cannot exceed %1 characters. Please rename the file "
                              "and attempt to load it again.")
                   .arg(MaxFileNameLength - 4),
               Platform::Exclamation, QStringLiteral("File Name Too Long"));
        return;
    }
    if (name.isEmpty()) return;
    // The picture shows from where it was chosen; the case will look for it by its name in the
    // Checks folder. Nothing is copied.
    g.run([&] {
        BusyPointer busy;
        const int side = shownSide();
        lblCheckImageFile[side]->setText(name);
        loadPicture(side, path);
        fitWindow(side);
    });
}

void frmCheckImages::cmdDeleteImage_Click() {
    ErrorGuard g(Location + QStringLiteral("cmdDeleteImage_Click"));
    // The side forgets its picture; the file stays where it is.
    g.run([this] {
        const int side = shownSide();
        lblCheckImageFile[side]->clear();
        loadPicture(side, QString());
        fitWindow(side);
    });
}

void frmCheckImages::cmdClose_Click() {
    ErrorGuard g(Location + QStringLiteral("cmdClose_Click"));
    bool found = false;
    // What could not be written stays on the screen, so that the user can try again.
    if (!g.runWhole([&] {
            Database db = Database::open(DatabasePath);
            Recordset rs = db.openTable(QStringLiteral("Cases"));
            rs.setIndex(QStringLiteral("PrimaryKey"));
            rs.seek(QStringLiteral("="), Value(lCaseID));
            found = !rs.noMatch();
            if (!found) return;
            rs.edit();
            for (int side = 0; side < 2; ++side) rs.setValue(FieldNames[side], Value(lblCheckImageFile[side]->text()));
            rs.update();
        }))
        return;
    if (!found)
        msgBox(QStringLiteral("Case could not be found. Try saving the case first and then add in the check images."),
               Platform::Critical, QStringLiteral("Check Images Not Saved"));
    accept();
}

bool frmCheckImages::loadPicture(int side, const QString& path) {
    QLabel* box = picCheck[side];
    box->clear();
    box->setStyleSheet(QString());
    lblCheckImageFile[side]->setStyleSheet(QString());
    m_hasPicture[side] = false;
    if (path.isEmpty()) return true;

    // Decoded once, at the size it is shown: one picture pixel to a pixel of the layout, a scan too
    // large for the desktop scaled down while it is read (at the screen's own resolution).
    QImageReader reader(path);
    const QSize full = reader.size();
    QSize shown = full;
    const QSize largest = largestPicture();
    if (full.isValid() && (full.width() > largest.width() || full.height() > largest.height()))
        shown.scale(largest, Qt::KeepAspectRatio);
    shown = shown.expandedTo(QSize(1, 1));
    const QSize decoded = (shown * devicePixelRatioF()).boundedTo(full);
    if (full.isValid() && decoded != full) reader.setScaledSize(decoded.expandedTo(QSize(1, 1)));
    const QImage image = reader.read();
    if (image.isNull()) {
        // Not a picture this program can show: the name stays, so the case loses nothing.
        box->setText(QStringLiteral("%1 cannot be shown").arg(lblCheckImageFile[side]->text()));
        box->setStyleSheet(NoteStyle);
        lblCheckImageFile[side]->setStyleSheet(NoteStyle);
        return false;
    }
    if (!full.isValid()) { // a kind of file that tells its size only by being read
        shown = image.size();
        if (shown.width() > largest.width() || shown.height() > largest.height())
            shown.scale(largest, Qt::KeepAspectRatio);
    }
    QPixmap pixmap = QPixmap::fromImage(image);
    pixmap.setDevicePixelRatio(image.width() / qreal(shown.width()));
    box->setPixmap(pixmap);
    m_boxSize[side] = shown;
    m_hasPicture[side] = true;
    return true;
}

QSize frmCheckImages::chromeSize() const {
    // The picture boxes take no room of their own in the layout, so its minimum is the rest.
    const QMargins margins = layout()->contentsMargins();
    return {margins.left() + margins.right(), layout()->minimumSize().height()};
}

QSize frmCheckImages::largestPicture() const {
    const QSize desktop = screen()->availableGeometry().size();
    const QSize frame = isVisible() ? frameGeometry().size() - size() : QSize(16, 40);
    const QSize chrome = chromeSize();
    const QSize extra(std::max(pixelsOf(230, logicalDpiX()), chrome.width()),
                      std::max(pixelsOf(840, logicalDpiY()), chrome.height()));
    return (desktop - frame - extra).expandedTo(QSize(1, 1));
}

void frmCheckImages::fitWindow(int side) {
    const QSize box = m_boxSize[side];
    const QSize chrome = chromeSize();
    QSize wanted(box.width() + std::max(pixelsOf(230, logicalDpiX()), chrome.width()),
                 box.height() + std::max(pixelsOf(840, logicalDpiY()), chrome.height()));
    wanted = wanted.expandedTo(minimumSizeHint());
    // Never larger than the desktop, and kept on it.
    const QRect desktop = screen()->availableGeometry();
    const QSize frame = isVisible() ? frameGeometry().size() - size() : QSize(16, 40);
    resize(wanted.boundedTo(desktop.size() - frame));
    QRect outer = frameGeometry();
    outer.setSize(size() + frame);
    const int x = std::clamp(outer.left(), desktop.left(), std::max(desktop.left(), desktop.right() + 1 - outer.width()));
    const int y = std::clamp(outer.top(), desktop.top(), std::max(desktop.top(), desktop.bottom() + 1 - outer.height()));
    if (x != outer.left() || y != outer.top()) move(x, y);
}
