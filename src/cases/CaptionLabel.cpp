#include "cases/CaptionLabel.h"

#include "data/engine/Value.h"
#include "util/Format.h"

void CaptionLabel::setCaption(const QString& caption) {
    const QString shown = formatted(caption);
    if (shown == text()) return; // no change, no change event
    setText(shown);
    emit changed();
}

void AmountLabel::setAmount(double amount) { setCaption(QString::number(amount, 'f', 4)); }

double AmountLabel::amount() const { return util_dReadAmount(text()); }

QString AmountLabel::formatted(const QString& caption) const {
    if (auto number = Value::parseNumber(caption)) return fmt_Currency(*number);
    return caption;
}
