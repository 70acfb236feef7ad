#include "Globals.h"

std::uint8_t LanguageIndex = LanguageEnglish;
QString PortName = QStringLiteral("COM1");
QString AppDirectory;

QString languageText(int languageIndex, const char *english, const char *simplified,
                     const char *traditional)
{
    switch (languageIndex) {
    case LanguageSimplifiedChinese:
        return QString::fromUtf8(simplified);
    case LanguageTraditionalChinese:
        return QString::fromUtf8(traditional);
    default:
        return QString::fromUtf8(english);
    }
}
