#pragma once

#include <QString>
#include <QStringList>
#include <vector>

class Database;
struct sqlite3;

// Finding anything: a check number, a reference, an account number or an amount of a case; a part of
// a customer's name, company or phone number.
//
// Two SQLite FTS5 tables with the trigram tokenizer hold a folded copy of those texts: FindCases
// (rowid = CaseID: Reference, CheckNumber, AccountNumber, Amount) and FindCustomers (rowid =
// CustomerID: Name = first name, last name and display name; Company; Phone = Phone and Phone2, also
// as their digits alone). Triggers on Cases and Address keep them in step with every insert, change
// and deletion, whoever writes; an update fires only when an indexed field really changed. The folding
// is the SQL function find_fold, which every connection of the engine has (find_RegisterSqlFunctions).

// A text as it is indexed and searched: each character decomposed (NFD), combining marks dropped,
// lower case. "Émile" and "EMILE" both give "emile".
QString find_sFold(const QString& text);

// Gives a connection the SQL functions the index's triggers use: find_fold(text, ...) (the folded
// texts that are not Null, joined by a space; Null when all are Null) and find_amount(units) (an
// amount stored as units as its plain decimal, "125.00").
void find_RegisterSqlFunctions(sqlite3* db);

// The names of the six triggers. A bulk fill of many rows goes faster without them (the trigger's
// index write costs some 70 us a row; the one pass of find_CreateIndex afterwards far less).
QStringList find_TriggerNames();
// Whether the file has both tables and their six triggers.
bool find_bHasIndex(Database& db);
// Makes the tables and triggers (dropping any part there is) and fills the tables from the saved
// cases and customers.
void find_CreateIndex(Database& db);

// The fewest characters the trigram index finds; shorter texts are looked up differently.
constexpr int FindIndexedLength = 3;
// How many cases and how many customers a search gives at most.
constexpr int FindLimit = 8;

struct FindHit {
    qint64 caseKey = 0; // 0 for a customer
    qint64 customerKey = 0;
    QString text;      // the line shown for it
    QStringList terms; // the texts to show in bold in it
};

struct FindResults {
    std::vector<FindHit> cases;
    std::vector<FindHit> customers;
    bool isEmpty() const { return cases.empty() && customers.empty(); }
};

// What the text typed into the find box finds, at most FindLimit of each:
// - a blank text: nothing;
// - one or two characters: the customers whose display name begins with them, by name (letter case
//   ignored, accents not: a range of the display-name index, since the index of three-character
//   pieces cannot find shorter texts);
// - three or more, newest first: every case and customer whose indexed texts contain the folded text
//   (and, for a text of digits and phone punctuation, its digits alone); a text that reads as an
//   amount ("125", "$1,250.00") also finds the cases of exactly that check amount, first.
// Quotes and any other characters are searched as they are.
FindResults find_Search(const QString& databasePath, const QString& typed);

// The line as HTML with every place where one of the terms occurs, by the folded comparison, in bold.
QString find_sHighlight(const QString& line, const QStringList& terms);
