#pragma once

#include "data/Export.h"

#include <QDialog>
#include <array>

class QRadioButton;

// "Export": writes the cases (all, open, or the set on the case screen) or the customers to a CSV
// file for the accountant. "Export…" asks for the file through the save dialog, writes it with a
// progress window on long exports (which can stop it; a stopped or failed export leaves no file
// behind and an earlier file of that name untouched) and says how many rows it wrote.
class frmExport : public QDialog {
    Q_OBJECT
public:
    // currentSetSql and currentViewText: the case set on the case screen and its name.
    frmExport(const QString& currentSetSql, const QString& currentViewText, QWidget* parent = nullptr);

    ExportSet chosenSet() const;
    // The file name the save dialog proposes: the set and the date, in the documents folder.
    QString suggestedPath() const;
    void cmdExport_Click();

    std::array<QRadioButton*, 4> optExportSet{};

private:
    // Writes the file; false when nothing was written (stopped, or an error already reported).
    bool writeFile(const QString& path, int& rows);

    QString m_currentSetSql;
};
