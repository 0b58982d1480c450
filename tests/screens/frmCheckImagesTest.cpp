#include "cases/CaseScreenSupport.h"
#include "core/AppInfo.h"
#include "core/ErrorHandling.h"
#include "data/engine/Database.h"
#include "screens/frmCheckImages.h"
#include "widgets/QtPlatform.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QPushButton>
#include <QRegularExpression>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>

namespace {

class frmCheckImagesTest : public CaseScreenTest {
protected:
    void SetUp() override {
        CaseScreenTest::SetUp();
        customer = addCustomer({{"LastName", "Brown"}});
        picture(ChecksFolder + "front.jpg", QSize(200, 90));
        picture(ChecksFolder + "back.bmp", QSize(180, 80));
        // Files Qt cannot show: a metafile and a damaged JPEG.
        for (const char* name : {"scan.wmf", "torn.jpg"}) {
            QFile f(ChecksFolder + name);
            ASSERT_TRUE(f.open(QIODevice::WriteOnly));
            f.write("\x01\x00\x09\x00not a picture at all", 24);
        }
    }
    void TearDown() override {
        images.reset();
        Database::releaseAll();
    }
    static void picture(const QString& path, QSize size) {
        QImage image(size, QImage::Format_RGB32);
        image.fill(Qt::darkCyan);
        ASSERT_TRUE(image.save(path)) << path.toStdString();
    }
    qint64 caseWith(const QString& front, const QString& back) {
        return addCase(customer, {{"CheckFrontImageFile", front}, {"CheckBackImageFile", back}});
    }
    frmCheckImages& openImages(qint64 caseId) {
        images = std::make_unique<frmCheckImages>();
        images->lCaseID = caseId;
        images->show();
        return *images;
    }
    void click(const char* button) { QTest::mouseClick(images->findChild<QPushButton*>(button), Qt::LeftButton); }
    QString name(int side) const { return images->lblCheckImageFile[side]->text(); }
    int shownSide() const { return images->picCheck[0]->isVisible() ? 0 : 1; }
    void expectSide(int side) const {
        EXPECT_EQ(shownSide(), side);
        EXPECT_NE(images->picCheck[0]->isVisible(), images->picCheck[1]->isVisible()) << "one side at a time";
        EXPECT_EQ(images->lblCheck->text(), side == 0 ? "Front" : "Back");
        EXPECT_EQ(images->cmdView->text(), side == 0 ? "&View Back" : "&View Front");
    }

