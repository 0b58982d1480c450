#pragma once

#include <QString>
#include <QStringList>

// The report templates ship packed in "brenvola.ccs" in the program folder, a zip archive built
// from the template sources; every print unpacks them again into ReportsFolder, so a template
// changed there lasts until the next print (the sources are where templates change for good).

// The seven templates, by name, and the follow-up list's.
const QStringList& report_TemplateNames();
// ProgramFolder + "/brenvola.ccs", and the name a run broken off half-way may have left it under.
QString report_sArchivePath();
QString report_sLeftoverArchivePath();

// Makes sure the templates are in ReportsFolder: unpacks the archive there, writing over what is
// there. A leftover "brenvola.exe" gets the archive name back first. With neither file: the message
// "The brenvola.ccs file is not available. It needs to be installed." and False. A file that cannot
// be read or written (error 75) is tried again up to 5 times, a second apart, then reported.
bool func_bExtractReports();
