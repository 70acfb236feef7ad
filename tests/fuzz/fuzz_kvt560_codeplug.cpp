// The .k56 reader over any bytes: it must never crash, and a file it accepts must come back
// unchanged through the writer (what the program saves, it opens again as it was).
#include "FuzzSupport.h"

#include "codeplug/CodeplugFile.h"

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    fuzzsupport::quietQt();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static const SettingsValues startSettings;
    static const ChannelCells noChannels;
    const CodeplugReadResult first = CodeplugFile::read(fuzzsupport::bytesOf(data, size), startSettings, noChannels);
    if (first.status != CodeplugReadResult::Read)
        return 0;
    const QByteArray written = CodeplugFile::write(first.content);
    const CodeplugReadResult again = CodeplugFile::read(written, startSettings, noChannels);
    FUZZ_CHECK(again.status == CodeplugReadResult::Read);
    FUZZ_CHECK(again.content == first.content);
    // A second write gives the same bytes: the writer depends on nothing but the content.
    FUZZ_CHECK(CodeplugFile::write(again.content) == written);
    return 0;
}
