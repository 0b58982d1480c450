#pragma once

#include "core/AppError.h"

#include <QString>
#include <functional>
#include <optional>
#include <utility>

// Central error handling. Every procedure hands its errors, with a location text (module text and
// procedure name, e.g. "Database.bas ! data_vCheckDBValue"), to err_HandleError, which shows a
// message or the error report screen and sets ErrorAction:
//   3 leave the procedure, 4 try the failing step again, 5 go on with the next step.
namespace ErrorActions {
constexpr int Leave = 3;
constexpr int Retry = 4;
constexpr int GoOn = 5;
} // namespace ErrorActions

extern int ErrorAction;
extern bool EndProgramRequested;
extern QString OtherErrorInfo;

void err_HandleError(const QString& location, const AppError& error);

// True while the error report screen is on display.
bool err_bReportScreenShowing();

// The error guard: the one idiom by which a procedure follows the error convention. A procedure
// makes one guard with its location text and runs its statements as steps:
//
//     ErrorGuard g(QStringLiteral("Database.bas ! data_vCheckDBValue"));
//     if (!g.run([&] { rs = db.openTable(...); })) return result;   // leave: result as it was
//     if (!g.run([&] { ... })) return result;
//
// On an error inside a step the guard asks the local handler first (if the procedure handles some
// error numbers itself), else err_HandleError, then acts on the action: 4 runs the step again,
// 5 goes on after it (run returns true), 3 makes run return false and the procedure leaves.
class ErrorGuard {
public:
    // A procedure's own handling of some errors: return an action, or nothing to pass the error on.
    using LocalHandler = std::function<std::optional<int>(const AppError&)>;

    explicit ErrorGuard(QString location) : m_location(std::move(location)) {}

    void setLocalHandler(LocalHandler handler) { m_local = std::move(handler); }
    const QString& location() const { return m_location; }

    // Runs one step that must finish to count: false also when the user chose to go on after an
    // error in it, so that what the step was to make (values worked out, a row written) is never
    // taken as done when it was cut short.
    template <class F> bool runWhole(F&& step) {
        bool finished = false;
        return run([&] {
            step();
            finished = true;
        }) && finished;
    }

    // Runs one step; false when the procedure must leave.
    template <class F> bool run(F&& step) {
        for (;;) {
            int action = ErrorActions::Leave;
            try {
                step();
                return true;
            } catch (const AppError& e) {
                action = handle(e);
            } catch (const std::exception& e) {
                action = handle(AppError(51, QString::fromUtf8(e.what())));
            }
            if (action == ErrorActions::Retry) continue;
            return action == ErrorActions::GoOn;
        }
    }

private:
    int handle(const AppError& e);

    QString m_location;
    LocalHandler m_local;
};

// Hands an error report to the e-mail routine. Sending is not available in this system: the user
// is told so and nothing is sent.
void proc_SendErrorReport(const QString& reportText, bool attachDatabase);
