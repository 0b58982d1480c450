#pragma once

#include "cases/FollowUpLogic.h"

#include <QAbstractTableModel>
#include <QDialog>

class CaseDisplay;
class QLabel;
class QTableView;

// The lines of the follow-up worklist as a table.
class FollowUpModel : public QAbstractTableModel {
public:
    enum Column { Customer, Reference, Stage, StageDate, Days, Balance, NextStep, ColumnCount };

    void setLines(QList<FollowUpLine> lines);
    const FollowUpLine& line(int row) const { return m_lines[row]; }

    int rowCount(const QModelIndex& parent = {}) const override { return parent.isValid() ? 0 : int(m_lines.size()); }
    int columnCount(const QModelIndex& parent = {}) const override { return parent.isValid() ? 0 : ColumnCount; }
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    QList<FollowUpLine> m_lines;
};

// "Follow-up List": the open cases whose stage is due for the next step, the longest waiting first.
// A double click (or Enter) opens the case on the case screen. Built anew at every opening.
class frmFollowUp : public QDialog {
    Q_OBJECT
public:
    explicit frmFollowUp(CaseDisplay* caseScreen, QWidget* parent = nullptr);

    // Reads the worklist from the file again.
    void func_Refresh();
    void openCaseOfRow(int row);
    // "&Print": the list as it stands, through the report engine to the preview.
    void cmdPrint_Click();

    FollowUpModel& model() { return m_model; }
    QTableView* table() const { return m_table; }

private:
    // Widens the window to show every column whole, within the desktop.
    void fitWidthToColumns();

    CaseDisplay* m_caseScreen;
    FollowUpModel m_model;
    QTableView* m_table = nullptr;
    QLabel* m_summary = nullptr;
};
