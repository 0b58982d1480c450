#pragma once

#include <QString>

// Lays out a program folder's data: the folders Data/, Data/Backup/ and Checks/ and a new empty
// Data/Dunmark.mdb when there is none. An existing database is never touched. Returns true when a new
// database was made; raises AppError (or DbError) when a folder or the file cannot be made.
bool data_MakeProgramFolder(const QString& programFolder);
