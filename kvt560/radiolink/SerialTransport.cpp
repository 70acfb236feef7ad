#include "radiolink/SerialTransport.h"

#include "common/SerialPorts.h"
#include "radiolink/RadioFrame.h"
#include "radiolink/SysDelay.h"
#include "common/IniFile.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QFileInfo>
#include <QThread>
#include <QTimer>

SerialTransport::SerialTransport(QObject *parent)
    : QObject(parent)
{
    connect(&m_port, &QSerialPort::readyRead, this, &SerialTransport::MSComm1Comm);
    connect(&m_port, &QSerialPort::errorOccurred, this, &SerialTransport::portError);
}

SerialTransport::~SerialTransport()
{
    close();
}

void SerialTransport::setPortNumber(int number)
{
    m_portNumber = number;
}

void SerialTransport::setIniPath(const QString &path)
{
    m_iniPath = path;
    IniFile ini;
    if (!path.isEmpty())
        ini.load(path);
    m_ports = portsOf(ini);
}

QString SerialTransport::deviceName() const
{
    if (!m_deviceOverride.isEmpty())
        return m_deviceOverride;
    return portDeviceName(m_portNumber, m_ports);
}

void SerialTransport::setCableMode(CableMode mode)
{
    m_cableMode = mode;
}

QMap<int, QString> SerialTransport::portsOf(const IniFile &ini)
{
    QMap<int, QString> ports;
    for (int n = 1; n <= PortCount; ++n) {
        const QString device = ini.value(QStringLiteral("ports"), QStringLiteral("COM%1").arg(n)).value_or(QString());
        if (!device.trimmed().isEmpty())
            ports.insert(n, device.trimmed());
    }
    return ports;
}

QString SerialTransport::portDeviceName(int portNumber, const QMap<int, QString> &ports)
{
#ifdef Q_OS_WIN
    Q_UNUSED(ports);
    return QStringLiteral("COM%1").arg(portNumber);
#else
    return SerialPorts::deviceFor(portNumber, ports, SerialPorts::available());
#endif
}

QString SerialTransport::portDeviceName(int portNumber, const QString &iniPath)
{
    IniFile ini;
    if (!iniPath.isEmpty())
        ini.load(iniPath);
    return portDeviceName(portNumber, portsOf(ini));
}

// 9600 baud 8N1 without flow control. The modem lines are left as the system sets them
// when a port is opened.
void SerialTransport::applyLineSettings(QSerialPort &port)
{
    port.setBaudRate(QSerialPort::Baud9600);
    port.setDataBits(QSerialPort::Data8);
    port.setParity(QSerialPort::NoParity);
    port.setStopBits(QSerialPort::OneStop);
    port.setFlowControl(QSerialPort::NoFlowControl);
}

bool SerialTransport::probeDevice(const QString &device)
{
    // QSerialPort opens exclusively: a device another program holds fails here.
    return !PortDiagnosis::tryOpen(device).isProblem();
}

bool SerialTransport::ProbePort(int portNumber)
{
    const QString device = m_deviceOverride.isEmpty() ? portDeviceName(portNumber, m_ports) : m_deviceOverride;
    m_openProblem = PortDiagnosis::tryOpen(device);
    return !m_openProblem.isProblem();
}

bool SerialTransport::open()
{
    if (m_port.isOpen())
        return true;
    m_errorString.clear();
    m_openProblem = PortProblem();
    m_deviceLost = false;
    const QString device = deviceName();
    m_openedDevice = device;
    m_port.setPortName(device);
    applyLineSettings(m_port);
    m_port.setReadBufferSize(1024);
    if (!m_port.open(QIODevice::ReadWrite)) {
        m_errorString = QStringLiteral("%1: %2").arg(device, m_port.errorString());
        m_openProblem = PortDiagnosis::diagnose(device, m_port.error(), m_port.errorString());
        m_port.clearError();
        return false;
    }
    // Settings applied before open take effect on open; apply them again in case the
    // driver reset any of them.
    applyLineSettings(m_port);
    m_port.clearError();
    return true;
}

void SerialTransport::close()
{
    if (m_port.isOpen())
        m_port.close();
}

bool SerialTransport::isOpen() const
{
    return m_port.isOpen();
}

