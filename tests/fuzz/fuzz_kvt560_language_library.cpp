// KVT560's language libraries over any bytes: a load either succeeds with texts that fit
// their limit or fails keeping what the library held before.
#include "FuzzSupport.h"

#include "shell/LanguageLibrary.h"

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    fuzzsupport::quietQt();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString path = fuzzsupport::scratchFile(QStringLiteral("english.dll"), fuzzsupport::bytesOf(data, size));
    static LanguageLibrary held;
    static bool heldLoaded = held.load(QStringLiteral(SOURCE_DIR "/resources/english.dll"));
    FUZZ_CHECK(heldLoaded);

    LanguageLibrary library = held;
    if (!library.load(path)) {
        FUZZ_CHECK(!library.errorString().isEmpty());
        FUZZ_CHECK(library.texts() == held.texts());
        return 0;
    }
    for (auto it = library.texts().cbegin(); it != library.texts().cend(); ++it) {
        FUZZ_CHECK(it.key() >= 0 && it.key() <= 99999);
        FUZZ_CHECK(it.value().toUtf8().size() <= LanguageLibrary::MaxTextBytes);
    }
    for (int id : LanguageLibrary::appliedIds())
        (void)library.text(id);
    return 0;
}
