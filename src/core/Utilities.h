#pragma once

#include <QString>

class Value;

// Key filter for a box that takes a number, run before the key is applied. Returns the key to let
// through, or 0 to discard it. Backspace always passes; with integerOnly false a decimal point
// passes unless the box's whole text already holds one; every other key outside "0".."9" is
// discarded.
int util_ForceNumbersOnly(const QString& boxText, int keyAscii, bool integerOnly);
// The same without a box: a decimal point (integerOnly false) always passes.
int util_ForceNumbersOnly(int keyAscii, bool integerOnly);

// True as soon as character occurs in text more than maxCount times; a text shorter than 2
// characters always gives false.
bool util_bIsDuplicateCharacter(const QString& text, QChar character, int maxCount);

// True only for the plain decimal writing of a whole number above 0 ("12"; not "012", "12.0",
// " 12", "+12", "0").
bool util_bCheckPositiveInteger(const QString& text);

// Waits the given seconds while still processing window events; survives midnight.
void util_Wait(double seconds = 5);

// A number as its text; any other value without its first and last characters. A text of fewer
// than 2 characters is reported as an error and gives an empty text.
QString util_sStripQuotes(const Value& value);

// True when a regular file exists at path.
bool util_bDoesFileExist(const QString& path);

// A file of that name in the user's documents folder (the home folder when there is none): where a
// save dialog first offers to put a report or an export.
QString util_sDocumentsFile(const QString& fileName);
