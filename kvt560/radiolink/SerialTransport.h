#pragma once
// The byte link to the radio's programming cable over a serial port: 9600 baud, 8 data
// bits, no parity, 1 stop bit, raw bytes. It turns request texts into frames, collects the
// received bytes as hexadecimal text in RxText, removes the echo of a single-head cable,
// and waits with SysDelay while replies come in. One instance is owned by the main window
// and lives for the whole run; the port is open only while a transfer dialog is shown.
#include "radiolink/RadioLink.h"

#include <QByteArray>
#include <QMap>
#include <QObject>
#include <QSerialPort>
#include <QString>

class QEventLoop;
class IniFile;

class SerialTransport : public QObject, public RadioLink
{
public:
    // The received text never grows beyond this many characters: an echo and the longest
    // frame a count byte can announce, twice over. Whatever would go beyond cannot be a
    // reply and is discarded until the next request empties the text.
    static constexpr int MaxRxText = 2 * 2 * (2 + 255 + 1) * 2;

    // Values of the cable-mode tag kept in the preferences.
    enum CableMode { SingleHead = 12, DualHead = 13 };

    explicit SerialTransport(QObject *parent = nullptr);
    ~SerialTransport() override;

    // Port number 1 to 4 of the port menu; the device it means is resolved with the
    // [ports] section of the ini file at `iniPath` (see portDeviceName), or with the entries
    // given to setPorts (the main window's preferences as they stand).
    void setPortNumber(int number);
    int portNumber() const { return m_portNumber; }
    void setIniPath(const QString &path);
    QString iniPath() const { return m_iniPath; }
    void setPorts(const QMap<int, QString> &ports) { m_ports = ports; }
    QString deviceName() const;
    // A device named directly (a path given on the command line) in place of the port
    // number's; empty: the port number's device.
    void setDeviceOverride(const QString &device) { m_deviceOverride = device; }

    void setCableMode(CableMode mode);
    CableMode cableMode() const { return m_cableMode; }

    // RadioLink
    bool open() override;           // false with errorString() when the port cannot be opened
    void close() override;
    bool isOpen() const override;
    QString exchange(const QString &request, int waitMs) override;
    QString exchangeUntilReply(const QString &request, int waitMs) override;
    void sendAndWait(const QString &request, int waitMs) override;
    void wait(int waitMs) override;

    // Why the last open failed (the device name and the system's reason).
    QString errorString() const { return m_errorString; }
    PortProblem openProblem() const override { return m_openProblem; }
    bool deviceLost() const override { return m_deviceLost; }
    QString openedDevice() const override { return m_openedDevice; }

    // Makes the outgoing frame of `text` (its bytes and the check byte) and sets EchoLength
    // to the number of hexadecimal characters of that frame.
    QByteArray BuildFrame(const QString &text);
    // Hands the outgoing frame to the port; nothing is sent while the port is closed.
    void send();

    // The bytes received since the text was last emptied, as upper-case hexadecimal pairs.
    const QString &RxText() const { return m_rxText; }
    void clearRxText()
    {
        m_rxText.clear();
        m_overflow = false;
    }
    // Whether bytes were discarded since the text was last emptied (more than MaxRxText).
    bool rxOverflow() const { return m_overflow; }
    // Whether the received text holds one whole frame, with nothing of the echo left.
    bool replyComplete() const;
    // Hexadecimal characters of the echo still expected from a single-head cable; 0: none.
    int EchoLength() const { return m_echoLength; }
    void resetEchoLength() { m_echoLength = 0; }

    // Appends received bytes to RxText and, with a single-head cable, removes the echo of
    // the last frame once something beyond it has arrived. Called for every chunk the port
    // delivers, in order of arrival.
    void receiveBytes(const QByteArray &bytes);

    // True when the device of `portNumber` exists and can be opened exclusively for reading
    // and writing; it is closed again at once. The transport's own port is not touched.
    // When it cannot be opened, openProblem() says why.
    bool ProbePort(int portNumber);
    static bool probeDevice(const QString &device);

    // The device of port "COMn": on Windows "COMn" itself; elsewhere the value of key
    // "COMn" in section [ports] of the ini file, else /dev/ttyUSB(n-1) (COM1: the one USB
    // serial device present, when no port has an entry; see SerialPorts::deviceFor).
    static QString portDeviceName(int portNumber, const QString &iniPath);
    static QString portDeviceName(int portNumber, const QMap<int, QString> &ports);
    // The non-empty entries COM1 … COM4 of the [ports] section.
    static QMap<int, QString> portsOf(const IniFile &ini);
    static constexpr int PortCount = 4;

private:
    // Handlers of the port's notifications: received data, and errors.
    void MSComm1Comm();
    void portError(QSerialPort::SerialPortError error);
    static void applyLineSettings(QSerialPort &port);
    void drainPending();
    void sendRequest(const QString &request);

    QSerialPort m_port;
    int m_portNumber = 1;
    QString m_iniPath;
    QMap<int, QString> m_ports;
    QString m_deviceOverride;
    PortProblem m_openProblem;
    QString m_openedDevice;
    bool m_deviceLost = false;
    CableMode m_cableMode = DualHead;
    QByteArray m_outgoing;
    QString m_rxText;
    bool m_overflow = false;
    int m_echoLength = 0;
    QEventLoop *m_replyLoop = nullptr;   // the wait of exchangeUntilReply, ended by a whole frame
    QString m_errorString;
};
