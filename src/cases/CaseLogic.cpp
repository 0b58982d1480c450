#include "cases/CaseLogic.h"


const std::array<QString, 7> StageNames = {
    QStringLiteral("Phone Call"), QStringLiteral("First Notice"), QStringLiteral("Second Notice"),
    QStringLiteral("Final Notice"), QStringLiteral("Collection"), QStringLiteral("Police"),
    QStringLiteral("Attorney")};

QString proc_sNumberGenerator(const QDateTime& now) {
    // Whole seconds since 31 December 1899 00:00 on the wall clock (time zones play no part).
    const QDateTime base(QDate(1899, 12, 31), QTime(0, 0), Qt::UTC);
    const QDateTime wall(now.date(), now.time(), Qt::UTC);
    const qint64 s = base.secsTo(wall);
    qint64 n;
    if (s > 4294967294LL)
        n = s - 3155760000LL;
    else if (s < 2147483647LL)
        n = s + 1;
    else
        n = s - 4294967295LL;
    const quint32 bits = static_cast<quint32>(n); // a negative n as its 32-bit two's complement
    return QString::number(n < 0 ? qint64(bits) : n, 16).toUpper();
}

Money case_CollectionCharge(const ChargeInput& in) {
    Money charge;
    if (in.inCollection) {
        if (in.byPercent)
            charge = (in.checkAmount + (in.includeNSF ? in.nsfFee : Money())).percent(in.percent);
        else
            charge = in.dollars;
    }
    return util_fRoundOff(charge);
}

Money case_Collectable(Money checkAmount, bool addNSF, Money nsfFee, bool inCollection, bool addCharges,
                       Money charge) {
    Money amount = checkAmount + (addNSF ? nsfFee : Money());
    if (inCollection) amount += addCharges ? charge : -charge;
    return amount;
}

Money case_PaidAmount(const QStringList& installmentTexts) {
    Money paid;
    if (installmentTexts.isEmpty() || installmentTexts.first().isEmpty()) return paid;
    for (const QString& text : installmentTexts)
        if (!text.isEmpty()) paid += money_Read(text);
    return paid;
}

StageColour case_StageColour(const QDateTime& now, const QDateTime& stageDate, const QString& stage) {
    if (!stageDate.isValid() || stage == StageNames[CollectionStage]) return StageColour::Normal;
    if (now > stageDate.addDays(7) && now <= stageDate.addDays(14)) return StageColour::Yellow;
    if (now > stageDate.addDays(14)) return StageColour::Red;
    return StageColour::Normal;
}
