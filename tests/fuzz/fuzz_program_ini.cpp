// Program.ini over any bytes: the start-up reads it (language, port, resource library)
// without crashing, finds a resource library only inside the application folder, maps the
// port names to devices, and a value written reads back.
#include "FuzzSupport.h"

#include "base/Globals.h"
#include "base/ProgramIni.h"
#include "frame/Startup.h"
#include "radiolink/PortDevice.h"

#include <QFileInfo>

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    fuzzsupport::quietQt();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    // A fresh application folder each time.
    static int run = 0;
    const QString dir = fuzzsupport::scratchDirectory() + QStringLiteral("/app%1/").arg(run++);
    QDir().mkpath(dir);
    const QString userPath = dir + QStringLiteral("user/Program.ini");
    for (const char *name : {"Eng.dll", "Chs.dll", "Cht.dll"})
        QFile::link(QStringLiteral(SOURCE_DIR "/resources/") + QLatin1String(name), dir + QLatin1String(name));
    QFile ini(dir + QStringLiteral("Program.ini"));
    FUZZ_CHECK(ini.open(QIODevice::WriteOnly));
    ini.write(fuzzsupport::bytesOf(data, size));
    ini.close();

    const ProgramIni profile(dir, userPath);
    const QString language = profile.read(QStringLiteral("Setup"), QStringLiteral("Language"));
    FUZZ_CHECK(language.size() <= 255);
    const QString library = findResourceLibrary(dir, language);
    if (!library.isEmpty())
        FUZZ_CHECK(QFileInfo(library).absolutePath() + QLatin1Char('/') == dir);

    QString failText, detail;
    const bool loaded = loadLanguageSetup(dir, &failText, &detail);
    FUZZ_CHECK(loaded || !failText.isEmpty());
    FUZZ_CHECK(PortName.size() <= 255);
    for (int n = 1; n <= 8; ++n)
        (void)portDevice(QStringLiteral("COM%1").arg(n), dir);
    (void)portDevice(PortName, dir);

    if (profile.write(QStringLiteral("Setup"), QStringLiteral("COM"), QStringLiteral("COM3")))
        FUZZ_CHECK(profile.read(QStringLiteral("Setup"), QStringLiteral("COM")) == QLatin1String("COM3"));

    QDir(dir).removeRecursively();
    return 0;
}
