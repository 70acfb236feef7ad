#include "shell/LanguageLibrary.h"

#include <QDir>
#include <QFile>
#include <QStringDecoder>
#include <algorithm>

namespace {

// Undoes the escapes of a library text: \n newline, \t tab, \\ backslash.
bool unescape(const QString &in, QString *out, QString *why)
{
    out->clear();
    out->reserve(in.size());
    for (qsizetype i = 0; i < in.size(); ++i) {
        const QChar c = in.at(i);
        if (c != QLatin1Char('\\')) {
            out->append(c);
            continue;
        }
        if (++i >= in.size()) {
            *why = QStringLiteral("a backslash ends the line");
            return false;
        }
        switch (in.at(i).unicode()) {
        case 'n': out->append(QLatin1Char('\n')); break;
        case 't': out->append(QLatin1Char('\t')); break;
        case '\\': out->append(QLatin1Char('\\')); break;
        default:
            *why = QStringLiteral("unknown escape \"\\%1\"").arg(in.at(i));
            return false;
        }
    }
    return true;
}

} // namespace

bool LanguageLibrary::load(const QString &path)
{
    const QString shown = QDir::toNativeSeparators(path);
    QFile file(path);
    if (!file.exists()) {
        m_error = QStringLiteral("%1: no such file").arg(shown);
        return false;
    }
    if (!file.open(QIODevice::ReadOnly)) {
        m_error = QStringLiteral("%1: %2").arg(shown, file.errorString());
        return false;
    }
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        m_error = QStringLiteral("%1: %2").arg(shown, file.errorString());
        return false;
    }

    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString content = decoder.decode(bytes);
    if (decoder.hasError()) {
        m_error = QStringLiteral("%1: not UTF-8 text").arg(shown);
        return false;
    }

    QHash<int, QString> texts;
    const QStringList lines = content.split(QLatin1Char('\n'));
    for (int n = 0; n < lines.size(); ++n) {
        QString line = lines.at(n);
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
        if (n == 0 && line.startsWith(QChar(0xFEFF)))
            line.remove(0, 1);
        if (line.trimmed().isEmpty() || line.startsWith(QLatin1Char('#')))
            continue;
        auto fail = [&](const QString &why) {
            m_error = QStringLiteral("%1, line %2: %3").arg(shown).arg(n + 1).arg(why);
            return false;
        };
        const qsizetype tab = line.indexOf(QLatin1Char('\t'));
        if (tab < 0)
            return fail(QStringLiteral("no tab between the number and the text"));
        const QString idText = line.left(tab);
        const bool digits = !idText.isEmpty() && idText.size() <= 5
                            && std::all_of(idText.begin(), idText.end(),
                                           [](QChar c) { return c >= QLatin1Char('0') && c <= QLatin1Char('9'); });
        if (!digits)
            return fail(QStringLiteral("\"%1\" is not a string number").arg(idText));
        const int id = idText.toInt();
        if (texts.contains(id))
            return fail(QStringLiteral("string %1 appears twice").arg(id));
        QString text, why;
        if (!unescape(line.mid(tab + 1), &text, &why))
            return fail(why);
        texts.insert(id, truncatedToBytes(text, MaxTextBytes));
    }

    m_texts = std::move(texts);
    m_error.clear();
    m_loaded = true;
    return true;
}

QString LanguageLibrary::pathOf(const QString &directory, const QString &name)
{
    return QDir(directory).filePath(name + QStringLiteral(".dll"));
}

const QVector<int> &LanguageLibrary::appliedIds()
{
    static const QVector<int> ids{
        1, 2, 3, 4, 5, 6,                    // about box, its button, the dialog close button
        7, 8,                                // OK and Cancel of the confirmation dialog
        9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20, 21, 22, 23, 24,  // menus, pages 0, 1, 5
        25, 26, 27, 28, 29, 30, 73, 31,      // channel table headers and single-channel labels
        32, 76, 77,                          // single-channel boxes and voice mode label
        34, 35, 36, 37,                      // marks off, on, high, low
        38, 39, 40, 41, 42, 43, 45, 46, 47,  // page 1 captions
        48,                                  // minutes unit, time-out list rebuild
        89, 88,                              // active band list rebuild
        56, 57,                              // language menu items
        58, 59, 60, 61, 62, 64,              // link notices, status bar, confirmation texts
        65, 66, 67, 70,                      // channel buttons, band group
        74, 75, 78, 79,                      // marks wide, narrow, compander, scrambler
        80, 81, 82, 83, 84, 85, 87,
        88, 89, 90, 91,                      // band groups and range rows on page 5
        93, 94, 95,                          // theme items
        96, 97, 98, 99, 100, 101, 102,
        103, 104, 105,                       // squelch mode label and list rebuild
        106, 107, 108, 109, 110, 112, 113, 114, 115, 116,
        117, 118, 119, 120,                  // PTT ID type label and list rebuild
        121, 122, 123, 124, 125, 126, 127, 128, 129, 130, 131, 132,
        133, 134, 135,                       // remote control type label and list rebuild
        136, 137, 138, 139,                  // side key functions 4 to 7
        140, 141, 142, 143, 144, 145, 146,
        147, 148,                            // undo and redo
        149, 150, 151, 152,                  // the question before unsaved edits are lost
        153, 154, 155,                       // open backup, export and import of channels
        156, 157,                            // fast link and verify boxes of the transfer dialog
        170, 171, 172, 173, 174, 175, 176,   // the check after a write, refusals, backups
    };
    return ids;
}

QString LanguageLibrary::truncatedToBytes(const QString &text, int maxBytes)
{
    const QByteArray utf8 = text.toUtf8();
    if (utf8.size() <= maxBytes)
        return text;
    qsizetype cut = maxBytes;
    // Step back over continuation bytes so that the cut falls before a character's first byte.
    while (cut > 0 && (uchar(utf8.at(cut)) & 0xC0) == 0x80)
        --cut;
    return QString::fromUtf8(utf8.left(cut));
}
