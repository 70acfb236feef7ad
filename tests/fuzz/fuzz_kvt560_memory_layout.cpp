// The memory-layout decoders over any 4096 bytes of radio memory: decoding never crashes,
// and what a read makes of the memory survives being written back: encoding the decoded
// value and decoding the result gives the same channels, settings and band ranges.
// An input byte after the 4096 of memory chooses the language of the marks.
#include "FuzzSupport.h"

#include "Kvt560Memory.h"

#include <algorithm>

using namespace kvt560memory;

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    fuzzsupport::quietQt();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    QByteArray memory = fuzzsupport::bytesOf(data, std::min<size_t>(size, MemorySize));
    memory.append(QByteArray(MemorySize - memory.size(), char(0xFF)));
    const int language = size > MemorySize ? 1 + data[MemorySize] % 3 : 1;
    const Marks marks = Marks::forLanguage(language);

    const Codeplug read = decode(memory, marks);
    const quint8 firstChannel = quint8(memory.at(MemoryLayout::Settings1Address));
    const QByteArray written = encode(memory, read, marks, firstChannel);
    const Codeplug reread = decode(written, marks);
    for (int n = 1; n <= ChannelCells::Channels; ++n) {
        for (int col = ChannelCells::FirstColumn; col <= ChannelCells::LastColumn; ++col)
            if (read.channels.column(col, n) != reread.channels.column(col, n)) {
                std::fprintf(stderr, "channel %d column %d: \"%s\" written, \"%s\" read back\n", n, col,
                             qPrintable(read.channels.column(col, n)), qPrintable(reread.channels.column(col, n)));
                FUZZ_CHECK(!"a channel cell changed through write and read");
            }
        for (int a = ChannelCells::FirstAttribute; a <= ChannelCells::LastAttribute; ++a)
            if (read.channels.attribute(a, n) != reread.channels.attribute(a, n)) {
                std::fprintf(stderr, "channel %d attribute %d: \"%s\" written, \"%s\" read back\n", n, a,
                             qPrintable(read.channels.attribute(a, n)), qPrintable(reread.channels.attribute(a, n)));
                FUZZ_CHECK(!"a channel attribute changed through write and read");
            }
    }
    FUZZ_CHECK(read.settings == reread.settings);
    FUZZ_CHECK(read.bandRanges == reread.bandRanges);
    // Written once, the memory is a fixed point: writing it again changes no byte.
    FUZZ_CHECK(encode(written, reread, marks, firstChannel) == written);
    return 0;
}