    qint64 customer = 0;
    std::unique_ptr<frmCheckImages> images;
};

TEST_F(frmCheckImagesTest, OpensOnTheFrontWhicheverSidesTheCaseHasAndViewSwitches) {
    const std::pair<const char*, const char*> cases[] = {
        {"front.jpg", ""}, {"", "back.bmp"}, {"front.jpg", "back.bmp"}, {"", ""}};
    for (const auto& [front, back] : cases) {
        SCOPED_TRACE(std::string(front) + "|" + back);
        openImages(caseWith(front, back));
        EXPECT_EQ(name(0), front);
        EXPECT_EQ(name(1), back);
        expectSide(0);
        EXPECT_EQ(images->showsPicture(0), *front != 0);
        EXPECT_EQ(images->lblCheck->toolTip(), "Current View");
        click("cmdView");
        expectSide(1);
        EXPECT_EQ(images->showsPicture(1), *back != 0);
        click("cmdView");
        expectSide(0);
    }
    EXPECT_TRUE(platform->errorReports.empty());
}

TEST_F(frmCheckImagesTest, TheWindowWrapsThePictureShownAndStaysWithinTheDesktop) {
    picture(ChecksFolder + "wide.jpg", QSize(5000, 1800));
    openImages(caseWith("front.jpg", "wide.jpg"));
    QApplication::processEvents();
    const int twips840 = qRound(840 * images->logicalDpiY() / 1440.0);
    EXPECT_GE(images->height(), 90 + twips840) << "the picture and the buttons";
    EXPECT_GE(images->picCheck[0]->width(), 200);
    EXPECT_GE(images->picCheck[0]->height(), 90);
    EXPECT_LT(images->height(), 90 + 3 * twips840) << "no more than the picture needs";

    click("cmdView"); // the large scan is shown smaller, whole, on the desktop
    const QRect desktop = images->screen()->availableGeometry();
    EXPECT_TRUE(desktop.contains(images->frameGeometry()));
    const QPixmap shown = images->picCheck[1]->pixmap();
    EXPECT_LE(shown.deviceIndependentSize().width(), images->picCheck[1]->width() + 1);
    EXPECT_NEAR(shown.width() / double(shown.height()), 5000 / 1800.0, 0.05) << "in its proportions";
}

TEST_F(frmCheckImagesTest, LoadImageAsksInTheChecksFolderAndTakesNamesUpTo34Characters) {
    const qint64 id = caseWith("", "back.bmp");
    openImages(id);
    const QString limit = QString(30, 'a') + ".jpg", over = QString(31, 'b') + ".jpg";
    picture(ChecksFolder + limit, QSize(60, 30));
    picture(ChecksFolder + over, QSize(60, 30));
    platform->openFileAnswers = {ChecksFolder + over, ChecksFolder + limit};

    click("cmdLoadImage");
    ASSERT_EQ(platform->messages.size(), 1u);
    EXPECT_EQ(platform->messages[0].text, "The file name is too large. It cannot exceed 30 characters. Please "
                                          "rename the file and attempt to load it again.");
    EXPECT_EQ(platform->messages[0].title, "File Name Too Long");
    EXPECT_EQ(platform->messages[0].style, Platform::Exclamation);
    EXPECT_EQ(name(0), "") << "the side keeps what it had";
    EXPECT_FALSE(images->showsPicture(0));

    click("cmdLoadImage");
    EXPECT_EQ(platform->messages.size(), 1u);
    EXPECT_EQ(name(0), limit);
    EXPECT_TRUE(images->showsPicture(0));
    ASSERT_EQ(platform->openFileCalls.size(), 2u);
    EXPECT_EQ(platform->openFileCalls[0].title, "Load Check Image");
    EXPECT_EQ(platform->openFileCalls[0].folder, ChecksFolder);
    EXPECT_EQ(platform->openFileCalls[0].filter,
              "All Image Files (*.bmp;*.dib;*.gif;*.jpg;*.wmf;*.emf) (*.bmp *.dib *.gif *.jpg *.wmf *.emf);;"
              "Bitmaps (*.bmp;*.dib) (*.bmp *.dib);;GIF Images (*.gif) (*.gif);;JPG Images (*.jpg) (*.jpg);;"
              "Metafiles (*.wmf;*.emf) (*.wmf *.emf)");
    EXPECT_EQ(caseField(id, "CheckFrontImageFile").toString(), "") << "nothing is written before Close";

    click("cmdClose");
    EXPECT_FALSE(images->isVisible());
    EXPECT_EQ(caseField(id, "CheckFrontImageFile").toString(), limit);
    EXPECT_EQ(caseField(id, "CheckBackImageFile").toString(), "back.bmp");
}

TEST_F(frmCheckImagesTest, CancellingTheDialogBeforeOrAfterAChoiceChangesNothing) {
    const qint64 id = caseWith("front.jpg", "");
    openImages(id);
    platform->openFileAnswers = {"", ChecksFolder + "back.bmp", ""};
    click("cmdLoadImage"); // cancelled at once
    EXPECT_EQ(name(0), "front.jpg");
    EXPECT_TRUE(images->showsPicture(0));
    click("cmdView");
    click("cmdLoadImage"); // the back chosen
    click("cmdLoadImage"); // cancelled after a choice: no stale name
    EXPECT_EQ(name(1), "back.bmp");
    EXPECT_TRUE(images->showsPicture(1));
    EXPECT_EQ(name(0), "front.jpg");
    EXPECT_TRUE(platform->messages.empty());
    click("cmdClose");
    EXPECT_EQ(caseField(id, "CheckFrontImageFile").toString(), "front.jpg");
    EXPECT_EQ(caseField(id, "CheckBackImageFile").toString(), "back.bmp");
}

TEST_F(frmCheckImagesTest, DeleteImageForgetsTheSideWithoutAskingAndLeavesTheFile) {
    const qint64 id = caseWith("front.jpg", "back.bmp");
    openImages(id);
    click("cmdDeleteImage");
    EXPECT_EQ(name(0), "");
    EXPECT_FALSE(images->showsPicture(0));
    EXPECT_TRUE(platform->messages.empty()) << "no question";
    click("cmdClose");
    EXPECT_EQ(caseField(id, "CheckFrontImageFile").toString(), "");
    EXPECT_EQ(caseField(id, "CheckBackImageFile").toString(), "back.bmp");
    EXPECT_TRUE(QFile::exists(ChecksFolder + "front.jpg"));

    // Closing the window any other way keeps the case as it was.
    openImages(id);
    click("cmdView");
    click("cmdDeleteImage");
    images->close();
    EXPECT_EQ(caseField(id, "CheckBackImageFile").toString(), "back.bmp");
}

TEST_F(frmCheckImagesTest, APictureFromAnotherFolderShowsAtOnceAndIsLaterLookedForInTheChecksFolder) {
    QTemporaryDir elsewhere;
    picture(elsewhere.filePath("visiting.jpg"), QSize(120, 60));
    const qint64 id = caseWith("", "");
    openImages(id);
    platform->openFileAnswers = {elsewhere.filePath("visiting.jpg")};
    click("cmdLoadImage");
    EXPECT_TRUE(images->showsPicture(0));
    click("cmdClose");
    EXPECT_EQ(caseField(id, "CheckFrontImageFile").toString(), "visiting.jpg");
    EXPECT_FALSE(QFile::exists(ChecksFolder + "visiting.jpg")) << "nothing is copied";

    // Opened again, the missing file is reported once; the screen stays usable and keeps the name.
    platform->errorAnswers = {{ErrorActions::Leave, false}};
    openImages(id);
    ASSERT_EQ(platform->errorReports.size(), 1u);
    EXPECT_EQ(platform->errorReports[0].number, 53);
    EXPECT_EQ(platform->errorReports[0].location, "frmCheckImages ! Form_Load");
    expectSide(0);
    EXPECT_EQ(name(0), "visiting.jpg");
    EXPECT_TRUE(images->picCheck[0]->text().contains("cannot be shown"));
    click("cmdView");
    click("cmdClose");
    EXPECT_EQ(caseField(id, "CheckFrontImageFile").toString(), "visiting.jpg") << "the case loses nothing";
}

TEST_F(frmCheckImagesTest, APictureQtCannotReadShowsItsNameAndANoteWithoutAnErrorReport) {
    const qint64 id = caseWith("scan.wmf", "torn.jpg");
    openImages(id);
    for (int side : {0, 1}) {
        EXPECT_FALSE(images->showsPicture(side));
        EXPECT_EQ(images->picCheck[side]->text(), name(side) + " cannot be shown");
        EXPECT_TRUE(images->lblCheckImageFile[side]->styleSheet().contains("color")) << "the name in red";
    }
    EXPECT_TRUE(platform->errorReports.empty());
    // A readable picture loaded over it shows normally again.
    platform->openFileAnswers = {ChecksFolder + "front.jpg"};
    click("cmdLoadImage");
    EXPECT_TRUE(images->showsPicture(0));
    EXPECT_TRUE(images->lblCheckImageFile[0]->styleSheet().isEmpty());
    click("cmdClose");
    EXPECT_EQ(caseField(id, "CheckBackImageFile").toString(), "torn.jpg");
}

TEST_F(frmCheckImagesTest, ACaseThatIsGoneGetsTheMessageAndNothingIsWritten) {
    const qint64 id = caseWith("front.jpg", "");
    const qint64 other = caseWith("", "back.bmp");
    openImages(id);
    Database::open(DatabasePath).execute(QString("DELETE FROM Cases WHERE CaseID = %1").arg(id));
    click("cmdDeleteImage");
    click("cmdClose");
    ASSERT_EQ(platform->messages.size(), 1u);
    EXPECT_EQ(platform->messages[0].text,
              "Case could not be found. Try saving the case first and then add in the check images.");
    EXPECT_EQ(platform->messages[0].title, "Check Images Not Saved");
    EXPECT_EQ(platform->messages[0].style, Platform::Critical);
    EXPECT_FALSE(images->isVisible());
    EXPECT_EQ(countRows("Cases"), 1);
    EXPECT_EQ(caseField(other, "CheckBackImageFile").toString(), "back.bmp");
}

TEST_F(frmCheckImagesTest, TheDialogListsPicturesInAnyLetterCase) {
    const QString filter = util_sCaseInsensitiveFilter(frmCheckImages::imageFilter());
    const QString all = filter.section(";;", 0, 0);
    const QRegularExpression last(R"(\(([^()]*)\)$)");
    const QStringList patterns = last.match(all).captured(1).split(' ');
    ASSERT_EQ(patterns.size(), 6);
    const auto listed = [&](const QString& file) {
        return std::any_of(patterns.begin(), patterns.end(), [&](const QString& p) {
            return QRegularExpression::fromWildcard(p, Qt::CaseSensitive).match(file).hasMatch();
        });
    };
    for (const char* file : {"FRONT.JPG", "front.jpg", "Back.Gif", "old.BMP", "x.Emf"})
        EXPECT_TRUE(listed(file)) << file;
    for (const char* file : {"notes.txt", "front.jpeg.txt", "scan.png"})
        EXPECT_FALSE(listed(file)) << file;
    EXPECT_TRUE(all.startsWith("All Image Files (*.bmp;*.dib;*.gif;*.jpg;*.wmf;*.emf) ("));
}

} // namespace
