// dunmark-screen NAME [TAB] [WIDTHxHEIGHT]: shows one screen of Dunmark with sample content, for
// looking at it (tools/screenshot takes it as its program). Names: frmUnexpectedError, frmCaseDetails,
// frmCustomers, frmSplash, frmMerchantDetails, frmFilter (TAB "range": a date range chosen), frmMain (TAB "all": all cases by
// stage), frmFollowUp, frmExport, frmCheckImages (TAB "back": the back shown; "large": a scan larger
// than the desktop; "unreadable": pictures that cannot be shown), frmMemoPad, frmCalendar, frmAbout,
// frmCollectionCompany. For the case screen TAB may also be "picker" (the customer picker's list
// open), "empty" (an empty database), "nocases" (a customer without cases on display), "lookup"
// (the case lookup open) or "find" (a text typed into the find box, its list open); a size
// resizes the window after it is shown.
#include "bench/SampleData.h"
#include "cases/frmCaseDetails.h"
#include "cases/frmFollowUp.h"
#include "core/AppInfo.h"
#include "customers/CustomerLogic.h"
#include "customers/frmCustomers.h"
#include "data/DatabaseProcs.h"
#include "data/NewDatabase.h"
#include "data/engine/Database.h"
#include "overview/frmFilter.h"
#include "overview/frmMain.h"
#include "screens/frmAbout.h"
#include "screens/frmCalendar.h"
#include "screens/frmCheckImages.h"
#include "screens/frmCollectionCompany.h"
#include "screens/frmExport.h"
#include "screens/frmMemoPad.h"
#include "screens/frmMerchantDetails.h"
#include "screens/frmSplash.h"
#include "widgets/QtPlatform.h"
#include "widgets/WidgetUtilities.h"
#include "widgets/frmUnexpectedError.h"

