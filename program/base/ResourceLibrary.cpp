#include "ResourceLibrary.h"

#include <QFile>
#include <QRegularExpression>
#include <QStringDecoder>

namespace {

struct Token {
    QString text;
    bool quoted = false;
};

// Splits one line into bare words and quoted strings. Quoted strings know the escapes \n,
// \t, \" and \\. Returns false with *error set on an unterminated string or a bad escape.
bool tokenize(const QString &line, QList<Token> *tokens, QString *error)
{
    int i = 0;
    const int n = line.size();
    while (i < n) {
        const QChar c = line.at(i);
        if (c.isSpace()) {
            ++i;
            continue;
        }
        if (c == QLatin1Char('#') && tokens->isEmpty())
            return true;  // comment line
        Token t;
        if (c == QLatin1Char('"')) {
            t.quoted = true;
            ++i;
            bool closed = false;
            while (i < n) {
                const QChar d = line.at(i++);
                if (d == QLatin1Char('"')) {
                    closed = true;
                    break;
                }
                if (d == QLatin1Char('\\')) {
                    if (i >= n) {
                        *error = QStringLiteral("backslash at the end of the line");
                        return false;
                    }
                    const QChar e = line.at(i++);
                    switch (e.unicode()) {
                    case 'n': t.text += QLatin1Char('\n'); break;
                    case 't': t.text += QLatin1Char('\t'); break;
                    case '"': t.text += QLatin1Char('"'); break;
                    case '\\': t.text += QLatin1Char('\\'); break;
                    default:
                        *error = QStringLiteral("unknown escape \\%1").arg(e);
                        return false;
                    }
                } else {
                    t.text += d;
                }
            }
            if (!closed) {
                *error = QStringLiteral("text without its closing quote");
                return false;
            }
            if (i < n && !line.at(i).isSpace()) {
                *error = QStringLiteral("space expected after a quoted text");
                return false;
            }
        } else {
            while (i < n && !line.at(i).isSpace() && line.at(i) != QLatin1Char('"'))
                t.text += line.at(i++);
        }
        tokens->append(t);
    }
    return true;
}

bool toId(const Token &t, int *id)
{
    if (t.quoted)
        return false;
    bool ok = false;
    const int v = t.text.toInt(&ok, 10);
    if (!ok || v < 0 || v > 65535)
        return false;
    *id = v;
    return true;
}

// Recursive-descent reader over the tokenized lines.
class Parser
{
public:
    Parser(QList<QList<Token>> lines, QList<int> lineNumbers, QString source)
        : m_lines(std::move(lines)), m_numbers(std::move(lineNumbers)), m_source(std::move(source))
    {
    }

    QString error;
    QString name;
    QMap<int, QString> strings;
    QMap<int, QList<MenuEntry>> menus;
    QMap<int, QList<AcceleratorEntry>> accelerators;
    QMap<int, QList<int>> toolbars;
    QMap<int, DialogResource> dialogs;

    bool run()
    {
        if (m_pos >= m_lines.size())
            return fail(QStringLiteral("the file is empty; it must start with a library line"));
        const auto &head = m_lines.at(m_pos);
        if (head.size() != 2 || head.at(0).quoted || head.at(0).text != QLatin1String("library")
            || !head.at(1).quoted)
            return fail(QStringLiteral("the first line must be: library \"<language name>\""));
        name = head.at(1).text;
        ++m_pos;
        while (m_pos < m_lines.size()) {
            const auto &l = m_lines.at(m_pos);
            const QString kw = l.at(0).quoted ? QString() : l.at(0).text;
            int id = 0;
            if (kw == QLatin1String("strings") && l.size() == 1) {
                if (!readStrings())
                    return false;
                continue;
            }
            if (l.size() < 2 || !toId(l.at(1), &id))
                return fail(QStringLiteral("expected a block: strings, menu <id>, accelerators <id>, "
                                           "toolbar <id> or dialog <id> \"<caption>\""));
            if (kw == QLatin1String("menu") && l.size() == 2) {
                if (menus.contains(id))
                    return fail(QStringLiteral("menu %1 is defined twice").arg(id));
                ++m_pos;
                QList<MenuEntry> entries;
                if (!readMenu(&entries))
                    return false;
                menus.insert(id, entries);
            } else if (kw == QLatin1String("accelerators") && l.size() == 2) {
                if (accelerators.contains(id))
                    return fail(QStringLiteral("accelerators %1 are defined twice").arg(id));
                if (!readAccelerators(id))
                    return false;
            } else if (kw == QLatin1String("toolbar") && l.size() == 2) {
                if (toolbars.contains(id))
                    return fail(QStringLiteral("toolbar %1 is defined twice").arg(id));
                if (!readToolbar(id))
                    return false;
            } else if (kw == QLatin1String("dialog") && l.size() == 3 && l.at(2).quoted) {
                if (dialogs.contains(id))
                    return fail(QStringLiteral("dialog %1 is defined twice").arg(id));
                if (!readDialog(id, l.at(2).text))
                    return false;
            } else {
                return fail(QStringLiteral("unknown block \"%1\"").arg(l.at(0).text));
            }
        }
        return true;
    }

private:
    bool fail(const QString &what)
    {
        const int line = m_pos < m_numbers.size() ? m_numbers.at(m_pos) : (m_numbers.isEmpty() ? 1 : m_numbers.last());
        error = QStringLiteral("%1:%2: %3").arg(m_source).arg(line).arg(what);
        return false;
    }
    bool isEnd(const QList<Token> &l) const
    {
        return l.size() == 1 && !l.at(0).quoted && l.at(0).text == QLatin1String("end");
    }
    bool atEof()
    {
        if (m_pos < m_lines.size())
            return false;
        fail(QStringLiteral("block without its \"end\""));
        return true;
    }

