#include "radiolink/SerialTransport.h"

#include "common/SerialPorts.h"
#include "radiolink/RadioFrame.h"
#include "radiolink/SysDelay.h"
#include "settings/IniFile.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QFileInfo>
#include <QSettings>
#include <QThread>
#include <QTimer>

SerialTransport::SerialTransport(QObject *parent)
    : QObject(parent)
{
    connect(&port_, &QSerialPort::readyRead, this, &SerialTransport::MSComm1Comm);
    connect(&port_, &QSerialPort::errorOccurred, this, &SerialTransport::portError);
}

SerialTransport::~SerialTransport()
{
    close();
}

void SerialTransport::setPortNumber(int number)
{
    portNumber_ = number;
}

void SerialTransport::setIniPath(const QString &path)
{
    iniPath_ = path;
    IniFile ini;
    if (!path.isEmpty())
        ini.load(path);
    ports_ = portsOf(ini);
}

QString SerialTransport::deviceName() const
{
    if (!deviceOverride_.isEmpty())
        return deviceOverride_;
    return portDeviceName(portNumber_, ports_);
}

void SerialTransport::setCableMode(CableMode mode)
{
    cableMode_ = mode;
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
    const QString device = deviceOverride_.isEmpty() ? portDeviceName(portNumber, ports_) : deviceOverride_;
    openProblem_ = PortDiagnosis::tryOpen(device);
    return !openProblem_.isProblem();
}

bool SerialTransport::open()
{
    if (port_.isOpen())
        return true;
    errorString_.clear();
    openProblem_ = PortProblem();
    deviceLost_ = false;
    const QString device = deviceName();
    openedDevice_ = device;
    port_.setPortName(device);
    applyLineSettings(port_);
    port_.setReadBufferSize(1024);
    if (!port_.open(QIODevice::ReadWrite)) {
        errorString_ = QStringLiteral("%1: %2").arg(device, port_.errorString());
        openProblem_ = PortDiagnosis::diagnose(device, port_.error(), port_.errorString());
        port_.clearError();
        return false;
    }
    // Settings applied before open take effect on open; apply them again in case the
    // driver reset any of them.
    applyLineSettings(port_);
    port_.clearError();
    return true;
}

void SerialTransport::close()
{
    if (port_.isOpen())
        port_.close();
}

bool SerialTransport::isOpen() const
{
    return port_.isOpen();
}

QByteArray SerialTransport::BuildFrame(const QString &text)
{
    echoLength_ = text.size() + 2;
    outgoing_ = RadioFrame::BuildFrame(text);
    if (outgoing_.isEmpty())
        echoLength_ = 0;   // nothing will be sent, so no echo will come
    return outgoing_;
}

void SerialTransport::send()
{
    if (port_.isOpen() && !outgoing_.isEmpty())
        port_.write(outgoing_);
}

// Bytes that came in while nobody waited belong to no request: collect them now, so that
// emptying the received text really discards them instead of letting them surface in the
// next reply.
// A radio that never stops sending cannot keep this loop going: it takes what is there a
// bounded number of times.
void SerialTransport::drainPending()
{
    if (!port_.isOpen())
        return;
    for (int round = 0; round < 8; ++round) {
        const bool more = port_.waitForReadyRead(0);
        port_.readAll();
        if (!more)
            break;
    }
    port_.clearError();   // the zero-time poll reports a time-out when nothing was waiting
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
    return rxText_;
}

bool SerialTransport::replyComplete() const
{
    if (cableMode_ == SingleHead && echoLength_ != 0)
        return false;   // the echo is still in the text, or on its way
    if (rxText_.size() < 4)
        return false;
    const int count = RadioFrame::hexValue(rxText_.at(2)) * 16 + RadioFrame::hexValue(rxText_.at(3));
    return rxText_.size() >= 2 * (count + 3);
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
    replyLoop_ = &loop;
    // The receive handler ends the loop when a whole frame is in, the timer when the window
    // is over (a timer delivered a little early is started again for the rest).
    for (qint64 left = waitMs; left > 0 && !replyComplete(); left = waitMs - clock.elapsed()) {
        timer.start(int(left));
        if (loop.exec() != 0)
            QThread::msleep(static_cast<unsigned long>(left));   // no event loop can run: as SysDelay
    }
    replyLoop_ = nullptr;
    port_.clearError();
    return rxText_;
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
    const QByteArray bytes = port_.readAll();
    if (!bytes.isEmpty())
        receiveBytes(bytes);
}

void SerialTransport::receiveBytes(const QByteArray &bytes)
{
    if (overflow_)
        return;
    const int room = (MaxRxText - int(rxText_.size())) / 2;
    if (bytes.size() > room) {
        rxText_ += RadioFrame::toHexText(bytes.left(room));
        overflow_ = true;
    } else {
        rxText_ += RadioFrame::toHexText(bytes);
    }
    // The echo of a single-head cable comes before the reply. It is removed only once the
    // text is longer than the echo: an echo still incomplete, or one with nothing after it
    // yet, stays until more arrives.
    if (echoLength_ != 0 && cableMode_ == SingleHead && rxText_.size() > echoLength_) {
        rxText_.remove(0, echoLength_);
        echoLength_ = 0;
    }
    if (replyLoop_ && replyComplete())
        replyLoop_->quit();
}

void SerialTransport::portError(QSerialPort::SerialPortError error)
{
    // A device that went away (cable pulled) keeps signalling; close it so that the
    // transfer's remaining waits see no reply and end with the link notice.
    if (error == QSerialPort::ResourceError && port_.isOpen()) {
        deviceLost_ = true;
        port_.close();
    }
}
