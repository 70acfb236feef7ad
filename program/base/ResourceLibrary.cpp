#include "ResourceLibrary.h"

#include <QFile>
#include <QRegularExpression>

bool ResourceLibrary::loadFile(const QString &path, QString *error)
{
    m_data = ResourceData();
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) {
        if (error)
            *error = QStringLiteral("%1: %2").arg(path, f.errorString());
        return false;
    }
    return parse(f.readAll(), path, error);
}

bool ResourceLibrary::parse(const QByteArray &utf8, const QString &sourceName, QString *error)
{
    m_data = ResourceData();
    return parseResourceText(utf8, sourceName, &m_data, error);
}

bool ResourceLibrary::isEmpty() const
{
    return m_data.strings.isEmpty() && m_data.menus.isEmpty() && m_data.accelerators.isEmpty()
        && m_data.toolbars.isEmpty() && m_data.dialogs.isEmpty();
}

bool ResourceLibrary::hasString(int id) const
{
    return m_data.strings.contains(id) || (m_fallback && m_fallback->hasString(id));
}

QString ResourceLibrary::string(int id) const
{
    const auto it = m_data.strings.constFind(id);
    if (it != m_data.strings.constEnd())
        return *it;
    return m_fallback ? m_fallback->string(id) : QString();
}

QString ResourceLibrary::promptText(int commandId) const
{
    return string(commandId).section(QLatin1Char('\n'), 0, 0);
}

QString ResourceLibrary::tipText(int commandId) const
{
    return string(commandId).section(QLatin1Char('\n'), 1, 1);
}

QList<MenuEntry> ResourceLibrary::menu(int id) const
{
    const auto it = m_data.menus.constFind(id);
    if (it != m_data.menus.constEnd())
        return *it;
    return m_fallback ? m_fallback->menu(id) : QList<MenuEntry>();
}

QString ResourceLibrary::menuItemText(int menuId, int commandId) const
{
    QList<QList<MenuEntry>> pending{menu(menuId)};
    while (!pending.isEmpty()) {
        for (const MenuEntry &e : pending.takeFirst()) {
            if (e.kind == MenuEntry::Item && e.id == commandId)
                return e.text;
            if (e.kind == MenuEntry::Popup)
                pending.append(e.children);
        }
    }
    return QString();
}

QList<AcceleratorEntry> ResourceLibrary::accelerators(int id) const
{
    const auto it = m_data.accelerators.constFind(id);
    if (it != m_data.accelerators.constEnd())
        return *it;
    return m_fallback ? m_fallback->accelerators(id) : QList<AcceleratorEntry>();
}

QList<int> ResourceLibrary::toolbar(int id) const
{
    const auto it = m_data.toolbars.constFind(id);
    if (it != m_data.toolbars.constEnd())
        return *it;
    return m_fallback ? m_fallback->toolbar(id) : QList<int>();
}

bool ResourceLibrary::hasDialog(int id) const
{
    return m_data.dialogs.contains(id) || (m_fallback && m_fallback->hasDialog(id));
}

DialogResource ResourceLibrary::dialog(int id) const
{
    DialogResource d = m_fallback ? m_fallback->dialog(id) : DialogResource();
    const auto it = m_data.dialogs.constFind(id);
    if (it == m_data.dialogs.constEnd())
        return d;
    d.caption = it->caption;
    for (auto c = it->controls.cbegin(); c != it->controls.cend(); ++c)
        d.controls.insert(c.key(), c.value());
    for (auto c = it->labels.cbegin(); c != it->labels.cend(); ++c)
        d.labels.insert(c.key(), c.value());
    for (auto c = it->statics.cbegin(); c != it->statics.cend(); ++c)
        d.statics.insert(c.key(), c.value());
    return d;
}

QString ResourceLibrary::dialogCaption(int dialogId) const
{
    return dialog(dialogId).caption;
}

QString ResourceLibrary::controlText(int dialogId, int controlId) const
{
    return dialog(dialogId).controls.value(controlId);
}

QString ResourceLibrary::labelText(int dialogId, int controlId) const
{
    return dialog(dialogId).labels.value(controlId);
}

QString ResourceLibrary::staticText(int dialogId, int number) const
{
    return dialog(dialogId).statics.value(number);
}

QList<int> ResourceLibrary::stringIds() const
{
    return m_data.strings.keys();
}

QList<int> ResourceLibrary::dialogIds() const
{
    return m_data.dialogs.keys();
}

QList<int> ResourceLibrary::menuIds() const
{
    return m_data.menus.keys();
}

QString plainCaption(QString caption)
{
    caption = caption.section(QLatin1Char('\t'), 0, 0);
    static const QRegularExpression bracketedMnemonic(QStringLiteral("\\(&[^)]\\)"));
    caption.remove(bracketedMnemonic);
    caption.remove(QLatin1Char('&'));
    while (caption.endsWith(QLatin1Char('.')))
        caption.chop(1);
    return caption.trimmed();
}

