// dunmark-newdb PROGRAM_FOLDER: makes Data/ and Checks/ in a program folder and a new empty
// Data/Dunmark.mdb when there is none. An existing database is never overwritten.
#include "core/AppError.h"
#include "data/NewDatabase.h"

#include <QCoreApplication>
#include <QTextStream>

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    QTextStream err(stderr);
    QTextStream out(stdout);
    if (argc != 2) {
        err << "usage: dunmark-newdb PROGRAM_FOLDER\n";
        return 2;
    }
    const QString folder = QString::fromLocal8Bit(argv[1]);
    try {
        if (data_MakeProgramFolder(folder))
            out << "Made a new database: " << folder << "/Data/Dunmark.mdb\n";
        else
            out << "Kept the existing database: " << folder << "/Data/Dunmark.mdb\n";
        return 0;
    } catch (const AppError& e) {
        err << "dunmark-newdb: could not make the database in " << folder << ": " << e.description() << " ("
            << e.number() << ")\n";
        return 1;
    }
}
