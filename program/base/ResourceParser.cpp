#include "ResourceParser.h"

#include <QStringDecoder>

#include <functional>

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

using Line = QList<Token>;

bool isWord(const Line &l, int i, const char *word)
{
    return i < l.size() && !l.at(i).quoted && l.at(i).text == QLatin1String(word);
}

// Recursive-descent reader over the tokenized lines.
class Parser
{
public:
    Parser(QList<Line> lines, QList<int> lineNumbers, QString source)
        : m_lines(std::move(lines)), m_numbers(std::move(lineNumbers)), m_source(std::move(source))
    {
    }

    QString error;
    ResourceData data;

    bool run()
    {
        if (m_lines.isEmpty())
            return fail(QStringLiteral("the file is empty; it must start with a library line"));
        const Line &head = m_lines.at(0);
        if (head.size() != 2 || !isWord(head, 0, "library") || !head.at(1).quoted)
            return fail(QStringLiteral("the first line must be: library \"<language name>\""));
        data.name = head.at(1).text;
        for (m_pos = 1; m_pos < m_lines.size();) {
            m_at = m_pos;
            const Line &l = m_lines.at(m_pos++);
            if (!readBlockHead(l))
                return false;
        }
        return true;
    }

private:
    bool fail(const QString &what)
    {
        const int line = m_at < m_numbers.size() ? m_numbers.at(m_at) : (m_numbers.isEmpty() ? 1 : m_numbers.last());
        error = QStringLiteral("%1:%2: %3").arg(m_source).arg(line).arg(what);
        return false;
    }

    // Hands every line of a block to `entry` up to the block's "end"; the opening line has been
    // read. Fails when an entry fails or the file ends first.
    bool readBlock(const std::function<bool(const Line &)> &entry)
    {
        for (;;) {
            m_at = m_pos;
            if (m_pos >= m_lines.size())
                return fail(QStringLiteral("block without its \"end\""));
            const Line &l = m_lines.at(m_pos++);
            if (l.size() == 1 && isWord(l, 0, "end"))
                return true;
            if (!entry(l))
                return false;
        }
    }

    bool readBlockHead(const Line &l)
    {
        int id = 0;
        if (l.size() == 1 && isWord(l, 0, "strings"))
            return readBlock([this](const Line &e) { return readString(e); });
        if (l.size() < 2 || !toId(l.at(1), &id))
            return fail(QStringLiteral("expected a block: strings, menu <id>, accelerators <id>, "
                                       "toolbar <id> or dialog <id> \"<caption>\""));
        if (isWord(l, 0, "menu") && l.size() == 2) {
            if (data.menus.contains(id))
                return fail(QStringLiteral("menu %1 is defined twice").arg(id));
            QList<MenuEntry> entries;
            if (!readMenu(&entries, 0))
                return false;
            data.menus.insert(id, entries);
            return true;
        }
        if (isWord(l, 0, "accelerators") && l.size() == 2) {
            if (data.accelerators.contains(id))
                return fail(QStringLiteral("accelerators %1 are defined twice").arg(id));
            QList<AcceleratorEntry> list;
            if (!readBlock([&](const Line &e) { return readAccelerator(e, &list); }))
                return false;
            data.accelerators.insert(id, list);
            return true;
        }
        if (isWord(l, 0, "toolbar") && l.size() == 2) {
            if (data.toolbars.contains(id))
                return fail(QStringLiteral("toolbar %1 is defined twice").arg(id));
            QList<int> list;
            if (!readBlock([&](const Line &e) { return readToolbarButton(e, &list); }))
                return false;
            data.toolbars.insert(id, list);
            return true;
        }
        if (isWord(l, 0, "dialog") && l.size() == 3 && l.at(2).quoted) {
            if (data.dialogs.contains(id))
                return fail(QStringLiteral("dialog %1 is defined twice").arg(id));
            DialogResource d;
            d.caption = l.at(2).text;
            if (!readBlock([&](const Line &e) { return readDialogEntry(e, &d); }))
                return false;
            data.dialogs.insert(id, d);
            return true;
        }
        return fail(QStringLiteral("unknown block \"%1\"").arg(l.at(0).text));
    }

