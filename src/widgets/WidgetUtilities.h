#pragma once

#include <QEvent>
#include <QObject>
#include <functional>

#include "core/Money.h"

class QAbstractButton;
class QLineEdit;
class QComboBox;
class QDialogButtonBox;
class QWidget;

// Moves a screen so that it is centred on its desktop; a screen larger than the desktop gets
// negative coordinates. The size is not changed.
void util_CenterForm(QWidget* form);

// Adds a "Help" button to a dialog's button row that opens the help page `topic` (screen names the
// screen for the error guard).
QAbstractButton* util_AddHelpButton(QDialogButtonBox* buttons, const QString& screen, const QString& topic);

// Shrinks a window that would not fit the free area of its desktop (a small screen, a large
// scaling) to that area; the window's layout still keeps it from getting smaller than its content.
void util_FitFormToScreen(QWidget* form);

// Selects the whole text of a box so that typing replaces it. Errors are ignored.
void util_SelectAllText(QWidget* control);

// A key-press filter on a control, run before the key lands: the handler gets the typed character
// code (keys that type nothing, such as arrows and Delete, and shortcuts with Ctrl or Alt are not
// passed to it) and returns the code to let through, another code to type instead, or 0 to swallow
// the key.
class KeyPressFilter : public QObject {
public:
    using Handler = std::function<int(int keyAscii)>;
    KeyPressFilter(QWidget* control, Handler handler);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    Handler m_handler;
    bool m_replaying = false;
};

// Runs a handler when a control receives an event of the given type (got focus, lost focus, mouse
// down, key up ...); the event then goes on to the control as usual.
void util_OnEvent(QWidget* control, QEvent::Type type, std::function<void(QEvent*)> handler);

// The first step of a screen's destructor when its controls carry hooks or signal connections to it:
// Qt deletes the controls only after the screen's own part is gone, and the focus moves from box to
// box meanwhile. Removes the hooks above from every control and disconnects the controls' signals
// and the screen's event filters from the screen, so that nothing of the half-destroyed screen runs.
void util_DetachControls(QWidget* screen);

// Numeric boxes: installs util_ForceNumbersOnly as the box's key filter (a QLineEdit).
void util_InstallNumbersOnly(QWidget* textBox, bool integerOnly);

// Sets the width of a drop-down list's open part: the given width, or the longest item's length in
// characters times the average character width, plus 15 pixels for a scroll bar when the list has
// 10 or more items. The closed box keeps its size. Serves plain and picture drop-downs alike.
void util_AdjustWidthOfComboBoxListPortion(QWidget* ownerForm, QComboBox* comboBox,
                                           bool useGivenWidth = false, int width = 0);

// Shows an editable drop-down's text from its first character (no selection).
void util_ShowTextFromStart(QComboBox* comboBox);

// A check box that warns when checked: its caption red while checked, black otherwise.
void util_ColourCaptionByCheck(QAbstractButton* box);

// The average character width in pixels of the window's text font (the 52 letters' width / 52).
int api_lGetFontDialogUnits(QWidget* ownerForm);

// The first rule of leaving a box of figures: a figure beyond what the box takes is refused with one
// message, the box keeps its text and gets the focus back. True when the figure was refused (the
// box's other leaving rules are then skipped).
bool util_bRefuseTooLargeEntry(QLineEdit* box, EntryKind kind);
