#include "shell/PortTexts.h"

#include "shell/LanguageLibrary.h"
#include "shell/LanguageNames.h"

namespace PortTexts {

PortProblemTexts forLanguage(int lang, const QString &directory)
{
    LanguageLibrary library;
    if (!language::isKnown(lang) || !library.load(LanguageLibrary::pathOf(directory, language::libraryName(lang))))
        return PortProblemTexts::english();
    return PortProblemTexts::fromLibrary([&library](int id) { return library.text(id); }, FirstId);
}

QString withReason(const QString &notice, const QString &reason)
{
    return reason.isEmpty() ? notice : notice + QLatin1Char('\n') + reason;
}

} // namespace PortTexts