    bool readStrings()
    {
        ++m_pos;
        for (;;) {
            if (atEof())
                return false;
            const auto &l = m_lines.at(m_pos);
            if (isEnd(l)) {
                ++m_pos;
                return true;
            }
            int id = 0;
            if (l.size() != 2 || !toId(l.at(0), &id) || !l.at(1).quoted)
                return fail(QStringLiteral("expected: <id> \"<text>\""));
            if (strings.contains(id))
                return fail(QStringLiteral("string %1 is defined twice").arg(id));
            strings.insert(id, l.at(1).text);
            ++m_pos;
        }
    }

    bool readMenu(QList<MenuEntry> *entries)
    {
        for (;;) {
            if (atEof())
                return false;
            const auto &l = m_lines.at(m_pos);
            if (isEnd(l)) {
                ++m_pos;
                return true;
            }
            const QString kw = l.at(0).quoted ? QString() : l.at(0).text;
            MenuEntry e;
            if (kw == QLatin1String("separator") && l.size() == 1) {
                e.kind = MenuEntry::Separator;
                ++m_pos;
            } else if (kw == QLatin1String("item") && l.size() == 3 && toId(l.at(1), &e.id) && e.id > 0
                       && l.at(2).quoted) {
                e.kind = MenuEntry::Item;
                e.text = l.at(2).text;
                ++m_pos;
            } else if (kw == QLatin1String("popup") && l.size() == 2 && l.at(1).quoted) {
                e.kind = MenuEntry::Popup;
                e.text = l.at(1).text;
                ++m_pos;
                if (!readMenu(&e.children))
                    return false;
            } else {
                return fail(QStringLiteral("expected: item <id> \"<text>\", separator, popup \"<text>\" or end"));
            }
            entries->append(e);
        }
    }

    bool readAccelerators(int id)
    {
        ++m_pos;
        QList<AcceleratorEntry> list;
        for (;;) {
            if (atEof())
                return false;
            const auto &l = m_lines.at(m_pos);
            if (isEnd(l)) {
                ++m_pos;
                accelerators.insert(id, list);
                return true;
            }
            AcceleratorEntry a;
            if (l.size() != 2 || !toId(l.at(0), &a.command) || !l.at(1).quoted || l.at(1).text.isEmpty())
                return fail(QStringLiteral("expected: <command id> \"<keys>\""));
            a.keys = l.at(1).text;
            list.append(a);
            ++m_pos;
        }
    }

    bool readToolbar(int id)
    {
        ++m_pos;
        QList<int> list;
        for (;;) {
            if (atEof())
                return false;
            const auto &l = m_lines.at(m_pos);
            if (isEnd(l)) {
                ++m_pos;
                toolbars.insert(id, list);
                return true;
            }
            int command = 0;
            if (l.size() == 1 && !l.at(0).quoted && l.at(0).text == QLatin1String("separator"))
                list.append(0);
            else if (l.size() == 2 && !l.at(0).quoted && l.at(0).text == QLatin1String("button")
                     && toId(l.at(1), &command) && command > 0)
                list.append(command);
            else
                return fail(QStringLiteral("expected: button <command id>, separator or end"));
            ++m_pos;
        }
    }

    bool readDialog(int id, const QString &caption)
    {
        ++m_pos;
        DialogResource d;
        d.caption = caption;
        for (;;) {
            if (atEof())
                return false;
            const auto &l = m_lines.at(m_pos);
            if (isEnd(l)) {
                ++m_pos;
                dialogs.insert(id, d);
                return true;
            }
            const QString kw = l.at(0).quoted ? QString() : l.at(0).text;
            int control = 0;
            if (l.size() != 3 || !toId(l.at(1), &control) || !l.at(2).quoted)
                return fail(QStringLiteral("expected: control|label|static <id> \"<text>\""));
            QMap<int, QString> *target = nullptr;
            if (kw == QLatin1String("control"))
                target = &d.controls;
            else if (kw == QLatin1String("label"))
                target = &d.labels;
            else if (kw == QLatin1String("static"))
                target = &d.statics;
            else
                return fail(QStringLiteral("expected: control|label|static <id> \"<text>\""));
            if (target->contains(control))
                return fail(QStringLiteral("%1 %2 is defined twice").arg(kw).arg(control));
            target->insert(control, l.at(2).text);
            ++m_pos;
        }
    }

