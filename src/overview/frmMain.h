#pragma once

#include <QString>
#include <QWidget>
#include <array>
#include <memory>

namespace Ui {
class frmMain;
}
class CaseDisplay;
class OverviewDelegate;
class OverviewModel;
class QRadioButton;
class QTableView;

// "Main", the overview: the cases of one type (open, closed, all) with their customers, stages and
// stage dates, one row each, in the chosen order. The reference and the name of a row are links
// that show that case with its customer on the case screen. It sits beside the case screen and
// reads the database again at every rebuild (a sort choice); it does not follow the case screen by
// itself.
class frmMain : public QWidget {
    Q_OBJECT
public:
    explicit frmMain(CaseDisplay& caseScreen, QWidget* parent = nullptr);
    ~frmMain() override;

    void Form_Load();
    // Reads the rows of the chosen type and order again.
    void func_DisplayRecords();
    void func_ClearAll();
    // Shows the case of a row with its customer (a customer without cases alone).
    void func_ShowClientCustomerInfo(int index);
    void optSort_Click(int index);
    // Only remembers the type: the next sort choice rebuilds with it.
    void optCaseType_Click(int index);

    QString sOverviewSort;
    int iOverviewCaseType = 0;
    bool bOverviewLoading = false;

    std::array<QRadioButton*, 3> optCaseType{};
    std::array<QRadioButton*, 3> optSort{};
    QTableView* scrOpenCases = nullptr;
    OverviewModel* model() const { return m_model; }

private:
    void setUpRows();
    void hover(const QPoint& position);

    std::unique_ptr<Ui::frmMain> ui;
    CaseDisplay& m_caseScreen;
    OverviewModel* m_model = nullptr;
    OverviewDelegate* m_delegate = nullptr;
};
