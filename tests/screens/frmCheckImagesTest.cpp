#include "cases/CaseScreenSupport.h"
#include "core/AppInfo.h"
#include "data/engine/Database.h"
#include "screens/frmCheckImages.h"
#include "widgets/QtPlatform.h"

#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QRegularExpression>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>

namespace {

// The images screen on cases of one customer, with pictures in the Checks folder: two readable, a
// metafile and a damaged JPEG that Qt cannot show.
class frmCheckImagesTest : public CaseScreenTest {
protected:
    void SetUp() override {
        CaseScreenTest::SetUp();
        customer = addCustomer({{"LastName", "Brown"}});
        picture(ChecksFolder + "front.jpg", QSize(200, 90));
        picture(ChecksFolder + "back.bmp", QSize(180, 80));
        for (const char* name : {"scan.wmf", "torn.jpg"})
            ASSERT_TRUE(writeFile(ChecksFolder + name, "\xff\xd8 not a picture"));
    }
    void TearDown() override { images.reset(), Database::releaseAll(); }
    static void picture(const QString& path, QSize size) {
        QImage image(size, QImage::Format_RGB32);
        image.fill(Qt::darkCyan);
        ASSERT_TRUE(image.save(path));
    }
    qint64 caseWith(const QString& front, const QString& back) {
        return addCase(customer, {{"CheckFrontImageFile", front}, {"CheckBackImageFile", back}});
    }
    void openImages(qint64 caseId) {
        images = std::make_unique<frmCheckImages>();
        images->lCaseID = caseId;
        images->show();
    }
    void click(const char* button) { QTest::mouseClick(images->findChild<QPushButton*>(button), Qt::LeftButton); }
    QString name(int side) const { return images->lblCheckImageFile[side]->text(); }
    void expectSide(int side) const {
        EXPECT_TRUE(images->picCheck[side]->isVisible() && !images->picCheck[1 - side]->isVisible());
        EXPECT_EQ(images->lblCheck->text() + images->cmdView->text(), side ? "Back&View Front" : "Front&View Back");
    }
    void expectMessage(const QString& text, const QString& title, int style) const {
        ASSERT_EQ(platform->messages.size(), 1u);
        EXPECT_EQ(platform->messages[0].text, text);
        EXPECT_EQ(platform->messages[0].title, title);
        EXPECT_EQ(platform->messages[0].style, style);
    }
    std::pair<QString, QString> stored(qint64 id) const {
        return {caseField(id, "CheckFrontImageFile").toString(), caseField(id, "CheckBackImageFile").toString()};
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
        EXPECT_EQ(std::make_pair(name(0), name(1)), std::make_pair(QString(front), QString(back)));
        expectSide(0);
        EXPECT_EQ(images->showsPicture(0), *front != 0);
        click("cmdView");
        expectSide(1);
        EXPECT_EQ(images->showsPicture(1), *back != 0);
        click("cmdView");
        expectSide(0);
    }
}

TEST_F(frmCheckImagesTest, TheWindowWrapsThePictureShownWithinTheDesktop) {
    picture(ChecksFolder + "wide.jpg", QSize(5000, 1800));
    openImages(caseWith("front.jpg", "wide.jpg"));
    const int buttons = qRound(840 * images->logicalDpiY() / 1440.0);
    EXPECT_GE(images->picCheck[0]->height(), 90);
    EXPECT_GE(images->picCheck[0]->width(), 200);
    EXPECT_LT(images->height(), 90 + 3 * buttons) << "no more than the picture and the buttons";
    click("cmdView"); // the large scan is shown smaller, whole, in its proportions
    EXPECT_TRUE(images->screen()->availableGeometry().contains(images->frameGeometry()));
    const QPixmap shown = images->picCheck[1]->pixmap();
    EXPECT_LE(shown.deviceIndependentSize().width(), images->picCheck[1]->width() + 1);
    EXPECT_NEAR(shown.width() / double(shown.height()), 5000 / 1800.0, 0.05);
}

TEST_F(frmCheckImagesTest, LoadTakesNamesUpTo34CharactersCancelChangesNothingAndCloseWritesBoth) {
    const qint64 id = caseWith("", "back.bmp");
    openImages(id);
    const QString limit = QString(30, 'a') + ".jpg", over = QString(31, 'b') + ".jpg";
    picture(ChecksFolder + limit, QSize(60, 30));
    picture(ChecksFolder + over, QSize(60, 30));
    platform->openFileAnswers = {"", ChecksFolder + over, ChecksFolder + limit, ""};
    for (int i = 0; i < 4; ++i) click("cmdLoadImage");
    expectMessage("The file name is too large. It cannot exceed 30 characters. Please rename the file and attempt "
                  "to load it again.",
                  "File Name Too Long", Platform::Exclamation);
    EXPECT_EQ(name(0), limit) << "the last cancel leaves the choice before it";
    EXPECT_TRUE(images->showsPicture(0));
    ASSERT_EQ(platform->openFileCalls.size(), 4u);
    const auto& dialog = platform->openFileCalls[0];
    EXPECT_EQ(dialog.title + dialog.folder + dialog.filter,
              "Load Check Image" + ChecksFolder + frmCheckImages::imageFilter());
    EXPECT_EQ(stored(id).first, "") << "nothing is written before Close";
    click("cmdClose");
    EXPECT_FALSE(images->isVisible());
    EXPECT_EQ(stored(id), std::make_pair(limit, QString("back.bmp")));

    // Delete on the back, without a question, then closing otherwise: the case keeps its names.
    openImages(id);
    click("cmdView");
    click("cmdDeleteImage");
    EXPECT_EQ(name(1), "");
    images->close();
    EXPECT_EQ(stored(id).second, "back.bmp");
    // Delete on the front and Close: only the front is emptied; the file stays.
    openImages(id);
    click("cmdDeleteImage");
    click("cmdClose");
    EXPECT_EQ(stored(id), std::make_pair(QString(), QString("back.bmp")));
    EXPECT_TRUE(QFile::exists(ChecksFolder + limit));
    EXPECT_EQ(platform->messages.size(), 1u);
}

TEST_F(frmCheckImagesTest, PicturesThatCannotBeShownKeepTheirNamesAndAMissingOneIsReportedOnce) {
    QTemporaryDir elsewhere;
    picture(elsewhere.filePath("visiting.jpg"), QSize(120, 60));
    const qint64 id = caseWith("scan.wmf", "torn.jpg");
    openImages(id);
    for (int side : {0, 1}) {
        EXPECT_FALSE(images->showsPicture(side));
        EXPECT_EQ(images->picCheck[side]->text(), name(side) + " cannot be shown");
        EXPECT_TRUE(images->lblCheckImageFile[side]->styleSheet().contains("color")) << "the name in red";
    }
    // An unreadable picture is no error (the scripted platform fails the test on any error report).
    // A picture from another folder shows at once; nothing is copied.
    platform->openFileAnswers = {elsewhere.filePath("visiting.jpg")};
    click("cmdLoadImage");
    EXPECT_TRUE(images->showsPicture(0));
    EXPECT_TRUE(images->lblCheckImageFile[0]->styleSheet().isEmpty());
    click("cmdClose");
    EXPECT_FALSE(QFile::exists(ChecksFolder + "visiting.jpg"));

    // Opened again, it is looked for in the Checks folder: reported once, the screen stays usable.
    platform->errorAnswers = {{3, false}};
    openImages(id);
    ASSERT_EQ(platform->errorReports.size(), 1u);
    EXPECT_EQ(platform->errorReports[0].number, 53);
    EXPECT_EQ(platform->errorReports[0].location, "frmCheckImages ! Form_Load");
    expectSide(0);
    EXPECT_EQ(images->picCheck[0]->text(), "visiting.jpg cannot be shown");
    click("cmdClose");
    EXPECT_EQ(stored(id), std::make_pair(QString("visiting.jpg"), QString("torn.jpg"))) << "the case loses nothing";
}

TEST_F(frmCheckImagesTest, ACaseThatIsGoneGetsTheMessageAndNothingIsWritten) {
    const qint64 id = caseWith("front.jpg", ""), other = caseWith("", "back.bmp");
    openImages(id);
    Database::open(DatabasePath).execute(QString("DELETE FROM Cases WHERE CaseID = %1").arg(id));
    click("cmdDeleteImage");
    click("cmdClose");
    expectMessage("Case could not be found. Try saving the case first and then add in the check images.",
                  "Check Images Not Saved", Platform::Critical);
    EXPECT_FALSE(images->isVisible());
    EXPECT_EQ(countRows("Cases"), 1);
    EXPECT_EQ(stored(other).second, "back.bmp");
}

TEST_F(frmCheckImagesTest, TheDialogListsPicturesInAnyLetterCase) {
    const QString all = util_sCaseInsensitiveFilter(frmCheckImages::imageFilter()).section(";;", 0, 0);
    const QStringList patterns = QRegularExpression(R"(\(([^()]*)\)$)").match(all).captured(1).split(' ');
    const auto listed = [&](const char* file) {
        return std::any_of(patterns.begin(), patterns.end(), [&](const QString& p) {
            return QRegularExpression::fromWildcard(p, Qt::CaseSensitive).match(file).hasMatch();
        });
    };
    for (const char* file : {"FRONT.JPG", "front.jpg", "Back.Gif", "old.BMP", "x.Emf"}) EXPECT_TRUE(listed(file)) << file;
    for (const char* file : {"notes.txt", "scan.png"}) EXPECT_FALSE(listed(file)) << file;
}

} // namespace
