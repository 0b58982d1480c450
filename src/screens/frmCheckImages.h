#pragma once

#include <QDialog>
#include <array>
#include <memory>

namespace Ui {
class frmCheckImages;
}
class QLabel;
class QPushButton;

// "Check Images": the scanned front and back of a case's returned cheque, one side at a time. The
// case keeps only the two file names, which are looked for in the Checks folder; the screen never
// copies, moves, renames or deletes a picture file. The two name labels are the screen's state:
// "Close" writes what they hold into the case, any other way of closing keeps the case as it was.
class frmCheckImages : public QDialog {
    Q_OBJECT
public:
    // The longest file name (with its extension) a case keeps.
    static constexpr int MaxFileNameLength = 34;

    explicit frmCheckImages(QWidget* parent = nullptr);
    ~frmCheckImages() override;

    // The key of the case whose pictures are shown; set by the opener before showing.
    qint64 lCaseID = 0;

    // Reads the case's two names and shows the front. Runs by itself when the screen is first shown.
    void Form_Load();
    void cmdLoadImage_Click();
    void cmdView_Click();
    void cmdDeleteImage_Click();
    void cmdClose_Click();

    // The file dialog's filter: the five entries of picture kinds, the first one selected.
    static QString imageFilter();

    std::array<QLabel*, 2> picCheck{};          // 0 the front, 1 the back
    std::array<QLabel*, 2> lblCheckImageFile{}; // the file name of each side, "" for none
    QLabel* lblCheck = nullptr;                 // "Front" or "Back"
    QPushButton* cmdView = nullptr;

    // True when side i shows a picture (false for an empty side or one that cannot be shown).
    bool showsPicture(int side) const { return m_hasPicture[side]; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    // The side on display: 0 while the front's picture box is shown, else 1.
    int shownSide() const;
    // Loads the picture file into side i ("" empties it). A file that cannot be read leaves the side
    // empty with its name in red and a note; false then.
    bool loadPicture(int side, const QString& path);
    // The window wraps the picture box of side i and the buttons, within the desktop.
    void fitWindow(int side);
    // What the window needs beyond a picture box: the name line, the buttons and the margins.
    QSize chromeSize() const;
    // The largest picture a side shows, so that the window fits the desktop.
    QSize largestPicture() const;

    std::unique_ptr<Ui::frmCheckImages> ui;
    std::array<bool, 2> m_hasPicture{};
    std::array<QSize, 2> m_boxSize{};
    bool m_loaded = false;
};
