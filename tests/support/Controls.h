#pragma once

#include <QAbstractButton>
#include <QAction>
#include <QWidget>
#include <gtest/gtest.h>

// Chooses the menu entry or presses the button of that name among the owner's children.
inline void triggerControl(const QWidget& owner, const QString& name) {
    if (auto* action = owner.findChild<QAction*>(name)) return action->trigger();
    if (auto* button = owner.findChild<QAbstractButton*>(name)) return button->click();
    ADD_FAILURE() << "no control " << name.toStdString();
}
