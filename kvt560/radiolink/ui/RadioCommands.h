#pragma once
// The main window's radio commands "频率读出(&R)" (gs1Click, Ctrl+R, toolbar "读频") and
// "频率写入(&W)" (N2Click, Ctrl+W, toolbar "写频"): commit a pending channel edit, probe
// the serial port, prepare and open the read/write dialog TR_and_W. It owns the serial
// transport (the main window's port) and gives the dialog the main window's document as the
// codeplug to read into or write from. What they need of the window comes through
// RadioCommandWindow; the window connects its commands to the slots.
#include "radiolink/SerialTransport.h"
#include "radiolink/ui/RadioCommandWindow.h"
#include "radiolink/ui/TR_and_W.h"

#include <QObject>
#include <functional>

class CodeplugDocument;

class RadioCommands : public QObject
{
    Q_OBJECT
public:
    RadioCommands(CodeplugDocument *document, RadioCommandWindow window, TR_and_W &dialog, QObject *parent = nullptr);

    SerialTransport &MSComm1() { return m_transport; }
    TR_and_W &dialog() { return m_dialog; }

    void setTiming(const LinkTiming &timing) { m_dialog.setTiming(timing); }
    // How notices are shown; the confirmation dialog in notice mode by default.
    void setNotice(TR_and_W::Notice notice);
    // How the dialog is shown; modally by default (tests drive it themselves).
    void setDialogRunner(std::function<void(TR_and_W &)> runner) { m_runner = std::move(runner); }

    // A notice of the radio link through the confirmation dialog (notice mode).
    static void showNotice(QWidget *parent, const QString &caption, const QString &text);

public slots:
    void gs1Click();
    void N2Click();

signals:
    // A read was applied to the main window (the single-channel page shows the new channel).
    void readApplied();

private:
    void runCommand(int tag);

    CodeplugDocument *m_document;
    RadioCommandWindow m_window;
    TR_and_W &m_dialog;
    SerialTransport m_transport;
    TR_and_W::Notice m_notice;
    std::function<void(TR_and_W &)> m_runner;
};
