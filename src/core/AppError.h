#pragma once

#include <QString>
#include <stdexcept>

// A run-time error of the program: a number and a description. Database errors carry the engine
// numbers the program acts on (3021, 3022, 3045 ...), other errors the basic run-time numbers
// (5 invalid call, 6 overflow, 13 type mismatch, 53 file not found, 75 path/file access, 76 path not found).
class AppError : public std::runtime_error {
public:
    AppError(int number, QString description)
        : std::runtime_error(description.toStdString()), m_number(number), m_description(std::move(description)) {}

    int number() const noexcept { return m_number; }
    const QString& description() const noexcept { return m_description; }

private:
    int m_number;
    QString m_description;
};

// Errors raised by the database engine layer.
class DbError : public AppError {
public:
    using AppError::AppError;
};

// The basic run-time error numbers the program raises itself.
namespace ErrNo {
constexpr int InvalidCall = 5;
constexpr int Overflow = 6;
constexpr int TypeMismatch = 13;
constexpr int FileNotFound = 53;
constexpr int PathFileAccess = 75;
constexpr int PathNotFound = 76;
constexpr int DialogCancelled = 32755;
constexpr int PrinterError = 482;
} // namespace ErrNo
