#include "widgets/CaptionLabel.h"

#include "core/Format.h"

void CaptionLabel::setCaption(const QString& caption) {
    const QString shown = formatted(caption);
    if (shown == text()) return; // no change, no change event
    setText(shown);
    emit changed();
}

void AmountLabel::setAmount(Money amount) { setCaption(fmt_Currency(amount)); }

Money AmountLabel::amount() const { return money_Read(text()); }

QString AmountLabel::formatted(const QString& caption) const {
    if (caption.trimmed().isEmpty()) return caption;
    if (auto amount = money_Parse(caption)) return fmt_Currency(*amount);
    return caption;
}
