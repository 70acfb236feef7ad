#include "ChineseFonts.h"

#include <QFontDatabase>
#include <QStringList>

namespace ChineseFonts {

bool installed(bool traditional)
{
    return !QFontDatabase::families(traditional ? QFontDatabase::TraditionalChinese
                                                : QFontDatabase::SimplifiedChinese)
                .isEmpty();
}

QString missingText()
{
    return QStringLiteral("No Chinese font is installed, so the program starts in English.\n"
                          "The package fonts-noto-cjk brings the fonts: sudo apt install fonts-noto-cjk");
}

} // namespace ChineseFonts
