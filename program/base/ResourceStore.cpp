// The library of the current language, installed at start-up, and the built-in English one.
#include "ResourceLibrary.h"

namespace {
ResourceLibrary g_resources;
} // namespace

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
