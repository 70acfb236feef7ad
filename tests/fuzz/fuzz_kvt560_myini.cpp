// myini.ini over any text: the preferences read from it survive a save and a new load, and
// a saved file reads back as the same profile.
#include "FuzzSupport.h"

#include "settings/IniFile.h"
#include "shell/Preferences.h"

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    fuzzsupport::quietQt();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    IniFile ini;
    ini.parse(QString::fromUtf8(fuzzsupport::bytesOf(data, size)));
    const Preferences read = Preferences::fromIni(ini);
    FUZZ_CHECK(read.com >= 1 && read.com <= 4);
    FUZZ_CHECK(read.commode == Preferences::SingleHead || read.commode == Preferences::DualHead);
    FUZZ_CHECK(read.skin >= 1 && read.skin <= 3);
    for (const BandList &list : read.lists) {
        FUZZ_CHECK(list.items.size() <= Preferences::MaxListItems);
        FUZZ_CHECK(list.now >= -1 && list.now < list.items.size());
    }

    read.toIni(ini);
    const QString saved = ini.toText();
    IniFile reopened;
    reopened.parse(saved);
    FUZZ_CHECK(Preferences::fromIni(reopened) == read);
    FUZZ_CHECK(reopened.toText() == saved);
    return 0;
}