QByteArray SerialTransport::BuildFrame(const QString &text)
{
    m_echoLength = text.size() + 2;
    m_outgoing = RadioFrame::BuildFrame(text);
    if (m_outgoing.isEmpty())
        m_echoLength = 0;   // nothing will be sent, so no echo will come
    return m_outgoing;
}

void SerialTransport::send()
{
    if (m_port.isOpen() && !m_outgoing.isEmpty())
        m_port.write(m_outgoing);
}

// Bytes that came in while nobody waited belong to no request: collect them now, so that
// emptying the received text really discards them instead of letting them surface in the
// next reply.
// A radio that never stops sending cannot keep this loop going: it takes what is there a
// bounded number of times.
void SerialTransport::drainPending()
{
    if (!m_port.isOpen())
        return;
    for (int round = 0; round < 8; ++round) {
        const bool more = m_port.waitForReadyRead(0);
        m_port.readAll();
        if (!more)
            break;
    }
    m_port.clearError();   // the zero-time poll reports a time-out when nothing was waiting
}

void SerialTransport::sendRequest(const QString &request)
{
    drainPending();
    BuildFrame(request);
    clearRxText();
    send();
}

QString SerialTransport::exchange(const QString &request, int waitMs)
{
    sendRequest(request);
    SysDelay(waitMs);
    return m_rxText;
}

bool SerialTransport::replyComplete() const
{
    if (m_cableMode == SingleHead && m_echoLength != 0)
        return false;   // the echo is still in the text, or on its way
    if (m_rxText.size() < 4)
        return false;
    const int count = RadioFrame::hexValue(m_rxText.at(2)) * 16 + RadioFrame::hexValue(m_rxText.at(3));
    return m_rxText.size() >= 2 * (count + 3);
}

QString SerialTransport::exchangeUntilReply(const QString &request, int waitMs)
{
    sendRequest(request);
    QElapsedTimer clock;
    clock.start();
    QEventLoop loop;
    QTimer timer;
    timer.setSingleShot(true);
    timer.setTimerType(Qt::PreciseTimer);
    connect(&timer, &QTimer::timeout, &loop, &QEventLoop::quit);
    m_replyLoop = &loop;
    // The receive handler ends the loop when a whole frame is in, the timer when the window
    // is over (a timer delivered a little early is started again for the rest).
    for (qint64 left = waitMs; left > 0 && !replyComplete(); left = waitMs - clock.elapsed()) {
        timer.start(int(left));
        if (loop.exec() != 0)
            QThread::msleep(static_cast<unsigned long>(left));   // no event loop can run: as SysDelay
    }
    m_replyLoop = nullptr;
    m_port.clearError();
    return m_rxText;
}

void SerialTransport::sendAndWait(const QString &request, int waitMs)
{
    BuildFrame(request);
    send();
    SysDelay(waitMs);
}

void SerialTransport::wait(int waitMs)
{
    SysDelay(waitMs);
}

void SerialTransport::MSComm1Comm()
{
    const QByteArray bytes = m_port.readAll();
    if (!bytes.isEmpty())
        receiveBytes(bytes);
}

void SerialTransport::receiveBytes(const QByteArray &bytes)
{
    if (m_overflow)
        return;
    const int room = (MaxRxText - int(m_rxText.size())) / 2;
    if (bytes.size() > room) {
        m_rxText += RadioFrame::toHexText(bytes.left(room));
        m_overflow = true;
    } else {
        m_rxText += RadioFrame::toHexText(bytes);
    }
    // The echo of a single-head cable comes before the reply. It is removed only once the
    // text is longer than the echo: an echo still incomplete, or one with nothing after it
    // yet, stays until more arrives.
    if (m_echoLength != 0 && m_cableMode == SingleHead && m_rxText.size() > m_echoLength) {
        m_rxText.remove(0, m_echoLength);
        m_echoLength = 0;
    }
    if (m_replyLoop && replyComplete())
        m_replyLoop->quit();
}

void SerialTransport::portError(QSerialPort::SerialPortError error)
{
    // A device that went away (cable pulled) keeps signalling; close it so that the
    // transfer's remaining waits see no reply and end with the link notice.
    if (error == QSerialPort::ResourceError && m_port.isOpen()) {
        m_deviceLost = true;
        m_port.close();
    }
}