#include <QApplication>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QComboBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QLocale>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTextStream>
#include <QTimer>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    // Amounts and dates follow the user's regional settings; without any, the program's own.
    if (QLocale().language() == QLocale::C) QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    setPlatform(std::make_unique<QtPlatform>());
    const QString name = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QString();
    const QString mode = argc > 2 ? QString::fromLocal8Bit(argv[2]) : QString();
    const int tab = mode.toInt();
    const QStringList size = argc > 3 ? QString::fromLocal8Bit(argv[3]).split(QLatin1Char('x')) : QStringList();

    // A program folder of sample data (or only the settings), gone when the program ends.
    QTemporaryDir folder;
    proc_SetProgramPaths(folder.path());
    data_MakeProgramFolder(folder.path());
    sample_Fill(DatabasePath, mode == QLatin1String("empty") ? SampleSize{0, 0} : SampleSize{});

    if (name == QLatin1String("frmUnexpectedError")) {
        frmUnexpectedError screen;
        screen.ErrorLocation = QStringLiteral("frmCaseDetails ! func_Recalc");
        screen.setError(11, QStringLiteral("Division by zero"), QString());
        screen.findChild<QTabWidget*>(QStringLiteral("tabError"))->setCurrentIndex(tab);
        screen.exec();
        return 0;
    }
    if (name == QLatin1String("frmCaseDetails")) {
        bool withoutCases = false;
        if (mode == QLatin1String("nocases")) {
            Recordset rs = Database::open(DatabasePath).openTable(QStringLiteral("Address"));
            rs.addNew();
            withoutCases = true;
            rs.setValue(QStringLiteral("LastName"), QStringLiteral("Newman"));
            rs.setValue(QStringLiteral("FirstName"), QStringLiteral("Nora"));
            rs.setValue(QStringLiteral("ShowAs"), QStringLiteral("Newman, Nora"));
            rs.update();
        }
        frmCaseDetails screen;
        screen.Form_Load();
        screen.findChild<QTabWidget*>(QStringLiteral("tabCases"))->setCurrentIndex(tab);
        if (withoutCases) screen.cmdCustomerNavigate_Click(3); // the last customer, as the user gets there
        if (mode == QLatin1String("lookup")) screen.cmdCaseLookup_Click();
        screen.show();
        if (size.size() == 2) {
            screen.resize(size[0].toInt(), size[1].toInt());
            util_CenterForm(&screen);
        }
        if (mode == QLatin1String("picker")) {
            QTimer::singleShot(300, &screen, [&screen] {
                screen.findChild<QComboBox*>(QStringLiteral("cboCustomerList"))->showPopup();
            });
        }
        if (mode == QLatin1String("find")) {
            QTimer::singleShot(300, &screen, [&screen] {
                auto* box = screen.findChild<QLineEdit*>(QStringLiteral("txtFind"));
                box->setFocus();
                box->setText(QStringLiteral("1057"));
            });
        }
        return QApplication::exec();
    }
    if (name == QLatin1String("frmCustomers")) {
        // The first customer leaves a card, so that the card fields show something.
        const Value first(qint64(1));
        data_vChangeDBValue(DatabasePath, QStringLiteral("Address"), QStringLiteral("CCName"), Value("Visa"),
                            QStringLiteral("PrimaryKey"), first);
        data_vChangeDBValue(DatabasePath, QStringLiteral("Address"), QStringLiteral("NameOnCard"),
                            Value("Robert A Brown"), QStringLiteral("PrimaryKey"), first);
        data_vChangeDBValue(DatabasePath, QStringLiteral("Address"), QStringLiteral("CCNumber"),
                            Value(cust_sConvertCardText(QStringLiteral("4111111111111111"), true)),
                            QStringLiteral("PrimaryKey"), first);
        data_vChangeDBValue(DatabasePath, QStringLiteral("Address"), QStringLiteral("ExpDate"), Value("12/27"),
                            QStringLiteral("PrimaryKey"), first);
        frmCustomers screen;
        screen.Form_Load();
        screen.findChild<QTabWidget*>(QStringLiteral("tabCustomer"))->setCurrentIndex(tab);
        screen.exec();
        return 0;
    }
    if (name == QLatin1String("frmFilter") || name == QLatin1String("frmMain") ||
        name == QLatin1String("frmFollowUp") || name == QLatin1String("frmExport")) {
        frmCaseDetails caseScreen; // the screen they work on, not shown
        caseScreen.Form_Load();
        if (name == QLatin1String("frmFilter")) {
            frmFilter screen(caseScreen);
            screen.Form_Load();
            if (mode == QLatin1String("range")) {
                screen.optDate[1]->click();
                screen.optDateReceived[3]->click();
            }
            screen.exec();
            return 0;
        }
        if (name == QLatin1String("frmFollowUp")) {
            frmFollowUp screen(&caseScreen);
            screen.func_Refresh();
            screen.show();
            if (size.size() == 2) screen.resize(size[0].toInt(), size[1].toInt());
            return QApplication::exec();
        }
        if (name == QLatin1String("frmExport")) {
            frmExport screen(caseScreen.sCaseSQL, QStringLiteral("Open Cases"));
            screen.exec();
            return 0;
        }
        frmMain screen(caseScreen);
        screen.Form_Load();
        if (mode == QLatin1String("all")) {
            screen.optCaseType[2]->click();
            screen.optSort[1]->click();
        }
        screen.show();
        if (size.size() == 2) screen.resize(size[0].toInt(), size[1].toInt());
        return QApplication::exec();
    }
    if (name == QLatin1String("frmCheckImages")) {
        // Two drawn cheque sides in the Checks folder, named by the first case.
        const QSize side = mode == QLatin1String("large") ? QSize(3600, 1650) : QSize(640, 290);
        for (const QString& file : {QStringLiteral("front.jpg"), QStringLiteral("back.jpg")}) {
            QImage image(side, QImage::Format_RGB32);
            image.fill(QColor(236, 242, 230));
            QPainter p(&image);
            p.setPen(QPen(QColor(60, 90, 60), side.width() / 200));
            p.drawRect(image.rect().adjusted(8, 8, -9, -9));
            QFont font = p.font();
            font.setPixelSize(side.height() / 9);
            p.setFont(font);
            p.drawText(image.rect(), Qt::AlignCenter,
                       file == QLatin1String("front.jpg") ? QStringLiteral("Pay to the order of ... $1,043.00")
                                                          : QStringLiteral("Endorsed: RETURNED NSF"));
            p.end();
            image.save(ChecksFolder + file);
        }
        for (const QString& file : {QStringLiteral("scan.wmf"), QStringLiteral("torn.jpg")}) {
            QFile damaged(ChecksFolder + file);
            if (damaged.open(QIODevice::WriteOnly)) damaged.write("not a picture");
        }
        const bool unreadable = mode == QLatin1String("unreadable");
        const Value key(qint64(1));
        data_vChangeDBValue(DatabasePath, QStringLiteral("Cases"), QStringLiteral("CheckFrontImageFile"),
                            Value(unreadable ? QStringLiteral("scan.wmf") : QStringLiteral("front.jpg")),
                            QStringLiteral("PrimaryKey"), key);
        data_vChangeDBValue(DatabasePath, QStringLiteral("Cases"), QStringLiteral("CheckBackImageFile"),
                            Value(unreadable ? QStringLiteral("torn.jpg") : QStringLiteral("back.jpg")),
                            QStringLiteral("PrimaryKey"), key);
        frmCheckImages screen;
        screen.lCaseID = 1;
        screen.setWindowTitle(screen.windowTitle() + QStringLiteral(" - ") +
                              data_vCheckDBValue(DatabasePath, QStringLiteral("Cases"), QStringLiteral("ReferenceNumber"),
                                                 QStringLiteral("PrimaryKey"), key)
                                  .toString());
        screen.Form_Load();
        if (mode == QLatin1String("back")) screen.cmdView_Click();
        screen.exec();
        return 0;
    }
    if (name == QLatin1String("frmMemoPad")) {
        data_vChangeDBValue(SettingsDatabasePath, QStringLiteral("Config"), QStringLiteral("Memo"),
                            Value(QStringLiteral("Call the bank about the Brown cheque on Monday.\n"
                                                 "Second notices go out on Friday.\nAsk the agency about court costs.")),
                            QString(), Value(QString()));
        frmMemoPad screen;
        screen.exec();
        return 0;
    }
    if (name == QLatin1String("frmCalendar")) {
        frmCalendar screen;
        screen.exec();
        return 0;
    }
    if (name == QLatin1String("frmAbout")) {
        frmAbout screen;
        screen.exec();
        return 0;
    }
    if (name == QLatin1String("frmCollectionCompany")) {
        frmCollectionCompany screen;
        screen.exec();
        return 0;
    }
    if (name == QLatin1String("frmMerchantDetails")) {
        frmMerchantDetails screen;
        screen.exec();
        return 0;
    }
    if (name == QLatin1String("frmSplash")) {
        frmSplash screen;
        screen.Form_Load();
        return QApplication::exec();
    }
    QTextStream(stderr) << "usage: dunmark-screen frmUnexpectedError|frmCaseDetails|frmCustomers|frmSplash|frmFilter|frmMain|"
                           "frmFollowUp|frmExport|frmCheckImages|frmMemoPad|frmCalendar|frmAbout|frmCollectionCompany|"
                           "frmMerchantDetails"
                           " [TAB|picker|empty|nocases|lookup|find|range|all] [WIDTHxHEIGHT]\n";
    return 2;
}
