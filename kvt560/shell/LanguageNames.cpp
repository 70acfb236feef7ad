#include "shell/LanguageNames.h"

QString language::libraryName(int lang)
{
    switch (lang) {
    case 1: return QStringLiteral("chinese");
    case 2: return QStringLiteral("english");
    case 3: return QStringLiteral("taiwan");
    default: return {};
    }
}

QString language::helpFileName(int lang)
{
    switch (lang) {
    case 1: return QStringLiteral("KVT560.chm");
    case 2: return QStringLiteral("KVT560_e.chm");
    case 3: return QStringLiteral("KVT560_t.chm");
    default: return {};
    }
}
