#include "settings/SettingsValues.h"
#include "settings/SettingsRegistry.h"

SettingsValues::SettingsValues()
{
    for (const SettingDef &d : SettingsRegistry::all())
        if (d.isValue())
            m_values.insert(d.name, d.start);
}

QVariant SettingsValues::value(const QString &name) const
{
    return m_values.value(name);
}

int SettingsValues::number(const QString &name) const
{
    const QVariant v = m_values.value(name);
    return v.typeId() == QMetaType::Int ? v.toInt() : 0;
}

QString SettingsValues::text(const QString &name) const
{
    const QVariant v = m_values.value(name);
    return v.typeId() == QMetaType::QString ? v.toString() : QString();
}

QVariant SettingsValues::value(SettingKey key) const
{
    return value(SettingsRegistry::name(key));
}

int SettingsValues::number(SettingKey key) const
{
    return number(SettingsRegistry::name(key));
}

QString SettingsValues::text(SettingKey key) const
{
    return text(SettingsRegistry::name(key));
}

bool SettingsValues::set(SettingKey key, const QVariant &value)
{
    return set(SettingsRegistry::name(key), value);
}

bool SettingsValues::set(const QString &name, const QVariant &value)
{
    const SettingDef *def = SettingsRegistry::byName(name);
    if (!def || !def->isValue())
        return false;
    const auto v = def->normalised(value);
    if (!v)
        return false;
    m_values.insert(name, *v);
    return true;
}

void SettingsValues::applyRulesFor(const QString &name, bool userChange)
{
    for (const ForcedValueRule &r : SettingsRegistry::forcedValueRules()) {
        const bool triggered = userChange ? (r.controller == name || r.target == name)
                                          : (r.onProgramSet && r.controller == name);
        if (triggered && number(r.controller) == r.whenValue)
            m_values.insert(r.target, r.forcedValue);
    }
}

void SettingsValues::applyProgramRules()
{
    for (const ForcedValueRule &r : SettingsRegistry::forcedValueRules())
        if (r.onProgramSet && number(r.controller) == r.whenValue)
            m_values.insert(r.target, r.forcedValue);
}

bool SettingsValues::isEnabled(const QString &name) const
{
    for (const EnableRule &r : SettingsRegistry::enableRules())
        if (r.target == name && !r.enablingValues.contains(number(r.controller)))
            return false;
    return true;
}
