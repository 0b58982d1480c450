#pragma once

#include "core/Money.h"

#include <QLabel>

// A label whose caption is written through setCaption, which runs the label's change handling: the
// changed signal (the old "Change" event) and, in subclasses, a reformat of the text.
class CaptionLabel : public QLabel {
    Q_OBJECT
public:
    using QLabel::QLabel;

    void setCaption(const QString& caption);
    QString caption() const { return text(); }

signals:
    void changed();

protected:
    // The text shown for a caption; the caption itself by default.
    virtual QString formatted(const QString& caption) const { return caption; }
};

// An amount label: whatever number is written into it, it shows in the "Currency" format. Text that
// is not a number is shown as it is.
class AmountLabel : public CaptionLabel {
    Q_OBJECT
public:
    using CaptionLabel::CaptionLabel;

    void setAmount(Money amount);
    // The caption read as an amount (0 when empty).
    Money amount() const;

protected:
    QString formatted(const QString& caption) const override;
};