    bool readString(const Line &l)
    {
        int id = 0;
        if (l.size() != 2 || !toId(l.at(0), &id) || !l.at(1).quoted)
            return fail(QStringLiteral("expected: <id> \"<text>\""));
        if (data.strings.contains(id))
            return fail(QStringLiteral("string %1 is defined twice").arg(id));
        data.strings.insert(id, l.at(1).text);
        return true;
    }

    // depth: the number of popups around these entries.
    bool readMenu(QList<MenuEntry> *entries, int depth)
    {
        return readBlock([this, entries, depth](const Line &l) {
            MenuEntry e;
            if (l.size() == 1 && isWord(l, 0, "separator")) {
                e.kind = MenuEntry::Separator;
            } else if (isWord(l, 0, "item") && l.size() == 3 && toId(l.at(1), &e.id) && e.id > 0 && l.at(2).quoted) {
                e.kind = MenuEntry::Item;
                e.text = l.at(2).text;
            } else if (isWord(l, 0, "popup") && l.size() == 2 && l.at(1).quoted) {
                if (depth >= MaxMenuDepth)
                    return fail(QStringLiteral("popup menus nested deeper than %1 levels").arg(MaxMenuDepth));
                e.kind = MenuEntry::Popup;
                e.text = l.at(1).text;
                if (!readMenu(&e.children, depth + 1))
                    return false;
            } else {
                return fail(QStringLiteral("expected: item <id> \"<text>\", separator, popup \"<text>\" or end"));
            }
            entries->append(e);
            return true;
        });
    }

    bool readAccelerator(const Line &l, QList<AcceleratorEntry> *list)
    {
        AcceleratorEntry a;
        if (l.size() != 2 || !toId(l.at(0), &a.command) || !l.at(1).quoted || l.at(1).text.isEmpty())
            return fail(QStringLiteral("expected: <command id> \"<keys>\""));
        a.keys = l.at(1).text;
        list->append(a);
        return true;
    }

    bool readToolbarButton(const Line &l, QList<int> *list)
    {
        int command = 0;
        if (l.size() == 1 && isWord(l, 0, "separator"))
            list->append(0);
        else if (l.size() == 2 && isWord(l, 0, "button") && toId(l.at(1), &command) && command > 0)
            list->append(command);
        else
            return fail(QStringLiteral("expected: button <command id>, separator or end"));
        return true;
    }

    bool readDialogEntry(const Line &l, DialogResource *d)
    {
        int control = 0;
        QMap<int, QString> *target = nullptr;
        if (isWord(l, 0, "control"))
            target = &d->controls;
        else if (isWord(l, 0, "label"))
            target = &d->labels;
        else if (isWord(l, 0, "static"))
            target = &d->statics;
        if (!target || l.size() != 3 || !toId(l.at(1), &control) || !l.at(2).quoted)
            return fail(QStringLiteral("expected: control|label|static <id> \"<text>\""));
        if (target->contains(control))
            return fail(QStringLiteral("%1 %2 is defined twice").arg(l.at(0).text).arg(control));
        target->insert(control, l.at(2).text);
        return true;
    }

    QList<Line> m_lines;
    QList<int> m_numbers;
    QString m_source;
    int m_pos = 0;  // the next line to read
    int m_at = 0;   // the line being read, for the messages
};

} // namespace

bool parseResourceText(const QByteArray &utf8, const QString &sourceName, ResourceData *data, QString *error)
{
    QStringDecoder decoder(QStringDecoder::Utf8);
    QString text = decoder.decode(utf8);
    if (decoder.hasError()) {
        if (error)
            *error = QStringLiteral("%1: the file is not valid UTF-8 text").arg(sourceName);
        return false;
    }
    if (text.startsWith(QChar(0xFEFF)))
        text.remove(0, 1);
    QList<Line> lines;
    QList<int> numbers;
    const QStringList raw = text.split(QLatin1Char('\n'));
    for (int i = 0; i < raw.size(); ++i) {
        QString line = raw.at(i);
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
        Line tokens;
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
    *data = p.data;
    return true;
}
