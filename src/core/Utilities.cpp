#include "core/Utilities.h"

#include "core/ErrorHandling.h"
#include "core/Platform.h"
#include "core/Value.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStandardPaths>
#include <cmath>

namespace {
constexpr int Backspace = 8;
constexpr int DecimalPoint = 46;

bool isDigit(int keyAscii) { return keyAscii >= '0' && keyAscii <= '9'; }

double secondsSinceMidnight() {
    const QTime t = platform().now().time();
    return t.msecsSinceStartOfDay() / 1000.0;
}
} // namespace

int util_ForceNumbersOnly(const QString& boxText, int keyAscii, bool integerOnly) {
    if (keyAscii == Backspace) return keyAscii;
    if (!integerOnly && keyAscii == DecimalPoint)
        return util_bIsDuplicateCharacter(boxText, QLatin1Char('.'), 0) ? 0 : keyAscii;
    return isDigit(keyAscii) ? keyAscii : 0;
}

int util_ForceNumbersOnly(int keyAscii, bool integerOnly) {
    if (keyAscii == Backspace) return keyAscii;
    if (!integerOnly && keyAscii == DecimalPoint) return keyAscii;
    return isDigit(keyAscii) ? keyAscii : 0;
}

bool util_bIsDuplicateCharacter(const QString& text, QChar character, int maxCount) {
    if (text.size() < 2) return false;
    int count = 0;
    for (QChar c : text) {
        if (c == character && ++count > maxCount) return true;
    }
    return false;
}

bool util_bCheckPositiveInteger(const QString& text) {
    static const QRegularExpression plainWholeNumber(QStringLiteral("^[1-9][0-9]*$"));
    return plainWholeNumber.match(text).hasMatch();
}

void util_Wait(double seconds) {
    ErrorGuard g(QStringLiteral("Utility.bas ! util_Wait"));
    g.run([&] {
        double start = secondsSinceMidnight();
        for (;;) {
            const double now = secondsSinceMidnight();
            if (now < start) start -= 86400.0; // midnight has passed
            if (now - start >= seconds) break;
            platform().processEvents();
        }
    });
}

QString util_sStripQuotes(const Value& value) {
    ErrorGuard g(QStringLiteral("Utility.bas ! util_sStripQuotes"));
    QString result;
    g.run([&] {
        if (value.isNumeric()) {
            result = value.toString();
            return;
        }
        const QString text = value.toString();
        if (text.size() < 2) throw AppError(ErrNo::InvalidCall, QStringLiteral("Invalid procedure call or argument"));
        result = text.mid(1, text.size() - 2);
    });
    return result;
}

bool util_bDoesFileExist(const QString& path) {
    const QFileInfo info(path);
    return info.exists() && info.isFile();
}

QString util_sDocumentsFile(const QString& fileName) {
    QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (folder.isEmpty() || !QFileInfo(folder).isDir()) folder = QDir::homePath();
    return QDir(folder).filePath(fileName);
}
