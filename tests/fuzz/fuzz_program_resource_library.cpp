// Program's resource libraries over any bytes: a library either loads, and then every
// lookup the frame makes answers, or it is refused as a whole with a reason and holds nothing.
#include "FuzzSupport.h"

#include "base/ResourceLibrary.h"

namespace {

int menuDepth(const QList<MenuEntry> &entries)
{
    int depth = 0;
    for (const MenuEntry &e : entries)
        depth = std::max(depth, e.kind == MenuEntry::Popup ? 1 + menuDepth(e.children) : 0);
    return depth;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    fuzzsupport::quietQt();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    ResourceLibrary library;
    QString error;
    if (!library.parse(fuzzsupport::bytesOf(data, size), QStringLiteral("Fuzz.dll"), &error)) {
        FUZZ_CHECK(library.isEmpty());
        FUZZ_CHECK(!error.isEmpty());
        return 0;
    }
    library.setFallback(&builtInResources());
    (void)library.name();
    for (int id : library.stringIds()) {
        (void)library.string(id);
        (void)library.promptText(id);
        (void)library.tipText(id);
    }
    for (int id : library.menuIds()) {
        FUZZ_CHECK(menuDepth(library.menu(id)) < 1000);
        (void)library.accelerators(id);
        (void)library.toolbar(id);
    }
    for (int id : library.dialogIds()) {
        const DialogResource d = library.dialog(id);
        (void)library.dialogCaption(id);
        for (auto it = d.controls.cbegin(); it != d.controls.cend(); ++it)
            FUZZ_CHECK(library.controlText(id, it.key()) == it.value());
        for (int n : d.statics.keys())
            (void)library.staticText(id, n);
        for (int c : d.labels.keys())
            (void)library.labelText(id, c);
    }
    // The lookups of the main window, which fall back to the built-in library.
    (void)library.menu(ResId::MainMenu);
    (void)library.accelerators(ResId::MainMenu);
    (void)library.toolbar(ResId::MainMenu);
    (void)library.string(ResId::AppTitle);
    for (int d : {ResId::AboutDialog, ResId::ReadWriteDialog, ResId::OptionDialog, ResId::LanguageDialog,
                  ResId::PttIdDialog, ResId::PcbaDialog})
        (void)library.dialog(d);
    return 0;
}