    QList<QList<Token>> m_lines;
    QList<int> m_numbers;
    QString m_source;
    int m_pos = 0;
};

ResourceLibrary g_resources;

} // namespace

bool ResourceLibrary::loadFile(const QString &path, QString *error)
{
    clear();
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
    clear();
    QStringDecoder decoder(QStringDecoder::Utf8);
    QString text = decoder.decode(utf8);
    if (decoder.hasError()) {
        if (error)
            *error = QStringLiteral("%1: the file is not valid UTF-8 text").arg(sourceName);
        return false;
    }
    if (text.startsWith(QChar(0xFEFF)))
        text.remove(0, 1);
    QList<QList<Token>> lines;
    QList<int> numbers;
    const QStringList raw = text.split(QLatin1Char('\n'));
    for (int i = 0; i < raw.size(); ++i) {
        QString line = raw.at(i);
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
        QList<Token> tokens;
        QString why;
        if (!tokenize(line, &tokens, &why)) {
            if (error)
                *error = QStringLiteral("%1:%2: %3").arg(sourceName).arg(i + 1).arg(why);
            return false;
        }
        if (!tokens.isEmpty()) {
            lines.append(tokens);
            numbers.append(i + 1);
        }
    }
    Parser p(lines, numbers, sourceName);
    if (!p.run()) {
        if (error)
            *error = p.error;
        return false;
    }
    m_name = p.name;
    m_strings = p.strings;
    m_menus = p.menus;
    m_accelerators = p.accelerators;
    m_toolbars = p.toolbars;
    m_dialogs = p.dialogs;
    return true;
}

void ResourceLibrary::clear()
{
    m_name.clear();
    m_strings.clear();
    m_menus.clear();
    m_accelerators.clear();
    m_toolbars.clear();
    m_dialogs.clear();
}

bool ResourceLibrary::isEmpty() const
{
    return m_strings.isEmpty() && m_menus.isEmpty() && m_accelerators.isEmpty() && m_toolbars.isEmpty()
        && m_dialogs.isEmpty();
}

bool ResourceLibrary::hasString(int id) const
{
    return m_strings.contains(id) || (m_fallback && m_fallback->hasString(id));
}

QString ResourceLibrary::string(int id) const
{
    const auto it = m_strings.constFind(id);
    if (it != m_strings.constEnd())
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
    const auto it = m_menus.constFind(id);
    if (it != m_menus.constEnd())
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
    const auto it = m_accelerators.constFind(id);
    if (it != m_accelerators.constEnd())
        return *it;
    return m_fallback ? m_fallback->accelerators(id) : QList<AcceleratorEntry>();
}

QList<int> ResourceLibrary::toolbar(int id) const
{
    const auto it = m_toolbars.constFind(id);
    if (it != m_toolbars.constEnd())
        return *it;
    return m_fallback ? m_fallback->toolbar(id) : QList<int>();
}

bool ResourceLibrary::hasDialog(int id) const
{
    return m_dialogs.contains(id) || (m_fallback && m_fallback->hasDialog(id));
}

DialogResource ResourceLibrary::dialog(int id) const
{
    DialogResource d = m_fallback ? m_fallback->dialog(id) : DialogResource();
    const auto it = m_dialogs.constFind(id);
    if (it == m_dialogs.constEnd())
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
    return m_strings.keys();
}

QList<int> ResourceLibrary::dialogIds() const
{
    return m_dialogs.keys();
}

QList<int> ResourceLibrary::menuIds() const
{
    return m_menus.keys();
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

// Outside any namespace, as the resource initialiser requires.
static void initBuiltInResourceFile()
{
    Q_INIT_RESOURCE(base_resources);
}

const ResourceLibrary &builtInResources()
{
    static const ResourceLibrary builtIn = [] {
        initBuiltInResourceFile();
        ResourceLibrary lib;
        QString error;
        if (!lib.loadFile(QStringLiteral(":/program/Eng.dll"), &error))
            qFatal("built-in English resources are damaged: %s", qPrintable(error));
        return lib;
    }();
    return builtIn;
}

const ResourceLibrary &resources()
{
    if (g_resources.isEmpty())
        return builtInResources();
    return g_resources;
}

void installResources(const ResourceLibrary &library)
{
    g_resources = library;
    g_resources.setFallback(&builtInResources());
}
