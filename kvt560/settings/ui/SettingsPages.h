#pragma once
// Builds the function-settings pages of the main window from the settings registry (one
// control per setting, named by its control name, with its label, items, range and input
// filter) and binds every control two ways to the settings store: a change in the control
// is a user change of the setting (its rules run), a change in the store (file, radio, New,
// a rule) shows in the control, and the store's enable rules enable and disable controls.
#include <QHash>
#include <QList>
#include <QPair>
#include <QObject>
#include <QPointer>

class CallListGrid;
class QAbstractButton;
class QWidget;
class SettingsStore;
struct SettingDef;

// The containers of the main window that receive the settings.
struct SettingsPageHosts {
    QWidget *basicLeft = nullptr;          // page 1, drop-downs of "基本功能" (grid layout)
    QWidget *basicRight = nullptr;         // page 1, check boxes of "基本功能" (box layout)
    QWidget *voxPanel = nullptr;           // page 1, bsSkinPanel7 (grid layout)
    QWidget *bandPasswordPanel = nullptr;  // page 1, band and password panel (grid layout)
    QWidget *dtmfSystem = nullptr;         // page 2, sub-page "系统" (no layout yet)
    QWidget *dtmfParameter = nullptr;      // page 2, sub-page "参数" (no layout yet)
    QWidget *sideKeys = nullptr;           // page 4 (no layout yet)
};

class SettingsPages : public QObject
{
    Q_OBJECT
public:
    // Creates the controls that do not exist yet under the hosts and binds them all; a
    // control that already exists under a host (found by its control name) is bound as it is.
    SettingsPages(SettingsStore *store, const SettingsPageHosts &hosts, QObject *parent = nullptr);

    // The control of a setting, or nullptr.
    QWidget *control(const QString &name) const { return m_controls.value(name); }
    CallListGrid *callList() const { return m_callList; }
    // Gives each control without a caption of its own (the password under the box that
    // unlocks it, the call list) the caption of that box or group as its accessible name;
    // again after the captions change language.
    void nameControls();

private:
    void buildGroup(const QString &groupKey, QWidget *box);
    QWidget *makeControl(const SettingDef &def, QWidget *parent);
    void bind(QWidget *control, const SettingDef &def);
    void fromControl(const QString &name, const QVariant &value);
    void show(const QString &name);
    bool eventFilter(QObject *watched, QEvent *event) override;

    SettingsStore *m_store;
    SettingsPageHosts m_hosts;
    QHash<QString, QPointer<QWidget>> m_controls;
    CallListGrid *m_callList = nullptr;
    // Controls without a caption, and the check box above each, which names it.
    QList<QPair<QPointer<QWidget>, QPointer<QAbstractButton>>> m_namedByBox;
    bool m_showing = false;   // the store is being shown in a control: not a user change
};
