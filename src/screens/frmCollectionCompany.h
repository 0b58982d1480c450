#pragma once

#include "core/Money.h"

#include <QDialog>
#include <array>
#include <memory>

namespace Ui {
class frmCollectionCompany;
}
class QLineEdit;
class QPushButton;

// "Collection Information": the merchant's defaults for collection (the agency, its charges, the
// typical court costs and our own processing fee), kept in the one row of the table Config of the
// settings database. "OK" saves and closes, "Cancel" closes without saving.
class frmCollectionCompany : public QDialog {
    Q_OBJECT
public:
    explicit frmCollectionCompany(QWidget* parent = nullptr);
    ~frmCollectionCompany() override;

    // Fills the screen from Config. Runs by itself when the screen is first shown; an opener may
    // call it earlier (it then does not run again on showing).
    void Form_Load();

    // Shows the settings of Config; an empty Config leaves the screen's starting values.
    void func_GetData();
    // Writes the screen into the first row of Config, adding that row when Config has none. False
    // when an error stopped the writing.
    bool func_SaveData();

    void cmdExitCategories_Click();
    void cmdCancel_Click();
    // 0 the processing fee, 1 the collection charges, 2 the collection information.
    void cmdHelp_Click(int index);

    std::array<QPushButton*, 3> cmdHelp{};

protected:
    void showEvent(QShowEvent* event) override;

private:
    // The boxes of figures and what each takes.
    std::array<std::pair<QLineEdit*, EntryKind>, 4> entryBoxes() const;
    void connectAmountBox(QLineEdit* box, EntryKind kind);

    std::unique_ptr<Ui::frmCollectionCompany> ui;
    bool m_loaded = false;
};
