#include "customers/CustomerLogic.h"

#include "core/ErrorHandling.h"
#include "core/Utilities.h"
#include "core/Value.h"

#include <algorithm>

namespace {
constexpr int Backspace = 8;
constexpr int Slash = 47;
constexpr int BackslashKey = 92;

bool isAsciiDigit(QChar c) {
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

// The next alphabet of the walk 0, 1, 2, 1, 0, 1, 1, 2, 1, 0, 1, ...: the alphabet number and the
// step state, as they stand after the character at hand.
void advance(int& alphabet, int& step) {
    switch (alphabet) {
    case 0:
        alphabet = 1;
        break;
    case 1:
        if (step == 0) {
            alphabet = 2;
            step = 1;
        } else if (step == 1) {
            alphabet = 0;
            step = 2;
        } else {
            step = 0;
        }
        break;
    default:
        alphabet = 1;
        break;
    }
}
} // namespace

const std::array<QString, 3>& cust_PlainAlphabets() {
    static const std::array<QString, 3> alphabets = {
        QStringLiteral("JlBV8rhvZMfLe6qmIPH5iEkDcpo2KTayAFgz9NtYQjsG0WuwCnRS4d731XxbOU"),
        QStringLiteral("PEMoHx2Zsfzr5hyCuJ7O0RjdivVDG9wmcKXQLNAkpn3lSTeIF4at8YbgBqU6W1"),
        QStringLiteral("ZaKU2IyndOzQ3mEJNMADrhWXGSf1kCc40F8YsgLtpHlP7o9w5xBeubVTijqR6v")};
    return alphabets;
}

const QString& cust_CipherAlphabet() {
    static const QString cipher =
        QStringLiteral("sp]^+r.1!wz=Ke@ky:4Ib<#$~)3if_q0,2X89c}/jd?x6(m%5*tu-[Y7n>;RE{");
    return cipher;
}

QString cust_sConvertCardText(const QString& text, bool scramble) {
    QString source = text;
    if (!scramble) std::reverse(source.begin(), source.end());
    const auto& plain = cust_PlainAlphabets();
    const QString& cipher = cust_CipherAlphabet();
    QString result;
    result.reserve(source.size());
    int alphabet = 0;
    int step = 0;
    for (const QChar c : source) {
        QChar out = c;
        if (c != QLatin1Char(' ')) {
            const QString& from = scramble ? plain[alphabet] : cipher;
            const QString& to = scramble ? cipher : plain[alphabet];
            const qsizetype position = from.indexOf(c); // case-sensitive
            if (position < 0)
                throw AppError(ErrNo::InvalidCall, QStringLiteral("Invalid procedure call or argument"));
            out = to.at(position);
        }
        advance(alphabet, step);
        if (scramble)
            result.prepend(out);
        else
            result.append(out);
    }
    return result;
}

std::optional<QString> proc_sCrypticPassword(const QString& text, bool scramble) {
    ErrorGuard g(QStringLiteral("Procedures.bas ! proc_sCrypticPassword"));
    QString result;
    bool converted = false;
    g.run([&] {
        result = cust_sConvertCardText(text, scramble);
        converted = true;
    });
    if (!converted) return std::nullopt;
    return result;
}

bool util_bValidCardNumber(const QString& number) {
    const qsizetype length = number.size();
    if (length < 16) return true;
    const QChar check = number.at(length - 1);
    if (!isAsciiDigit(check)) return false;
    int sum = 0;
    int place = 1;
    for (qsizetype i = length - 2; i >= 0; --i, ++place) {
        const QChar c = number.at(i);
        if (!isAsciiDigit(c)) continue;
        int digit = c.unicode() - '0';
        if (place % 2 == 1) {
            digit *= 2;
            if (digit > 9) digit -= 9;
        }
        sum += digit;
    }
    return check.unicode() - '0' == (10 - sum % 10) % 10;
}

ExpiryKeyPress cust_ExpiryKeyPress(const QString& text, int keyAscii) {
    ExpiryKeyPress result;
    if (keyAscii == BackslashKey) keyAscii = Slash;
    if (keyAscii == Slash && text.size() == 1)
        result.rewrite = BoxText{QStringLiteral("0") + text + QStringLiteral("/"), 3};
    result.keyAscii = util_ForceNumbersOnly(keyAscii, true);
    return result;
}

std::optional<BoxText> cust_ExpiryKeyUp(const QString& text, int keyCode) {
    if (text.size() != 2) return std::nullopt;
    if (keyCode == Backspace) return BoxText{text.left(1), 1};
    return BoxText{text + QStringLiteral("/"), 3};
}

QString cust_sCustomerCasesSQL(qint64 customerId, bool openOnly) {
    QString sql = QStringLiteral("select* from Cases where CustomerID =") + QString::number(customerId);
    if (openOnly) sql += QStringLiteral(" and CaseOpen = True");
    return sql;
}

QString cust_sDeleteCustomerCasesSQL(qint64 customerId) {
    return QStringLiteral("delete from Cases where CustomerID =") + QString::number(customerId);
}

QString cust_sClosedCasesQuestion(qint64 closedCases) {
    const QString count = closedCases == 1 ? QStringLiteral("There is 1 closed case")
                                           : QStringLiteral("There are ") + QString::number(closedCases) +
                                                 QStringLiteral(" closed cases");
    return count +
           QStringLiteral(" for this customer. Any cases for this customer will be deleted as well.") +
           QStringLiteral("\r\r") +
           QStringLiteral("Are you sure you want to remove this customer and their cases?");
}

QString cust_sMaskCardNumber(const QString& number) {
    QString masked = number;
    int digitsLeft = 0;
    for (const QChar c : number)
        if (c.isDigit()) ++digitsLeft;
    for (QChar& c : masked)
        if (c.isDigit() && digitsLeft-- > 4) c = QChar(0x2022);
    return masked;
}

namespace {
bool present(const Value& v) { return !v.isNull() && !v.isEmpty() && !v.toString().isEmpty(); }
} // namespace

QString cust_sDefaultShowAs(const Value& lastName, const Value& firstName, const Value& initial,
                            const Value& companyName) {
    QString name;
    if (present(lastName)) name = lastName.toString();
    if (present(firstName)) {
        if (present(lastName)) name += QStringLiteral(", ");
        name += firstName.toString();
        if (present(initial)) name += QLatin1Char(' ') + initial.toString() + QLatin1Char('.');
    }
    if (present(companyName)) {
        if (!name.isEmpty()) name += QStringLiteral("   ");
        name += QLatin1Char('[') + companyName.toString() + QLatin1Char(']');
    }
    return name;
}
