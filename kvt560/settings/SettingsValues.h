#pragma once
// A copyable set of setting values by control name (or by typed key): int for drop-down indexes, check boxes
// and spin boxes, QString for texts. Every value is checked against the settings registry
// on the way in, so a SettingsValues never holds a value its control could not show. The
// radio read and the file reader can fill a copy and hand it to the store when they succeed.
#include <QHash>
#include <QString>
#include <QVariant>

enum class SettingKey;   // settings/SettingsRegistry.h

class SettingsValues
{
public:
    // The Start value of every setting.
    SettingsValues();

    QVariant value(const QString &name) const;   // invalid for an unknown name
    int number(const QString &name) const;       // 0 for an unknown name or a text
    QString text(const QString &name) const;     // empty for an unknown name or a number
    QVariant value(SettingKey key) const;
    int number(SettingKey key) const;
    QString text(SettingKey key) const;

    // Stores the value as the registry normalises it (spin values to the nearest bound,
    // "a" to "d" in DTMF texts to upper case). Returns false and changes nothing for an
    // unknown name or a value the setting cannot hold.
    bool set(const QString &name, const QVariant &value);
    bool set(SettingKey key, const QVariant &value);

    // Applies the forced-value rules whose controller is `name` (or, for a user change, whose
    // target is `name`). userChange false: only the check-box rules, which also run when the
    // program sets the box.
    void applyRulesFor(const QString &name, bool userChange);
    // Applies every rule that also runs when the program sets its controller.
    void applyProgramRules();

    // Whether the control is enabled under the enable rules (true when no rule names it).
    bool isEnabled(const QString &name) const;

    bool operator==(const SettingsValues &other) const { return m_values == other.m_values; }
    bool operator!=(const SettingsValues &other) const { return !(*this == other); }

private:
    QHash<QString, QVariant> m_values;
};
