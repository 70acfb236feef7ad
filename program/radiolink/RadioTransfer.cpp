#include "RadioTransfer.h"

#include "PortDevice.h"
#include "TransferPort.h"
#include "base/Globals.h"
#include "model/RadioImage.h"

#include <QElapsedTimer>
#include <QSerialPort>
#include <QThread>

#include <algorithm>
#include <cstring>

#ifdef Q_OS_UNIX
#include <poll.h>
#include <termios.h>
#endif

std::atomic<int> TransferBusy{0};

namespace {

// The greeting that puts the radio into programming mode: 0x02 "PROGRA".
const QByteArray Greeting = QByteArray::fromHex("0250524f475241");
const QByteArray IdentifyRequest = QByteArray::fromHex("4d02");
constexpr char Ack = 0x06;
constexpr int GreetingAttempts = 4;
constexpr int IdentifyReplySize = 8;
constexpr int BlockReplySize = 12;     // 4 header bytes, then the 8 data bytes

// Time-outs: a read gives up ReadConstantMs + ReadPerByteMs per byte after it began, or
// ReadIntervalMs after the last byte that came in; a write after WriteConstantMs +
// WritePerByteMs per byte.
constexpr int ReadIntervalMs = 30;
constexpr int ReadConstantMs = 100;
constexpr int ReadPerByteMs = 50;
constexpr int WriteConstantMs = 50;
constexpr int WritePerByteMs = 50;

// The radio acknowledges with a byte whose low four bits are 6 (0x06, and the 0x16 some
// radios send).
bool acknowledged(const QByteArray &reply)
{
    return !reply.isEmpty() && (static_cast<quint8>(reply.at(0)) & 0x0F) == 0x06;
}

// The first four bytes of the radio's reply to a read request: "W", the address, the length.
QByteArray replyHead(QByteArray request)
{
    request[0] = 'W';
    return request;
}

QString hexBytes(const QByteArray &bytes)
{
    return bytes.isEmpty() ? QStringLiteral("nothing") : QString::fromLatin1(bytes.toHex(' ').toUpper());
}

} // namespace

// The serial port with the blocking calls the transfer is written in: synchronous reads
// and writes with time-outs, purge and the 1 ms pause.
class SerialTransferPort final : public TransferPort
{
public:
    bool open(const QString &device)
    {
        // A device that goes away (a cable pulled out) fails every later read and write at
        // once; the transfer then ends with the communication error.
        QObject::connect(&m_port, &QSerialPort::errorOccurred, &m_port, [this](QSerialPort::SerialPortError e) {
            if (e == QSerialPort::ResourceError)
                m_lost = true;
        });
        m_port.setPortName(device);
        if (!m_port.open(QIODevice::ReadWrite))
            return false;
        // Our own buffer: the replies are at most 12 bytes and every request purges first.
        m_port.setReadBufferSize(1024);
        // 9600 baud, 8 data bits, no parity, one stop bit, no flow control: the exchange
        // paces itself with acknowledgements.
        return m_port.setBaudRate(QSerialPort::Baud9600) && m_port.setDataBits(QSerialPort::Data8)
            && m_port.setParity(QSerialPort::NoParity) && m_port.setStopBits(QSerialPort::OneStop)
            && m_port.setFlowControl(QSerialPort::NoFlowControl);
    }
    QString errorString() const { return m_port.errorString(); }
    QSerialPort::SerialPortError error() const { return m_port.error(); }
    bool lost() const { return m_lost; }
    void close()
    {
        if (m_port.isOpen())
            m_port.close();
    }

    void pause() override { QThread::msleep(1); }
    // Discards whatever has been received and not yet read. Bytes already written are let go
    // out first instead of being discarded: a write returns once the bytes are with the
    // driver, not once they are on the line, and discarding the transmit side then cuts off
    // the end of the request just sent (a greeting byte, say) rather than anything stale.
    void purge() override
    {
        drain();
        m_port.clear(QSerialPort::Input);
    }

    void send(const QByteArray &bytes) override
    {
        if (m_port.write(bytes) < 0)
            return;
        QElapsedTimer t;
        t.start();
        const qint64 limit = WriteConstantMs + WritePerByteMs * bytes.size();
        while (m_port.bytesToWrite() > 0) {
            const qint64 left = limit - t.elapsed();
            if (left <= 0 || !m_port.waitForBytesWritten(int(left)))
                break;
        }
    }

