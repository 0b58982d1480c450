#include "core/ErrorHandling.h"

#include "core/Platform.h"
#include "core/Pointer.h"

int ErrorAction = ErrorActions::Leave;
bool EndProgramRequested = false;
QString OtherErrorInfo;

namespace {

bool reportScreenShowing = false;

const QChar CR(13);

struct ShortMessageRow {
    int number;
    const char* title;
    const char* text; // nullptr: the error's description
};

// Errors answered with a short message and the procedure left.
constexpr ShortMessageRow shortMessageRows[] = {
    {3000, "Can't open database", nullptr},
    {3024, "Invalid database name - database not found", nullptr},
    {3044, "Invalid path - database not found", nullptr},
    {3051, "Database in use or marked as read-only", nullptr},
    {3061, "Invalid database query", nullptr},
    {3078, "Database table not found", nullptr},
    {3197, "Changes Will Not be Saved",
     "Someone else has made changes and updated data during the time you were editing this record.  Your "
     "changes will be lost.  Please make note of the changes you made and try again."},
    {3260, "Database locked by another user", nullptr},
    {3261, "Database locked by another user", nullptr},
};

void showShortMessage(const AppError& error, const QString& title, const QString& ownText = QString()) {
    const QString text = (ownText.isEmpty() ? error.description() : ownText) + QStringLiteral(" - ") +
                         QString::number(error.number());
    msgBox(text, Platform::Information, title);
}

void showCorruptedDatabaseReport(const QString& location, const AppError& error) {
    const QString title = QStringLiteral("Corrupted Database");
    const QString text =
        QStringLiteral("Location: ") + location + CR + error.description() + CR + CR +
        QStringLiteral("The above database file has been corrupted and needs to be repaired. Please follow "
                       "these steps:") +
        CR + QStringLiteral("1.  Close any running copies of the program, except this one.") + CR +
        QStringLiteral("2.  Close all open windows on this program, leaving just the basic program running.") +
        CR +
        QStringLiteral("3.  Search the Help system for the word 'corrupt' and follow instructions on how to "
                       "compact and/or repair the database.") +
        CR +
        QStringLiteral("4.  Try the procedure that caused this error. If this error reappears, you will need to "
                       "close the program down and follow the help systems recommendations for manually "
                       "repairing the database using the separate 'Database Maintenance Program' (the help "
                       "system can be run independently of the program, so you can reopen it to see the "
                       "instructions on how to do this).") +
        CR + CR +
        QStringLiteral("The above information has been copied to the clipboard. Open a program such as Word or "
                       "Notepad and select Paste.");
    platform().setClipboardText(title + CR + CR + text);
    msgBox(text, Platform::Critical, title);
}

// The error report screen; sets ErrorAction from the user's choice.
void showErrorReportScreen(const QString& location, const AppError& error) {
    if (reportScreenShowing) {
        // An error while the report screen is on display: the failing procedure leaves silently.
        ErrorAction = ErrorActions::Leave;
        util_SetMousePointer(0);
        return;
    }
    reportScreenShowing = true;
    Platform::ErrorReportAnswer answer;
    try {
        answer = platform().showErrorReport({error.number(), error.description(), location, OtherErrorInfo});
    } catch (...) {
        reportScreenShowing = false;
        throw;
    }
    reportScreenShowing = false;
    ErrorAction = answer.action;
    if (answer.endProgram) EndProgramRequested = true;

    if (EndProgramRequested) {
        EndProgramRequested = false;
        util_SetMousePointer(0);
        ErrorAction = ErrorActions::Leave;
        platform().quitProgram();
        return;
    }
    if (ErrorAction == ErrorActions::Leave) util_SetMousePointer(0);
    OtherErrorInfo.clear();
}

} // namespace

bool err_bReportScreenShowing() { return reportScreenShowing; }

void err_HandleError(const QString& location, const AppError& error) {
    const int number = error.number();

    if (number == 3021) { // no current record: go on silently
        ErrorAction = ErrorActions::GoOn;
        return;
    }

    ErrorAction = ErrorActions::Leave;
    switch (number) {
    case ErrNo::DialogCancelled:
        break;
    case ErrNo::PrinterError:
        msgBox(QStringLiteral("There is a problem comunicating with the printer. Please check to see if the "
                              "selected printer is properly setup and connected."),
               Platform::Critical, QStringLiteral("Printer Error"));
        showShortMessage(error, QString());
        break;
    case 3022:
        msgBox(QStringLiteral("An entry (database record) with the same name already exists, therefore the "
                              "current information can't be saved."),
               Platform::Information, QStringLiteral("Can't Save Duplicate Entry"));
        showShortMessage(error, QString());
        break;
    case 3343:
        showCorruptedDatabaseReport(location, error);
        break;
    default: {
        bool handled = false;
        for (const auto& row : shortMessageRows) {
            if (row.number != number) continue;
            showShortMessage(error, QString::fromUtf8(row.title),
                             row.text ? QString::fromUtf8(row.text) : QString());
            handled = true;
            break;
        }
        if (!handled) {
            showErrorReportScreen(location, error);
            return; // the report screen decides the pointer itself
        }
    }
    }
    util_SetMousePointer(0);
}

int ErrorGuard::handle(const AppError& e) {
    if (m_local) {
        if (auto action = m_local(e)) return *action;
    }
    err_HandleError(m_location, e);
    return ErrorAction;
}

void proc_SendErrorReport(const QString& reportText, bool attachDatabase) {
    Q_UNUSED(reportText);
    Q_UNUSED(attachDatabase);
    msgBox(QStringLiteral("That function is not available."));
}
