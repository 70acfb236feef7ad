#include "common/VerifiedWrite.h"

QString differenceNotice(const DifferenceNoticeTexts &texts, const QList<Difference> &differences, int shown)
{
    QStringList lines{texts.heading};
    for (int i = 0; i < differences.size() && i < shown; ++i)
        lines << differences.at(i).withDetail();
    if (differences.size() > shown)
        lines << QString(texts.more).arg(differences.size() - shown);
    if (!texts.advice.isEmpty())
        lines << QString() << texts.advice;
    return lines.join(QLatin1Char('\n'));
}

namespace VerifiedWrite {

Result checked(const std::optional<QByteArray> &inRadio,
               const std::function<QList<Difference>(const QByteArray &inRadio)> &compare)
{
    Result result;
    if (!inRadio) {
        result.outcome = Outcome::CheckFailed;
        return result;
    }
    result.differences = compare(*inRadio);
    result.outcome = result.differences.isEmpty() ? Outcome::Verified : Outcome::Differs;
    return result;
}

Result run(const Steps &steps, bool verify)
{
    Result result;
    if (!steps.write())
        return result;
    if (!verify) {
        result.outcome = Outcome::Written;
        return result;
    }
    return checked(steps.readBack(), steps.compare);
}

} // namespace VerifiedWrite
