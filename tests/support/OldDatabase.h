#pragma once

#include <QString>

// A database as an earlier release of the program wrote it: Address without ShowAs and Email, the
// balance of a case in BalanceOwed, no saved customer-list queries; the Config row (its Memo "Kept from
// the old release"), the list tables and their list queries as they were, and customers with cases.
// Written with the engine, on a real file.
struct OldDatabaseOptions {
    bool withEmail = false;                               // an Address.Email field already there
    QString balanceField = QStringLiteral("BalanceOwed"); // the name of the balance field of Cases
    int customers = 4;
    int casesPerCustomer = 2;
};

// Writes a new file at path (which must not exist).
void old_WriteDatabase(const QString& path, const OldDatabaseOptions& options = {});
