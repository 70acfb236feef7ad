#pragma once
// Test classes register themselves here; the shared test main runs them all, so that one
// executable serves each folder of tests. Usage, at the end of a test .cpp:
//     REGISTER_TEST(TestChannelTable)
//     #include "tst_channeltable.moc"
#include <QObject>
#include <functional>
#include <vector>

namespace testsupport {
struct Entry {
    const char *name;
    std::function<QObject *()> make;
};
inline std::vector<Entry> &registry()
{
    static std::vector<Entry> entries;
    return entries;
}
struct Registrar {
    Registrar(const char *name, std::function<QObject *()> make) { registry().push_back({name, std::move(make)}); }
};
} // namespace testsupport

#define REGISTER_TEST(Class) \
    static const testsupport::Registrar registrar_##Class(#Class, [] { return static_cast<QObject *>(new Class); });