    // Waits until the bytes written have left the driver's transmit queue.
    void drain()
    {
        if (!m_port.isOpen())
            return;
        while (m_port.bytesToWrite() > 0 && m_port.waitForBytesWritten(WriteConstantMs)) {
        }
#ifdef Q_OS_UNIX
        ::tcdrain(int(m_port.handle()));
#endif
    }

    // Up to n bytes: fewer when the total time-out runs out, when the line goes quiet for
    // the interval time-out after a byte, or when the port fails.
    QByteArray receive(int n) override
    {
        QByteArray got;
        QElapsedTimer t;
        t.start();
        const qint64 total = ReadConstantMs + ReadPerByteMs * qint64(n);
        while (got.size() < n && !m_lost) {
            if (m_port.bytesAvailable() > 0) {
                got += m_port.read(n - got.size());
                continue;
            }
            const qint64 left = total - t.elapsed();
            if (left <= 0 || hungUp())
                break;
            const qint64 wait = got.isEmpty() ? left : std::min<qint64>(left, ReadIntervalMs);
            if (!m_port.waitForReadyRead(int(wait)) && m_port.bytesAvailable() == 0)
                break;
        }
        if (got.size() < n)
            hungUp();   // tells a line that is gone from a radio that is silent
        return got;
    }

private:
    // The line is gone: the system hung the device up (cable pulled out, the other end of a
    // pseudo-terminal closed). The blocking calls do not report it; they wait their time out.
    bool hungUp()
    {
#ifdef Q_OS_UNIX
        if (!m_lost && m_port.isOpen()) {
            pollfd p{int(m_port.handle()), POLLIN, 0};
            if (::poll(&p, 1, 0) > 0 && (p.revents & (POLLHUP | POLLERR | POLLNVAL)))
                m_lost = true;
        }
#endif
        return m_lost;
    }

    QSerialPort m_port;
    bool m_lost = false;
};

QList<int> RadioTransfer::blockAddresses(bool read)
{
    QList<int> addresses;
    addresses.reserve(blockCount(read));
    for (int a = 0x0000; a <= 0x1D48; a += BlockSize)
        addresses.append(a);
    const int lastOfSecondRun = read ? 0x1FF8 : 0x1FE8;
    for (int a = 0x1FD0; a <= lastOfSecondRun; a += BlockSize)
        addresses.append(a);
    return addresses;
}

QString RadioTransfer::percentText(int position, int upper)
{
    return QStringLiteral("%1%").arg(upper > 0 ? position * 100 / upper : 0);
}

QString RadioTransfer::failureText(Result result, int languageIndex)
{
    switch (result) {
    case PortOpenFailed:
        return languageText(languageIndex, "Could not open the port", "无法打开串口", "無法打開串口");
    case CommunicationError:
    case Busy:
    case Stopped:
        return languageText(languageIndex, "Communication error", "通信出錯", "通信出錯");
    case Success:
        break;
    }
    return QString();
}

QString RadioTransfer::title(bool read, int languageIndex)
{
    return read ? languageText(languageIndex, "Read Data", "读数据", "讀數據")
                : languageText(languageIndex, "Write Data", "写数据", "寫數據");
}

RadioTransfer::RadioTransfer(bool read, const QString &portName, const QByteArray &image,
                             const QString &appDirectory, QObject *parent)
    : QObject(parent), m_read(read), m_portName(portName),
      m_appDirectory(appDirectory), m_image(image)
{
    m_image.resize(int(RadioImageSize), char(0xFF));
    qRegisterMetaType<RadioTransfer::Result>();
}

RadioTransfer::~RadioTransfer()
{
    requestStop();
    wait();
    delete m_thread;
}

// Takes the one transfer the process may run at a time (an atomic test-and-set, so that two
// quick presses of Start cannot both begin one); a transfer object runs once.
bool RadioTransfer::claim()
{
    if (m_started)
        return false;
    int idle = 0;
    if (!TransferBusy.compare_exchange_strong(idle, 1)) {
        m_detail = QStringLiteral("another transfer is running");
        return false;
    }
    m_started = true;
    return true;
}

RadioTransfer::Result RadioTransfer::runHere()
{
    if (!claim())
        return Busy;
    TransferThread();
    return m_result;
}

bool RadioTransfer::start()
{
    if (!claim())
        return false;
    m_thread = QThread::create([this] { TransferThread(); });
    m_thread->setObjectName(QStringLiteral("TransferThread"));
    m_thread->start(QThread::NormalPriority);
    return true;
}

void RadioTransfer::wait()
{
    if (m_thread)
        m_thread->wait();
}

RadioTransfer::Result RadioTransfer::fail(Result result, const QString &detail)
{
    m_detail = detail;
    return result;
}

