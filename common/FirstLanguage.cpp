#include "FirstLanguage.h"

namespace FirstLanguage {

Language forLocale(const QLocale &locale)
{
    if (locale.language() != QLocale::Chinese)
        return English;
    switch (locale.territory()) {
    case QLocale::China:
    case QLocale::Singapore:
        return SimplifiedChinese;
    case QLocale::Taiwan:
    case QLocale::HongKong:
        return TraditionalChinese;
    default:
        return English;
    }
}

} // namespace FirstLanguage
