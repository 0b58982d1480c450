#pragma once

#include "core/Money.h"
#include "core/ReportDocument.h"

#include <QDateTime>
#include <QString>
#include <memory>
#include <vector>

// The report engine. A template (".rpt") is an HTML file with Mustache tags; a meta tag names the
// data it is made from:
//   <meta name="report-data" content="notice">          one letter per selected case
//   <meta name="report-data" content="open-cases">      a list, one line per open case
//   <meta name="report-data" content="all-cases">       a list, one line per case
//   <meta name="report-data" content="no-more-checks">  a list, one line per customer refused
//   <meta name="report-data" content="given">           a list of lines handed over by a screen
// A list template describes one page: its lines ({{#lines}}), the page number ({{page}}), the
// running date ({{printed}}) and, on the last page only ({{#last}}), the totals ({{totals.amount}}).

// Error numbers of the engine.
namespace ReportErr {
constexpr int TemplateNotFound = 20507;
constexpr int FormulaNotUnderstood = 20515;
constexpr int TemplateNotUnderstood = 20525;
} // namespace ReportErr

// What a selection formula selects: every row, or the cases of one reference number.
struct ReportSelection {
    bool all = true;
    QString reference;
};

// Reads the one formula form the program writes: "" (none: every row) or
// {Cases.ReferenceNumber} = 'text', where a doubled single quote inside the quotes is one quote.
// Any other formula raises 20515.
ReportSelection report_ParseFormula(const QString& formula);
// The formula that selects the cases of one reference number (its quotes doubled).
QString report_sReferenceFormula(const QString& reference);

// Reads the template file and the data it names from DatabasePath (settings from
// SettingsDatabasePath); 20507 when the file is not there, 20525 when it names no data it knows.
// now gives the date printed on the reports.
std::unique_ptr<ReportDocument> report_Build(const QString& templatePath, const ReportSelection& selection,
                                             const QDateTime& now);
// One line of a list: the tags {{name}}, {{reference}}, {{received}}, {{status}}, {{phone}},
// {{identification}}, {{cases}}, {{days}}, {{note}}, {{amount}}, {{paid}}, {{balance}} (amounts in
// the "Currency" format); the totals add up cases, amount, paid and balance.
struct ReportLine {
    QString name, reference, received, status, phone, identification, note;
    int cases = 0;
    int days = 0;
    Money amount, paid, balance;
};
// A list whose lines a screen hands over (a template of data "given"); 20507 when the file is not there.
std::unique_ptr<ReportDocument> report_BuildList(const QString& templatePath, std::vector<ReportLine> lines,
                                                 const QDateTime& now);

// The number of cases (notice) or lines (list) the document holds.
qsizetype report_lItemCount(const ReportDocument& document);

// The report control: a template, a selection formula and a destination, run by run().
class ReportControl {
public:
    enum Destination { ToWindow = 0, ToPrinter = 1, ToFile = 2 };

    QString ReportFileName;
    QString SelectionFormula;
    int Destination = ToWindow;
    QString PrintFileName; // the PDF file of destination 2

    // Runs the report now (the classic Action = 1). A notice whose selection finds no case says so
    // and prints nothing.
    void run();
};
