// Program's radio transfer against a KVT270 radio in the process whose replies the input
// steers. The first input byte chooses a read (even) or a write (odd); every further byte
// decides one reply of the radio: the right one, silence, bytes of the input, the right
// one cut short, or the right one with a byte changed. When the input is used up the radio
// answers rightly.
//
// Whatever the replies, the transfer ends; one that fails gives back the image it was given
// untouched, and one that succeeds carries what the radio holds: a read gives the memory as
// the radio told it, a write leaves its image in the radio's memory.
#include "FuzzSupport.h"

#include "base/Globals.h"
#include "model/RadioImage.h"
#include "radiolink/RadioTransfer.h"
#include "radiolink/TransferPort.h"

#include <cstring>

namespace {

constexpr int MemorySize = int(RadioImageSize);
constexpr int BlockSize = RadioTransfer::BlockSize;
constexpr char Ack = 0x06;
const QByteArray Greeting = QByteArrayLiteral("\x02PROGRA");
const QByteArray Identify = QByteArrayLiteral("\x4d\x02");
const QByteArray Identity = QByteArrayLiteral("KVT270\x00\x01");

class ScriptedRadio : public TransferPort
{
public:
    ScriptedRadio(const QByteArray &memory, const uint8_t *script, size_t size)
        : memory(memory), m_script(script), m_size(size)
    {
    }

    QByteArray memory;   // the radio's memory as it has told it and been written

    void pause() override {}
    void purge() override { m_inbox.clear(); }
    void send(const QByteArray &bytes) override
    {
        m_pending += bytes;
        while (!m_pending.isEmpty() && handle()) {
        }
    }
    QByteArray receive(int n) override
    {
        const QByteArray got = m_inbox.left(n);
        m_inbox.remove(0, got.size());
        return got;
    }

private:
    int next() { return m_at < m_size ? m_script[m_at++] : 0; }

    // Takes one whole message off the bytes received and answers it; false while the
    // message is not complete yet.
    bool handle()
    {
        const char head = m_pending.at(0);
        if (head == Greeting.at(0) && Greeting.startsWith(m_pending.left(Greeting.size()))) {
            if (m_pending.size() < Greeting.size())
                return false;
            m_pending.remove(0, Greeting.size());
            answer(QByteArray(1, Ack), {});
            return true;
        }
        if (head == Identify.at(0)) {
            if (m_pending.size() < Identify.size())
                return false;
            m_pending.remove(0, Identify.size());
            answer(Identity, {});
            return true;
        }
        if (head == Ack) {
            m_pending.remove(0, 1);
            answer(QByteArray(1, Ack), {});
            return true;
        }
        if (head == 'R' || head == 'W') {
            const int size = head == 'R' ? 4 : 4 + BlockSize;
            if (m_pending.size() < size)
                return false;
            const QByteArray message = m_pending.left(size);
            m_pending.remove(0, size);
            const int address = (quint8(message.at(1)) << 8) | quint8(message.at(2));
            if (quint8(message.at(3)) != BlockSize || address + BlockSize > MemorySize)
                return true;
            if (head == 'R') {
                QByteArray reply = message;
                reply[0] = 'W';
                answer(reply + memory.mid(address, BlockSize), message);
            } else {
                // The radio stores what it was sent, whether or not its answer arrives.
                memory.replace(address, BlockSize, message.mid(4));
                answer(QByteArray(1, Ack), {});
            }
            return true;
        }
        m_pending.remove(0, 1);
        return true;
    }

    void answer(QByteArray reply, const QByteArray &readRequest)
    {
        switch (next() % 8) {
        case 4: reply.clear(); break;
        case 5: {
            const int n = next() % 16;
            reply.clear();
            for (int i = 0; i < n && m_at < m_size; ++i)
                reply.append(char(next()));
            break;
        }
        case 6: reply.truncate(next() % reply.size()); break;
        case 7: reply[next() % reply.size()] ^= char(next()); break;
        default: break;
        }
        // A reply of the block asked for tells the radio's memory there.
        if (!readRequest.isEmpty() && reply.size() >= 4 + BlockSize && reply.at(0) == 'W'
            && reply.mid(1, 3) == readRequest.mid(1, 3)) {
            const int address = (quint8(readRequest.at(1)) << 8) | quint8(readRequest.at(2));
            memory.replace(address, BlockSize, reply.mid(4, BlockSize));
        }
        m_inbox += reply;
    }

    const uint8_t *m_script;
    size_t m_size;
    size_t m_at = 0;
    QByteArray m_pending;
    QByteArray m_inbox;
};

// Every byte of `memory` at the addresses the transfer carries equals the one of `image`.
bool sameAtTransferredBlocks(const QByteArray &memory, const QByteArray &image, bool read)
{
    for (int a : RadioTransfer::blockAddresses(read))
        if (memory.mid(a, BlockSize) != image.mid(a, BlockSize))
            return false;
    return true;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    fuzzsupport::quietQt();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const bool read = size == 0 || data[0] % 2 == 0;
    // A radio memory and an image that differ in every byte, so that a block taken from the
    // wrong place shows.
    QByteArray memory(MemorySize, Qt::Uninitialized), image(MemorySize, Qt::Uninitialized);
    for (int i = 0; i < MemorySize; ++i) {
        memory[i] = char(i * 7 + i / 256);
        image[i] = char(~(i * 7 + i / 256));
    }

    ScriptedRadio radio(memory, size > 0 ? data + 1 : data, size > 0 ? size - 1 : 0);
    RadioTransfer transfer(read, QStringLiteral("COM1"), image, QString());
    int last = 0;
    const int upper = RadioTransfer::blockCount(read);
    QObject::connect(&transfer, &RadioTransfer::progress, [&last, upper](int position, int of) {
        FUZZ_CHECK(of == upper && position == last + 1);
        last = position;
    });
    const RadioTransfer::Result result = transfer.runOn(radio);
    FUZZ_CHECK(TransferBusy == 0);
    if (result != RadioTransfer::Success) {
        // A transfer that failed gives back the image it was given: nothing of a read
        // cut short lands in it.
        FUZZ_CHECK(transfer.image() == image);
        FUZZ_CHECK(result == RadioTransfer::CommunicationError);
        FUZZ_CHECK(!transfer.detail().isEmpty());
        return 0;
    }
    FUZZ_CHECK(last == upper);
    if (read)
        FUZZ_CHECK(sameAtTransferredBlocks(transfer.image(), radio.memory, true));
    else
        FUZZ_CHECK(sameAtTransferredBlocks(radio.memory, image, false));
    return 0;
}
