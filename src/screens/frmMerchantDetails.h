#pragma once

#include <QDialog>
#include <QList>

class QLineEdit;

// "Merchant Details": the merchant's name, contact, address, telephone and fax, printed as the
// letterhead of the notices; kept in the one row of the table Config of the settings database.
// "OK" saves and closes, "Cancel" closes without saving.
class frmMerchantDetails : public QDialog {
    Q_OBJECT
public:
    explicit frmMerchantDetails(QWidget* parent = nullptr);

    // Shows the details stored in Config (nothing for a setting without a value).
    void func_GetData();
    // Writes the boxes into the first row of Config (made when there is none). False when an error
    // stopped the writing.
    bool func_SaveData();
    void cmdOK_Click();

    QLineEdit* box(const QString& field) const;

private:
    struct Field {
        QString name;
        QLineEdit* box;
    };
    QList<Field> m_fields;
};
