#pragma once

class QWidget;

// The program's start: works out the folders and file paths, then opens the working screen.
// Returns the working screen, or nothing when start-up was stopped.
QWidget* Main();
