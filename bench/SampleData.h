#pragma once

#include <QString>

// Fills a new database with made-up but realistic customers and cases: names, addresses, telephones,
// cheque particulars, amounts, stages with their dates, installments. The same seed gives the same data.
struct SampleSize {
    int customers = 50;
    int cases = 80;
    unsigned seed = 20261206;
};
void sample_Fill(const QString& databasePath, const SampleSize& size);
