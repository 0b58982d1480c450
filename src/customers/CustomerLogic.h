#pragma once

#include <QString>
#include <array>
#include <optional>

class Value;

// The customer screen's rules that need no screen: the scrambling of card numbers, the check-digit
// test, the typing aid of the expiry box, and the texts of the customer deletion.

// ---- card number scrambling

// The three plain alphabets (each every letter of both cases and every digit once, in an order of its
// own) and the one cipher alphabet. Position p of a plain alphabet stands for position p of the cipher
// alphabet. Fixed for good: a number scrambled with them can only be read back with the same tables.
const std::array<QString, 3>& cust_PlainAlphabets();
const QString& cust_CipherAlphabet();

// Scrambles (scramble true) or unscrambles a text of letters, digits and spaces. The alphabets of the
// positions 1, 2, 3, ... are 0, then 1, 2, 1, 0, 1 over and over; a space stays a space and also moves
// the walk on. The scrambled text holds the plain one back to front; unscrambling reverses it first.
// A character with no place in the alphabets raises the error 5 (invalid call).
QString cust_sConvertCardText(const QString& text, bool scramble);

// The same as a procedure of the program: an error is reported under "Procedures.bas !
// proc_sCrypticPassword", and then nothing is returned, whatever the user chose, since a part of a
// number is no number.
std::optional<QString> proc_sCrypticPassword(const QString& text, bool scramble);

// ---- check digit

// True when a card number passes the check-digit test (ISO/IEC 7812) or is too short to be tested
// (fewer than 16 characters). Characters of the body that are not digits are skipped but keep their
// place; a last character that is not a digit fails the test.
bool util_bValidCardNumber(const QString& number);

// A card number as the screen shows it until the user asks to see it: every digit but the last four
// becomes a dot; spaces, dashes and other characters stay where they are.
QString cust_sMaskCardNumber(const QString& number);

// ---- expiry box ("mm/yy")

// A box's text after a rule of the typing aid has rewritten it, with the caret position.
struct BoxText {
    QString text;
    int caret = 0;
};

// What a key does before it lands: the key to let through (0: none) and, when the rule rewrites the
// box, its new text. A backslash counts as a slash; a slash after one digit makes the month two digits
// and puts the slash after it (5 then / gives 05/); any key but a digit or Backspace is dropped.
struct ExpiryKeyPress {
    int keyAscii = 0;
    std::optional<BoxText> rewrite;
};
ExpiryKeyPress cust_ExpiryKeyPress(const QString& text, int keyAscii);

// What a key does after it has landed (keyCode 8 is Backspace): with exactly two characters in the
// box, any key but Backspace adds the slash (12 gives 12/) and Backspace takes the second character
// away as well (Backspace over the slash of 12/ leaves 1). Nothing otherwise.
std::optional<BoxText> cust_ExpiryKeyUp(const QString& text, int keyCode);

// ---- customer deletion

// "select* from Cases where CustomerID =12", with " and CaseOpen = True" for the open cases alone.
QString cust_sCustomerCasesSQL(qint64 customerId, bool openOnly);
// "delete from Cases where CustomerID =12".
QString cust_sDeleteCustomerCasesSQL(qint64 customerId);
// The question before a customer's closed cases are deleted with them.
QString cust_sClosedCasesQuestion(qint64 closedCases);

// ---- display name

// The default display name of a customer: "Last, First I.   [Company]" from the parts present.
QString cust_sDefaultShowAs(const Value& lastName, const Value& firstName, const Value& initial,
                            const Value& companyName);
