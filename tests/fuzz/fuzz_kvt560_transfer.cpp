// KVT560's radio transfer against a radio in the process whose replies the input steers.
// The first input byte chooses a read (even) or a write (odd); every further byte decides
// one reply: the right one, busy, silence, bytes of the input, the right one with a byte
// changed, with a byte changed and its check byte made right, or the reply for another
// block. When the input is used up the radio answers rightly.
//
// Whatever the replies, the transfer ends, a failed read leaves the codeplug as it was, and
// a transfer that succeeds carries what the radio actually holds: a read gives the
// codeplug of the memory as the radio told it, a write leaves the codeplug's encoding in
// the radio's memory.
#include "FuzzSupport.h"
#include "Kvt560Memory.h"

#include "radiolink/RadioFrame.h"
#include "radiolink/RadioLink.h"
#include "radiolink/RadioTransfer.h"

#include <QFile>

using namespace kvt560memory;

namespace {

QByteArray demoMemory()
{
    QFile f(QStringLiteral(SOURCE_DIR "/tools/radiosim/samples/kvt560-demo.bin"));
    FUZZ_CHECK(f.open(QIODevice::ReadOnly));
    const QByteArray m = f.readAll();
    FUZZ_CHECK(m.size() == MemorySize);
    return m;
}

QByteArray frame(quint8 command, const QByteArray &payload)
{
    QByteArray f;
    f.append(char(command));
    f.append(char(payload.size()));
    f.append(payload);
    f.append(char(RadioFrame::CheckByte(f)));
    return f;
}

class ScriptedRadio : public RadioLink
{
public:
    ScriptedRadio(const QByteArray &memory, const uint8_t *script, size_t size)
        : memory(memory), m_script(script), m_size(size)
    {
    }

    QByteArray memory;       // the radio's memory as it has told it and been written
    int exchanges = 0;

    bool open() override { return m_open = true; }
    void close() override { m_open = false; }
    bool isOpen() const override { return m_open; }
    void wait(int) override {}
    void sendAndWait(const QString &, int) override { FUZZ_CHECK(m_open); }

    QString exchange(const QString &request, int) override
    {
        FUZZ_CHECK(m_open);
        ++exchanges;
        const QByteArray asked = QByteArray::fromHex(request.toLatin1());
        QByteArray reply = rightReply(asked);
        switch (next() % 11) {
        case 5: reply = frame(0x09, {}); break;
        case 6: reply.clear(); break;
        case 7: {
            const int n = next();
            reply.clear();
            for (int i = 0; i < n && m_at < m_size; ++i)
                reply.append(char(next()));
            break;
        }
        case 8:
            if (!reply.isEmpty())
                reply[next() % reply.size()] ^= char(next());
            break;
        case 9:
            // A byte changed and the check byte made right again: another command, length,
            // address or data in a frame that is well formed.
            if (reply.size() > 1) {
                reply[next() % (reply.size() - 1)] ^= char(next());
                reply.back() = char(RadioFrame::CheckByte(reply.left(reply.size() - 1)));
            }
            break;
        case 10:
            // The reply for another block, well formed.
            if (asked.size() == 5 && quint8(asked.at(0)) == 0x52) {
                QByteArray other = asked;
                const int address = (addressOf(asked) ^ (16 * (1 + next()))) % MemorySize;
                other[2] = char(address >> 8);
                other[3] = char(address & 0xFF);
                reply = rightReply(other);
            }
            break;
        default: break;
        }
        noteToldData(asked, reply);
        return RadioFrame::toHexText(reply);
    }

private:
    int next() { return m_at < m_size ? m_script[m_at++] : 0; }

    static int addressOf(const QByteArray &asked)
    {
        return (quint8(asked.at(2)) << 8) | quint8(asked.at(3));
    }

    QByteArray rightReply(const QByteArray &asked)
    {
        if (asked.size() < 2)
            return {};
        const quint8 command = quint8(asked.at(0));
        if (command == 0x02)
            return QByteArray::fromHex(RadioTransfer::greetingReply().toLatin1());
        if (command == 0x06)
            return frame(0x06, {});
        if (command == 0x52 && asked.size() == 5) {
            const int address = addressOf(asked), length = quint8(asked.at(4));
            if (address + length > MemorySize)
                return {};
            return frame(0x57, asked.mid(2, 2) + memory.mid(address, length));
        }
        if (command == 0x57 && asked.size() >= 4) {
            const int address = addressOf(asked);
            const QByteArray data = asked.mid(4);
            if (quint8(asked.at(1)) != data.size() + 2 || address + data.size() > MemorySize)
                return {};
            // The radio stores what it was sent, whether or not its answer arrives.
            put(memory, address, data);
            return frame(0x06, {});
        }
        return {};
    }

    // A well-formed data reply for the block asked for tells the radio's memory there,
    // whatever the script made of it.
    void noteToldData(const QByteArray &asked, const QByteArray &reply)
    {
        if (asked.size() != 5 || quint8(asked.at(0)) != 0x52)
            return;
        const int address = addressOf(asked), length = quint8(asked.at(4));
        if (address + length > MemorySize || reply.size() != length + 5 || quint8(reply.at(0)) != 0x57
            || quint8(reply.at(1)) != length + 2 || reply.mid(2, 2) != asked.mid(2, 2)
            || RadioFrame::CheckByte(reply.left(reply.size() - 1)) != quint8(reply.back()))
            return;
        put(memory, address, reply.mid(4, length));
    }

    bool m_open = false;
    const uint8_t *m_script;
    size_t m_size;
    size_t m_at = 0;
};

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    fuzzsupport::quietQt();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static const QByteArray start = demoMemory();
    static const Marks marks = Marks::forLanguage(1);
    static const Codeplug editor = decode(start, marks);
    const bool read = size == 0 || data[0] % 2 == 0;

    ScriptedRadio radio(start, size > 0 ? data + 1 : data, size > 0 ? size - 1 : 0);
    RadioTransfer transfer(radio, LinkTiming{0, 0, 0, 0});
    transfer.setMarks(marks);
    int last = 0;
    const int maximum = read ? RadioTransfer::ReadMaximum : RadioTransfer::WriteMaximum;
    QObject::connect(&transfer, &RadioTransfer::progress, [&last, maximum](int value) {
        FUZZ_CHECK(value >= 0 && value <= maximum);
        FUZZ_CHECK(value == 0 || value >= last);
        last = value;
    });

    Codeplug codeplug = editor;
    if (read) {
        const RadioTransfer::Outcome outcome = transfer.read(codeplug);
        if (outcome != RadioTransfer::Outcome::Success) {
            FUZZ_CHECK(outcome == RadioTransfer::Outcome::LinkError);
            FUZZ_CHECK(codeplug == editor);
            return 0;
        }
        FUZZ_CHECK(last == maximum);
        FUZZ_CHECK(codeplug == decode(radio.memory, marks, editor));
    } else {
        const quint8 firstChannel = 0x01;
        const RadioTransfer::Outcome outcome = transfer.write(codeplug, firstChannel);
        FUZZ_CHECK(codeplug == editor);
        if (outcome != RadioTransfer::Outcome::Success) {
            FUZZ_CHECK(outcome == RadioTransfer::Outcome::LinkError);
            return 0;
        }
        FUZZ_CHECK(last == maximum);
        // Every block the write sends holds the codeplug's encoding.
        FUZZ_CHECK(radio.memory == encode(radio.memory, editor, marks, firstChannel));
    }
    return 0;
}
