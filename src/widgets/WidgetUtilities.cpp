#include "widgets/WidgetUtilities.h"

#include "core/ErrorHandling.h"
#include "core/Help.h"
#include "core/Platform.h"
#include "core/Utilities.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QPushButton>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QScreen>
#include <QTextEdit>
#include <QTimer>
#include <QWidget>
#include <vector>

void util_CenterForm(QWidget* form) {
    QScreen* screen = form->screen() ? form->screen() : QGuiApplication::primaryScreen();
    if (!screen) return;
    const QRect desktop = screen->geometry();
    const QSize size = form->frameGeometry().size();
    form->move(desktop.left() + (desktop.width() - size.width()) / 2,
               desktop.top() + (desktop.height() - size.height()) / 2);
}

void util_FitFormToScreen(QWidget* form) {
    QScreen* screen = form->screen() ? form->screen() : QGuiApplication::primaryScreen();
    if (!screen) return;
    const QSize frame = form->frameGeometry().size() - form->size();
    form->resize(form->size().boundedTo(screen->availableGeometry().size() - frame));
}

void util_SelectAllText(QWidget* control) {
    if (auto* edit = qobject_cast<QLineEdit*>(control)) {
        edit->setSelection(0, edit->text().size());
    } else if (auto* combo = qobject_cast<QComboBox*>(control); combo && combo->lineEdit()) {
        combo->lineEdit()->selectAll();
    } else if (auto* text = qobject_cast<QTextEdit*>(control)) {
        text->selectAll();
    } else if (auto* plain = qobject_cast<QPlainTextEdit*>(control)) {
        plain->selectAll();
    }
}

namespace {
// Marks the hook objects that util_DetachControls removes.
constexpr char HookProperty[] = "dunmarkHook";
} // namespace

KeyPressFilter::KeyPressFilter(QWidget* control, Handler handler)
    : QObject(control), m_handler(std::move(handler)) {
    setProperty(HookProperty, true);
    control->installEventFilter(this);
}

bool KeyPressFilter::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress || m_replaying) return false;
    auto* key = static_cast<QKeyEvent*>(event);
    if (key->text().isEmpty() || (key->modifiers() & (Qt::ControlModifier | Qt::AltModifier))) return false;
    const int keyAscii = key->text().at(0).unicode();
    const int result = m_handler(keyAscii);
    if (result == keyAscii) return false;
    if (result != 0) {
        // Type another character in place of the one pressed.
        QKeyEvent replacement(QEvent::KeyPress, 0, key->modifiers(), QString(QChar(result)));
        m_replaying = true;
        QApplication::sendEvent(watched, &replacement);
        m_replaying = false;
    }
    return true;
}

namespace {
class EventHook : public QObject {
public:
    EventHook(QWidget* control, QEvent::Type type, std::function<void(QEvent*)> handler)
        : QObject(control), m_type(type), m_handler(std::move(handler)) {
        setProperty(HookProperty, true);
        control->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == m_type) m_handler(event);
        return false;
    }

private:
    QEvent::Type m_type;
    std::function<void(QEvent*)> m_handler;
};
} // namespace

void util_OnEvent(QWidget* control, QEvent::Type type, std::function<void(QEvent*)> handler) {
    new EventHook(control, type, std::move(handler));
}

void util_DetachControls(QWidget* screen) {
    const QList<QObject*> children = screen->findChildren<QObject*>();
    std::vector<QObject*> hooks;
    for (QObject* child : children) {
        child->disconnect(screen);
        child->removeEventFilter(screen);
        if (child->property(HookProperty).toBool()) hooks.push_back(child);
    }
    // Hooks have no children of their own, so deleting one leaves the others in place.
    for (QObject* hook : hooks)
        delete hook;
}

void util_InstallNumbersOnly(QWidget* textBox, bool integerOnly) {
    auto* edit = qobject_cast<QLineEdit*>(textBox);
    new KeyPressFilter(textBox, [edit, integerOnly](int keyAscii) {
        return util_ForceNumbersOnly(edit ? edit->text() : QString(), keyAscii, integerOnly);
    });
}

int api_lGetFontDialogUnits(QWidget* ownerForm) {
    int result = 0;
    ErrorGuard g(QStringLiteral("API.bas ! api_lGetFontDialogUnits"));
    g.run([&] {
        const QFontMetrics metrics(ownerForm ? ownerForm->font() : QApplication::font());
        result = metrics.horizontalAdvance(
                     QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz")) /
                 52;
    });
    return result;
}

void util_AdjustWidthOfComboBoxListPortion(QWidget* ownerForm, QComboBox* comboBox, bool useGivenWidth,
                                           int width) {
    ErrorGuard g(QStringLiteral("Utility.bas ! util_AdjustWidthOfComboBoxListPortion"));
    g.run([&] {
        if (!useGivenWidth) {
            qsizetype longest = 0;
            for (int i = 0; i < comboBox->count(); ++i)
                longest = std::max(longest, comboBox->itemText(i).size());
            const int scrollBar = comboBox->count() >= 10 ? 15 : 0;
            width = int(longest) * api_lGetFontDialogUnits(ownerForm) + scrollBar;
        }
        comboBox->view()->setMinimumWidth(width);
    });
}

void util_ShowTextFromStart(QComboBox* comboBox) {
    if (QLineEdit* edit = comboBox->lineEdit()) edit->setCursorPosition(0); // also drops any selection
}

void util_ColourCaptionByCheck(QAbstractButton* box) {
    QPalette p = box->palette();
    p.setColor(QPalette::WindowText, box->isChecked() ? QColor(0xff, 0, 0) : QColor(0, 0, 0));
    box->setPalette(p);
}

bool util_bRefuseTooLargeEntry(QLineEdit* box, EntryKind kind) {
    static bool refusing = false; // the message itself takes the focus away from the box
    if (refusing) return true;
    if (!money_bEntryTooLarge(box->text(), kind)) return false;
    refusing = true;
    msgBox(money_sEntryTooLargeMessage(kind), Platform::Exclamation, EntryTooLargeTitle);
    refusing = false;
    // Back into the box once the focus change that is under way has ended.
    QTimer::singleShot(0, box, [box] {
        box->setFocus();
        box->selectAll();
    });
    return true;
}

QAbstractButton* util_AddHelpButton(QDialogButtonBox* buttons, const QString& screen, const QString& topic) {
    QPushButton* help = buttons->addButton(QDialogButtonBox::Help);
    help->setObjectName(QStringLiteral("cmdHelp"));
    QObject::connect(help, &QPushButton::clicked, buttons, [screen, topic] {
        ErrorGuard g(screen + QStringLiteral(" ! cmdHelp_Click"));
        if (!g.run([&] { HelpTopic = topic; })) return;
        g.run([] { api_DisplayHTMLHelp(QStringLiteral("Topic")); });
    });
    return help;
}
