#include "settings/SettingsStore.h"
#include "settings/SettingsRegistry.h"

SettingsStore::SettingsStore(QObject *parent)
    : QObject(parent)
{
}

bool SettingsStore::isEnabled(SettingKey key) const
{
    return isEnabled(SettingsRegistry::name(key));
}

bool SettingsStore::setValue(SettingKey key, const QVariant &value)
{
    return setValue(SettingsRegistry::name(key), value);
}

bool SettingsStore::setByUser(SettingKey key, const QVariant &value)
{
    return setByUser(SettingsRegistry::name(key), value);
}

bool SettingsStore::setValue(const QString &name, const QVariant &value)
{
    SettingsValues next = m_values;
    if (!next.set(name, value))
        return false;
    next.applyRulesFor(name, false);
    commit(next);
    return true;
}

bool SettingsStore::setByUser(const QString &name, const QVariant &value)
{
    SettingsValues next = m_values;
    if (!next.set(name, value))
        return false;
    next.applyRulesFor(name, true);
    commit(next);
    return true;
}

void SettingsStore::finishEditing(const QString &name)
{
    const SettingDef *def = SettingsRegistry::byName(name);
    if (!def || def->kind != SettingKind::Text || def->filter.exactLength == 0)
        return;
    if (text(name).size() != def->filter.exactLength)
        setValue(name, def->start);
}

void SettingsStore::resetToNew()
{
    SettingsValues next = m_values;
    for (const SettingDef &d : SettingsRegistry::all())
        if (d.isValue() && d.newValue)
            next.set(d.name, *d.newValue);
    next.applyProgramRules();
    commit(next);
}

void SettingsStore::apply(const SettingsValues &values)
{
    SettingsValues next = values;
    next.applyProgramRules();
    commit(next);
}

void SettingsStore::commit(const SettingsValues &next)
{
    if (next == m_values)
        return;
    const SettingsValues before = m_values;
    m_values = next;
    for (const SettingDef &d : SettingsRegistry::all()) {
        if (!d.isValue())
            continue;
        if (before.value(d.name) != m_values.value(d.name))
            emit valueChanged(d.name);
    }
    for (const EnableRule &r : SettingsRegistry::enableRules()) {
        const bool now = m_values.isEnabled(r.target);
        if (before.isEnabled(r.target) != now)
            emit enabledChanged(r.target, now);
    }
}

// Compiled here rather than in the shared moc unit, so that linking the store does not pull
// in every other class of the library.
#include "moc_SettingsStore.cpp"
