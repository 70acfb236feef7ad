#include "radiolink/SerialTransport.h"

#include "radiolink/RadioFrame.h"
#include "radiolink/SysDelay.h"

#include <QFileInfo>
#include <QSettings>

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
}

QString SerialTransport::deviceName() const
{
    if (!deviceOverride_.isEmpty())
        return deviceOverride_;
    return portDeviceName(portNumber_, iniPath_);
}

void SerialTransport::setCableMode(CableMode mode)
{
    cableMode_ = mode;
}

QString SerialTransport::portDeviceName(int portNumber, const QString &iniPath)
{
    const QString name = QStringLiteral("COM%1").arg(portNumber);
#ifdef Q_OS_WIN
    Q_UNUSED(iniPath);
    return name;
#else
    if (!iniPath.isEmpty() && QFileInfo::exists(iniPath)) {
        QSettings ini(iniPath, QSettings::IniFormat);
        const QString device = ini.value(QStringLiteral("ports/") + name).toString().trimmed();
        if (!device.isEmpty())
            return device;
    }
    return QStringLiteral("/dev/ttyUSB%1").arg(portNumber - 1);
#endif
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
    QSerialPort probe(device);
    if (!probe.open(QIODevice::ReadWrite))
        return false;
    probe.close();
    return true;
}

bool SerialTransport::ProbePort(int portNumber) const
{
    return probeDevice(portDeviceName(portNumber, iniPath_));
}

bool SerialTransport::open()
{
    if (port_.isOpen())
        return true;
    errorString_.clear();
    const QString device = deviceName();
    port_.setPortName(device);
    applyLineSettings(port_);
    port_.setReadBufferSize(1024);
    if (!port_.open(QIODevice::ReadWrite)) {
        errorString_ = QStringLiteral("%1: %2").arg(device, port_.errorString());
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
void SerialTransport::drainPending()
{
    if (!port_.isOpen())
        return;
    while (port_.waitForReadyRead(0)) {
    }
    if (port_.bytesAvailable() > 0)
        receiveBytes(port_.readAll());
    port_.clearError();   // the zero-time poll reports a time-out when nothing was waiting
}

QString SerialTransport::exchange(const QString &request, int waitMs)
{
    drainPending();
    BuildFrame(request);
    clearRxText();
    send();
    SysDelay(waitMs);
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
    rxText_ += RadioFrame::toHexText(bytes);
    // The echo of a single-head cable comes before the reply. It is removed only once the
    // text is longer than the echo: an echo still incomplete, or one with nothing after it
    // yet, stays until more arrives.
    if (echoLength_ != 0 && cableMode_ == SingleHead && rxText_.size() > echoLength_) {
        rxText_.remove(0, echoLength_);
        echoLength_ = 0;
    }
}

void SerialTransport::portError(QSerialPort::SerialPortError error)
{
    // A device that went away (cable pulled) keeps signalling; close it so that the
    // transfer's remaining waits see no reply and end with the link notice.
    if (error == QSerialPort::ResourceError && port_.isOpen())
        port_.close();
}