RadioTransfer::Result RadioTransfer::runOn(TransferPort &port)
{
    if (!claim())
        return Busy;
    emit portOpened();
    m_result = transfer(port);
    TransferBusy = 0;
    emit finished(m_result, m_image);
    return m_result;
}

int RadioTransfer::TransferThread()
{
    SerialTransferPort port;
    const QString device = portDevice(m_portName, m_appDirectory);
    m_device = device;
    if (device.isEmpty()) {
        m_result = fail(PortOpenFailed, m_portName.isEmpty() ? QStringLiteral("no port is chosen")
                                                             : QStringLiteral("%1 names no serial port").arg(m_portName));
    } else if (!port.open(device)) {
        m_portProblem = PortDiagnosis::diagnose(device, port.error(), port.errorString());
        m_result = fail(PortOpenFailed, QStringLiteral("%1 (%2): %3").arg(m_portName, device, port.errorString()));
    } else {
        emit portOpened();
        m_result = transfer(port);
        m_deviceLost = m_result != Success && port.lost();
    }
    port.close();
    TransferBusy = 0;
    emit finished(m_result, m_image);
    return m_result == Success ? 1 : 0;
}

RadioTransfer::Result RadioTransfer::transfer(TransferPort &port)
{
    // Handshake: the greeting one byte at a time, then one byte of answer; four attempts.
    bool greeted = false;
    QByteArray answer;
    for (int attempt = 0; attempt < GreetingAttempts && !greeted; ++attempt) {
        if (m_stopRequested)
            return fail(Stopped, QStringLiteral("stopped during the greeting"));
        for (char b : Greeting) {
            port.pause();
            port.purge();
            port.send(QByteArray(1, b));
        }
        answer = port.receive(1);
        greeted = acknowledged(answer);
    }
    if (!greeted)
        return fail(CommunicationError, QStringLiteral("the radio did not answer the greeting (last answer: %1)")
                                            .arg(hexBytes(answer)));

    // Identification: the radio's 8-byte answer is taken as it comes, whatever it holds.
    port.pause();
    port.purge();
    port.send(IdentifyRequest);
    port.receive(IdentifyReplySize);

    port.purge();
    port.send(QByteArray(1, Ack));
    answer = port.receive(1);
    if (!acknowledged(answer))
        return fail(CommunicationError, QStringLiteral("the radio did not confirm the identification (answer: %1)")
                                            .arg(hexBytes(answer)));

    // A read fills a scratch copy, which becomes the transfer's image only when every block
    // has arrived.
    QByteArray image = m_image;
    const QList<int> plan = blockAddresses(m_read);
    const int upper = int(plan.size());
    int position = 0;
    for (const int a : plan) {
        if (m_stopRequested)
            return fail(Stopped, QStringLiteral("stopped after %1 of %2 blocks").arg(position).arg(upper));
        QByteArray request;
        request.append(m_read ? 'R' : 'W');
        request.append(char(a / 256));
        request.append(char(a % 256));
        request.append(char(BlockSize));
        const QString where = QStringLiteral("block %1 of %2 at 0x%3")
                                  .arg(position + 1)
                                  .arg(upper)
                                  .arg(QStringLiteral("%1").arg(a, 4, 16, QLatin1Char('0')).toUpper());
        if (m_read) {
            port.pause();
            port.purge();
            port.send(request);
            const QByteArray reply = port.receive(BlockReplySize);
            // A reply cut short would leave part of the block undefined: the read fails.
            if (reply.size() < BlockReplySize)
                return fail(CommunicationError, QStringLiteral("%1: the radio sent %2 of %3 bytes")
                                                    .arg(where).arg(reply.size()).arg(BlockReplySize));
            // The reply repeats the request with "W" in place of "R"; any other head is not
            // this block's reply (noise, or another block's), and its bytes must not land here.
            if (reply.left(4) != replyHead(request))
                return fail(CommunicationError, QStringLiteral("%1: the reply is not for this block (%2)")
                                                    .arg(where, hexBytes(reply)));
            std::memcpy(image.data() + a, reply.constData() + 4, BlockSize);
            port.purge();
            port.send(QByteArray(1, Ack));
        } else {
            port.pause();
            port.purge();
            port.send(request);
            port.send(image.mid(a, BlockSize));
        }
        answer = port.receive(1);
        if (!acknowledged(answer))
            return fail(CommunicationError, QStringLiteral("%1: not acknowledged (answer: %2)").arg(where, hexBytes(answer)));
        m_blocksDone = ++position;
        emit progress(position, upper);
    }

    if (m_read)
        m_image = image;
    return Success;
}
