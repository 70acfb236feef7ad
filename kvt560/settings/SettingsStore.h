#pragma once
// The current value of every function setting, by control name (or by typed key). It starts with the Start
// values; the pages bind their widgets to it both ways, the memory layout and the codeplug
// file read and write it. Values are checked against the settings registry; the enable
// rules and the forced-value rules are applied here, so every front end sees the same state.
#include "settings/SettingsValues.h"
#include <QObject>

class SettingsStore : public QObject
{
    Q_OBJECT
public:
    explicit SettingsStore(QObject *parent = nullptr);

    QVariant value(const QString &name) const { return m_values.value(name); }
    int number(const QString &name) const { return m_values.number(name); }
    QString text(const QString &name) const { return m_values.text(name); }
    bool isEnabled(const QString &name) const { return m_values.isEnabled(name); }
    QVariant value(SettingKey key) const { return m_values.value(key); }
    int number(SettingKey key) const { return m_values.number(key); }
    QString text(SettingKey key) const { return m_values.text(key); }
    bool isEnabled(SettingKey key) const;

    // The program sets a value (file, radio, defaults). Check-box rules run, drop-down rules
    // do not. Returns false and changes nothing when the value is not accepted.
    bool setValue(const QString &name, const QVariant &value);
    // The user changed a control: its drop-down or check-box rule runs as well.
    bool setByUser(const QString &name, const QVariant &value);
    bool setValue(SettingKey key, const QVariant &value);
    bool setByUser(SettingKey key, const QVariant &value);
    // The user left a text field: a text that must have an exact length (the power-on
    // password) and does not returns to its Start value.
    void finishEditing(const QString &name);

    // New: every setting that has a New value takes it; the others keep theirs.
    void resetToNew();

    SettingsValues snapshot() const { return m_values; }
    // Takes every value of the snapshot, then runs the check-box rules.
    void apply(const SettingsValues &values);
    // Takes every value of the snapshot as it stands, without running any rule: undo and
    // redo put back values that the rules produced when they were set.
    void restore(const SettingsValues &values) { commit(values); }

signals:
    void valueChanged(const QString &name);
    void enabledChanged(const QString &name, bool enabled);

private:
    void commit(const SettingsValues &next);

    SettingsValues m_values;
};
