#pragma once

#include <QString>

// Translation of the classic SQL dialect used throughout the program into SQLite's SQL:
// - #M/d/yyyy# and #M/d/yyyy h:mm:ss AM# (or 24-hour) date literals become 'YYYY-MM-DD HH:MM:SS' texts,
//   the form in which dates are stored;
// - "double-quoted" texts (with "" for one quote) become single-quoted SQL texts; 'single-quoted' texts
//   pass through. Nothing inside a text is ever changed except its quoting;
// - the keywords True and False become 1 and 0 (Yes/No fields are stored as 1/0);
// - [Bracketed Names] become "quoted" identifiers;
// - & (text concatenation) becomes ||; DISTINCTROW becomes DISTINCT;
// - in a Like pattern, * and ? become % and _ (a literal % or _ is escaped).
QString translateSql(const QString& classic);

// Quoting helpers for SQL that the engine builds itself.
QString sqlQuoteText(const QString& text); // 'O''Brien'
QString sqlQuoteName(const QString& name); // "Field ""Name"""
