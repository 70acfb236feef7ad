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

QStringList language::helpFiles(int lang)
{
    switch (lang) {
    case 1: return {QStringLiteral("help/KVT560.html")};
    case 2: return {QStringLiteral("help/KVT560_e.html")};
    case 3: return {QStringLiteral("help/KVT560_t.html"), QStringLiteral("help/KVT560.html")};
    default: return {};
    }
}
