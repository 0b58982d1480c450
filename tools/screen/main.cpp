// dunmark-screen NAME [TAB]: shows one screen of Dunmark with sample content, for looking at it
// (tools/screenshot takes it as its program). Names: frmUnexpectedError, frmCaseDetails,
// frmCustomers, frmSplash. "dunmark-screen frmCaseDetails picker" shows the case screen with the customer
// picker's list open.
#include "app/AppInfo.h"
#include "app/frmUnexpectedError.h"
#include "bench/SampleData.h"
#include "cases/frmCaseDetails.h"
#include "customers/CustomerLogic.h"
#include "customers/frmCustomers.h"
#include "data/DatabaseProcs.h"
#include "data/NewDatabase.h"
#include "screens/frmSplash.h"
#include "util/QtPlatform.h"

#include <QApplication>
#include <QComboBox>
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
    const int tab = argc > 2 ? atoi(argv[2]) : 0;

    // A program folder of sample data, gone when the program ends.
    QTemporaryDir folder;
    proc_SetProgramPaths(folder.path());
    data_MakeProgramFolder(folder.path());
    sample_Fill(DatabasePath, SampleSize{});

    if (name == QLatin1String("frmUnexpectedError")) {
        frmUnexpectedError screen;
        screen.ErrorLocation = QStringLiteral("frmCaseDetails ! func_Recalc");
        screen.setError(11, QStringLiteral("Division by zero"), QString());
        screen.findChild<QTabWidget*>(QStringLiteral("tabError"))->setCurrentIndex(tab);
        screen.exec();
        return 0;
    }
    if (name == QLatin1String("frmCaseDetails")) {
        frmCaseDetails screen;
        screen.Form_Load();
        screen.findChild<QTabWidget*>(QStringLiteral("tabCases"))->setCurrentIndex(tab);
        screen.show();
        if (argc > 2 && QLatin1String(argv[2]) == QLatin1String("picker")) {
            QTimer::singleShot(300, &screen, [&screen] {
                screen.findChild<QComboBox*>(QStringLiteral("cboCustomerList"))->showPopup();
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
    if (name == QLatin1String("frmSplash")) {
        frmSplash screen;
        screen.Form_Load();
        return QApplication::exec();
    }
    QTextStream(stderr) << "usage: dunmark-screen frmUnexpectedError|frmCaseDetails|frmCustomers|frmSplash"
                           " [TAB|picker]\n";
    return 2;
}
