#pragma once

#include <QList>
#include <QString>

// A database as an earlier release of the program wrote it: Address without ShowAs and Email, the
// balance of a case in BalanceOwed, no saved customer-list queries; the Config row, the list tables
// and their list queries as they were. Written with the engine, on a real file.

struct OldDatabaseOptions {
    bool withEmail = false;                               // an Address.Email field already there
    QString balanceField = QStringLiteral("BalanceOwed"); // the name of the balance field of Cases
    int customers = 4;
    int casesPerCustomer = 2;
    QString agencyName = QStringLiteral("Northgate Recovery"); // Config's CollectionCompanyName
};

// What the builder wrote, for comparing with what a database holds later.
struct OldCustomer {
    qint64 customerId = 0;
    QString lastName;
    QString firstName;
    QString city;
};
struct OldCase {
    qint64 caseId = 0;
    qint64 customerId = 0;
    QString referenceNumber;
    bool open = false;
    qint64 checkAmountScaled = 0; // the amount * 10 000
    qint64 balanceScaled = 0;
    QString stage;
};
struct OldDatabaseContent {
    QList<OldCustomer> customers;
    QList<OldCase> cases;
};

// Writes a new file at path (which must not exist) and returns its rows.
OldDatabaseContent old_WriteDatabase(const QString& path, const OldDatabaseOptions& options = {});
