// Any stored clock list text: parsing stays within the list's bounds, and adding or
// removing a clock changes exactly that clock's entry and keeps every other one.
#include "memorystore.h"
#include "settings/clockfakes.h"

#include "settings/clocklist.h"
#include "settings/registry.h"
#include "settings/settingsstore.h"
#include "shell/clockname.h"
#include "shell/messagesink.h"
#include "shell/textutil.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <cstdlib>

using namespace ovra;

namespace {

class QuietSink final : public MessageSink {
public:
    void showMessage(const QString&, const QString&, MessageIcon) override { ++shown; }
    int shown = 0;
};

void check(bool condition) {
    if (!condition)
        std::abort();
}

QString storedText(RegistryBackend& store) {
    const RegistryPath path = SplitRegistryPath(kClockListKey);
    RawValue raw;
    if (store.readValue(path.root, path.subKey, kClockListValue, raw) != status::Success)
        return {};
    return QString::fromUtf8(raw.data);
}

// The list as every clock sees it: the stored text is cleaned (cut at a NUL,
// trimmed) before it is parsed.
QStringList listOf(RegistryBackend& store) {
    return ParseClockList(CleanString(storedText(store)));
}

// The entries a clock can have been added under. A stored text may hold others
// (edited by hand, from an old version): names with braces or "/", which no
// operation here has to keep intact.
QStringList usable(const QStringList& names) {
    QStringList out;
    for (const QString& name : names)
        if (clockNameProblem(name).isEmpty() || name == u"Default")
            out << name;
    return out;
}

QStringList without(QStringList names, const QString& name) {
    names.removeAll(name);
    return names;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider fdp(data, size);
    const QString text = QString::fromUtf8(fdp.ConsumeRandomLengthString(2048));
    const QString added = QString::fromUtf8(fdp.ConsumeRandomLengthString(80));
    const int zone = fdp.ConsumeIntegralInRange(-2, 99);
    const size_t removeAt = fdp.ConsumeIntegral<uint8_t>();

    const QStringList names = ParseClockList(text);
    check(!names.isEmpty() && names.size() <= kMaxClockEntries);
    check(names.front() == u"Default");
    QString canonical;
    for (qsizetype i = 1; i < names.size(); ++i) {
        check(names[i] == CleanString(names[i]));
        check(!names[i].contains(u'}'));
        canonical += u'{' + names[i] + u'}';
    }
    // The list as this program writes it reads back to the same names.
    check(ParseClockList(canonical) == names);

    fuzz::MemoryStore store;
    Registry registry(store);
    registry.writeText(kClockListKey, kClockListValue, text);
    test::FakeInstanceChannel channel;
    test::RecordingLauncher launcher;
    QuietSink messages;
    ClockList clocks({registry, channel, launcher, messages}, QStringLiteral("/nonexistent/"));
    clocks.LoadClockList(false);

    const QString before = storedText(store);
    const QStringList listed = listOf(store);
    const QString name = CleanString(added);
    if (clocks.AddClock(added, zone)) {
        check(clockNameProblem(name).isEmpty() && !listed.contains(name));
        const QStringList after = listOf(store);
        check(!after.isEmpty() && after.back() == name);
        check(usable(after) == usable(listed) << name);
        check(registry.readInteger(clockKeyPath(name), QStringLiteral("TimeZoneIndex")) == zone);
        check(launcher.launched == QStringList{name});
    } else {
        check(messages.shown == 1);
        check(storedText(store) == before);
        check(launcher.launched.isEmpty());
    }

    const QStringList current = listOf(store);
    if (current.size() > 1) {
        const QString victim = current[qsizetype(1 + removeAt % size_t(current.size() - 1))];
        const QString beforeRemove = storedText(store);
        if (clocks.RemoveClockData(victim))
            check(usable(listOf(store)) == without(usable(current), victim));
        else
            check(storedText(store) == beforeRemove);
    }
    return 0;
}
