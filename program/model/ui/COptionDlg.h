#pragma once
// The Option dialog (template 156): the radio's function options as drop-down lists and the
// power-on password box, laid out in two columns. It has no buttons: it is closed with the
// close box, Escape or Enter, and however it closes every control the user changed is
// written back into the document's image (ShownValues): a dialog closed without a change
// changes nothing.
//
// Controls (objectName, template id):
//   sqlList 1081 squelch level            voxList 1086 VOX level
//   totList 1083 transmit time-out        stepList 1103 frequency step
//   reverseList 1104 reverse              beepList 1088 key beep
//   rogerList 1105 roger beep             backlightModeList 1113 backlight
//   apoList 1106 automatic power off      priorityChannelList 1107 priority channel
//   keyLockList 1108 key lock             channelNameList 1099 channel names shown
//   batterySaveList 1100 battery save     scanModeList 1109 scan resume mode
//   radioList 1101 broadcast radio        singleRadioList 1110 single-watch radio
//   steList 1111 squelch tail elimination frequencyModeList 1112 frequency mode
//   emergencyCallList 1097 emergency call receiveAlarmTimeList 1117 receive alarm time
//   powerOnPassword 1118 password digits  powerOnPasswordSwitchList 1114 password on/off
//   manualPowerSwitchList 1116 manual power switch
// Each control's label is named "label" plus the control id ("label1081").
#include "ShownValues.h"

#include <QDialog>
#include <QHash>

class CProgramDoc;
class QComboBox;
class QKeyEvent;
class QLineEdit;

class COptionDlg : public QDialog
{
    Q_OBJECT
public:
    COptionDlg(CProgramDoc *document, QWidget *parent = nullptr);
    ~COptionDlg() override;

    // The drop-down list with a template id (OptionIds), or nullptr.
    QComboBox *list(int controlId) const { return m_lists.value(controlId); }

    QLineEdit *powerOnPassword; // 1118: up to six digits

public slots:
    void done(int result) override;

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    CProgramDoc *m_document;
    void onInitDialog();
    void writeBack();

    QHash<int, QComboBox *> m_lists;
    ShownValues m_shown;
};
