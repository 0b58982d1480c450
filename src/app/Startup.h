#pragma once

class QString;
class QWidget;

// The program's start, in this order: the folders and file paths, the splash screen (on screen at least
// a second and for as long as the rest of the start takes), the upgrade of a database of an earlier
// release (only when Address has no ShowAs), the repair and compaction of the database with its backup,
// this program's hold on the database for its whole run, and the working screen. Returns the working
// screen, or nothing when start-up was stopped; either way the splash screen is gone.
QWidget* Main();
// The same for a program folder other than the program file's own.
QWidget* Main(const QString& programFolder);
