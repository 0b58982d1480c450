#pragma once

#include <QString>

// The help page to open with the "Topic" command; callers set it just before the call. A page name
// without ".htm" gets it appended (and keeps it).
extern QString HelpTopic;

// Opens the help viewer on the program's help file: command "Contents", "Index", "Search" or
// "Topic" (compared exactly; anything else does nothing).
void api_DisplayHTMLHelp(const QString& command);

// The address of a help page inside the compiled help file.
QString api_sHelpPageAddress(const QString& page);

// Opens a file, program or web address with the desktop's default program.
void api_OpenSeparateProgramFile(const QString& target);
