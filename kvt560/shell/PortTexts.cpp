#include "shell/PortTexts.h"

#include "shell/LanguageLibrary.h"
#include "shell/LanguageNames.h"

namespace PortTexts {

PortProblemTexts forLanguage(int lang, const QString &directory)
{
    const PortProblemTexts builtIn = lang == 2   ? PortProblemTexts::english()
                                     : lang == 3 ? PortProblemTexts::traditionalChinese()
                                                 : PortProblemTexts::simplifiedChinese();
    LanguageLibrary library;
    if (!language::isKnown(lang) || !library.load(LanguageLibrary::pathOf(directory, language::libraryName(lang))))
        return builtIn;
    PortProblemTexts t;
    const std::pair<Id, QString PortProblemTexts::*> texts[] = {
        {Missing, &PortProblemTexts::missing},       {MissingNone, &PortProblemTexts::missingNone},
        {NoPermission, &PortProblemTexts::noPermission}, {Busy, &PortProblemTexts::busy},
        {AnotherProgram, &PortProblemTexts::anotherProgram}, {Other, &PortProblemTexts::other},
        {LostRead, &PortProblemTexts::lostRead},     {LostWrite, &PortProblemTexts::lostWrite},
        {NotConnected, &PortProblemTexts::notConnected}, {NoDevice, &PortProblemTexts::noDevice}};
    for (const auto &[id, member] : texts)
        t.*member = library.text(id);
    return t.completedBy(builtIn);
}

QString withReason(const QString &notice, const QString &reason)
{
    return reason.isEmpty() ? notice : notice + QLatin1Char('\n') + reason;
}

} // namespace PortTexts
