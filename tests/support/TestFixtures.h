#pragma once

#include "core/AppError.h"
#include "support/ScriptedPlatform.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

// The error number a call raises, 0 when it raises none.
template <class F> int errorNumber(F&& call) {
    try {
        call();
    } catch (const AppError& e) {
        return e.number();
    }
    return 0;
}

// Expects the statement to raise the error number; a failure names the statement.
#define EXPECT_ERROR(number, ...) EXPECT_EQ(errorNumber([&] { __VA_ARGS__; }), number) << #__VA_ARGS__

// The whole content of a file (empty when it cannot be read), and a file written with the given content.
inline QByteArray bytesOf(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}
inline bool writeFile(const QString& path, const QByteArray& content) {
    QFile f(path);
    return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(content) == content.size();
}

// A fresh temporary program folder (Data/ with a new empty database, Checks/), made by the same code
// as dunmark-newdb, whose paths the program uses.
class TempProgramFolder {
public:
    TempProgramFolder();
    QString path() const { return m_dir.path(); }

private:
    QTemporaryDir m_dir;
};

// The base of tests that run program code: a scripted platform and a temporary program folder,
// with the process-wide error state reset.
class ProgramTest : public ::testing::Test {
protected:
    void SetUp() override;

    // Success when the user was told nothing (no message box, no error report); else names the first.
    ::testing::AssertionResult nothingSaid() const;
    // The titles of the message boxes shown so far, in order.
    QStringList messageTitles() const;

    ScriptedPlatform* platform = nullptr;
    std::unique_ptr<TempProgramFolder> folder;
};
