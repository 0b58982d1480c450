#pragma once

#include <QString>
#include <QStringList>

// The database format: the tables Address, Cases and Config, the list tables behind the three list
// queries, and the seven saved customer-list queries.

// Creates a new, empty database file at path (DbError 3204 when a file is there already).
void data_CreateNewDatabase(const QString& path);

// The saved customer-list queries, by name, with their exact SQL texts, in the order in which they
// are created.
struct SavedQuery {
    QString name;
    QString sql;
};
const QList<SavedQuery>& data_CustomerListQueries();
