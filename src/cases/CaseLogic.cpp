#include "cases/CaseLogic.h"

#include "util/Format.h"
#include "util/Utilities.h"

#include <cmath>

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

double case_CollectionCharge(const ChargeInput& in) {
    double charge = 0;
    if (in.inCollection) {
        if (in.byPercent)
            charge = in.percent / 100.0 * (in.checkAmount + (in.includeNSF ? in.nsfFee : 0.0));
        else
            charge = in.dollars;
    }
    return util_fRoundOff(charge);
}

double case_Collectable(double checkAmount, bool addNSF, double nsfFee, bool inCollection, bool addCharges,
                        double charge) {
    double amount = checkAmount + (addNSF ? nsfFee : 0.0);
    if (inCollection) amount += addCharges ? charge : -charge;
    return amount;
}

double case_PaidAmount(const QStringList& installmentTexts) {
    double paid = 0;
    if (installmentTexts.isEmpty() || installmentTexts.first().isEmpty()) return 0;
    for (const QString& text : installmentTexts)
        if (!text.isEmpty()) paid += util_dReadAmount(text);
    return paid;
}

StageColour case_StageColour(const QDateTime& now, const QDateTime& stageDate, const QString& stage) {
    if (!stageDate.isValid() || stage == StageNames[CollectionStage]) return StageColour::Normal;
    if (now > stageDate.addDays(7) && now <= stageDate.addDays(14)) return StageColour::Yellow;
    if (now > stageDate.addDays(14)) return StageColour::Red;
    return StageColour::Normal;
}
