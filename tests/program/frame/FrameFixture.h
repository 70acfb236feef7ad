#pragma once
// A throw-away application directory for start-up tests: Program.ini with the given text and
// copies of the shipped resource libraries.
#include <QDir>
#include <QFile>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

struct AppDirFixture {
    QTemporaryDir dir;

    // ini: the whole text of Program.ini, or a null string for no file.
    explicit AppDirFixture(const QString &ini = QStringLiteral("[Setup]\nLanguage=Eng\nCOM=COM1\n"),
                           const QStringList &libraries = {QStringLiteral("Eng.dll"), QStringLiteral("Chs.dll"),
                                                           QStringLiteral("Cht.dll")})
    {
        if (!ini.isNull())
            writeFile(QStringLiteral("Program.ini"), ini.toUtf8());
        for (const QString &lib : libraries)
            QFile::copy(QStringLiteral(SOURCE_DIR "/resources/") + lib, filePath(lib));
    }
    QString path() const { return dir.path() + QLatin1Char('/'); }
    QString filePath(const QString &name) const { return dir.filePath(name); }
    void writeFile(const QString &name, const QByteArray &data) const
    {
        QFile f(filePath(name));
        if (f.open(QIODevice::WriteOnly | QIODevice::Truncate))
            f.write(data);
    }
    QByteArray readFile(const QString &name) const
    {
        QFile f(filePath(name));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    // A library in its own language: Eng.dll with the File menu and the title renamed.
    void writeFrenchLibrary(const QString &name = QStringLiteral("Fr.dll")) const
    {
        QFile src(QStringLiteral(SOURCE_DIR "/resources/Eng.dll"));
        src.open(QIODevice::ReadOnly);
        QByteArray text = src.readAll();
        text.replace("library \"English\"", "library \"Français\"");
        text.replace("popup \"&File\"", "popup \"&Fichier\"");
        writeFile(name, text);
    }
};
