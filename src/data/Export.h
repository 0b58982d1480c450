#pragma once

#include <QString>
#include <functional>

class QIODevice;

// Export for the accountant: cases or customers as CSV (RFC 4180: fields separated by commas, quoted
// when they hold a comma, a quote or a line break, quotes doubled, lines ended by CR LF), in UTF-8
// with a byte order mark so that spreadsheet programs read the accents. Amounts are plain decimals,
// dates ISO 8601, Yes/No fields "Yes" or "No". The card fields of the customers are never exported.
enum class ExportSet { AllCases, OpenCases, CurrentSet, Customers };

// Called every few hundred rows with the rows written and the rows to write; false stops the export.
using ExportProgress = std::function<bool(int done, int total)>;

// One CSV field as RFC 4180 writes it.
QString csv_sField(const QString& text);

// Writes the set to the device; currentSetSql is the case set on display (used for CurrentSet: any
// query with a CaseID column). Returns the number of rows written, or -1 when progress stopped it.
int data_ExportCsv(const QString& databasePath, ExportSet set, const QString& currentSetSql, QIODevice& out,
                   const ExportProgress& progress = {});
