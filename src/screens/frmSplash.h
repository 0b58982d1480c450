#pragma once

#include <QWidget>
#include <memory>

namespace Ui {
class frmSplash;
}
class QLabel;
class QPixmap;

// The splash screen: the program's picture, its version and copyright line, shown while start-up
// upgrades and compacts the database. Start-up makes it, calls Form_Load and deletes it at the end.
class frmSplash : public QWidget {
    Q_OBJECT
public:
    explicit frmSplash(QWidget* parent = nullptr);
    ~frmSplash() override;

    // Fills the labels, centres the screen, shows it (not modal) and has it painted at once.
    void Form_Load();

    QLabel* lblCopywrite = nullptr;
    QLabel* imgSplash = nullptr;

private:
    std::unique_ptr<Ui::frmSplash> ui;
};

// The splash screen's picture: a returned cheque with its stamp under the program's name.
QPixmap splash_Picture(int width, int height);
