// myini.ini over any bytes: a file read and written unchanged keeps its bytes, the
// preferences read from it survive a save and a new load, and a saved file reads back as the
// same profile.
#include "FuzzSupport.h"

#include "common/IniFile.h"
#include "shell/Preferences.h"

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    fuzzsupport::quietQt();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes = fuzzsupport::bytesOf(data, size);
    IniFile ini;
    ini.parse(bytes);
    FUZZ_CHECK(ini.toBytes() == bytes);
    const Preferences read = Preferences::fromIni(ini);
    FUZZ_CHECK(read.com >= 1 && read.com <= 4);
    FUZZ_CHECK(read.commode == Preferences::SingleHead || read.commode == Preferences::DualHead);
    FUZZ_CHECK(read.skin >= 1 && read.skin <= 3);
    for (const BandList &list : read.lists) {
        FUZZ_CHECK(list.items.size() <= Preferences::MaxListItems);
        FUZZ_CHECK(list.now >= -1 && list.now < list.items.size());
    }

    read.toIni(ini);
    const QByteArray saved = ini.toBytes();
    IniFile reopened;
    reopened.parse(saved);
    FUZZ_CHECK(Preferences::fromIni(reopened) == read);
    FUZZ_CHECK(reopened.toBytes() == saved);
    return 0;
}
