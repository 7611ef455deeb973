// Any stored clock list text: parsing stays within the list's bounds, and adding or
// removing a clock changes exactly that clock's entry and keeps every other one.
#include "fuzz/fuzzcheck.h"
#include "support/clockfakes.h"
#include "support/memorystore.h"
#include "support/testenv.h"

#include "base/clockname.h"
#include "base/messagesink.h"
#include "base/textutil.h"
#include "settings/clocklist.h"
#include "settings/keystore.h"
#include "settings/settingsstore.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <cstdio>
#include <cstdlib>

using namespace ovra;

namespace {

RawValue storedValue(StoreBackend& memory) {
    const KeyPath path = splitKeyPath(kClockListKey);
    RawValue raw;
    memory.readValue(path.root, path.subKey, kClockListValue, raw);
    return raw;
}

bool operator==(const RawValue& a, const RawValue& b) {
    return a.type == b.type && a.data == b.data;
}

// The list as every clock sees it, whatever its length: a text kind decoded (bytes
// of a binary value one character each), cut at a NUL and trimmed, then parsed.
QStringList listOf(StoreBackend& memory) {
    const RawValue raw = storedValue(memory);
    QString text;
    if (raw.type == valuetype::Binary)
        text = QString::fromLatin1(raw.data);
    else if (raw.type == valuetype::String || raw.type == valuetype::ExpandString ||
             raw.type == valuetype::MultiString)
        text = QString::fromUtf8(raw.data);
    return parseClockList(cleanString(text));
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
    const std::string bytes = fdp.ConsumeRandomLengthString(2048);
    const QString text = QString::fromUtf8(bytes);
    const QString added = QString::fromUtf8(fdp.ConsumeRandomLengthString(80));
    const int zone = fdp.ConsumeIntegralInRange(-2, 99);
    const size_t removeAt = fdp.ConsumeIntegral<uint8_t>();
    const uint32_t kind =
        fdp.PickValueInArray({valuetype::String, valuetype::ExpandString, valuetype::MultiString,
                              valuetype::Binary, valuetype::Dword});

    const QStringList names = parseClockList(text);
    CHECK(!names.isEmpty() && names.size() <= kMaxClockEntries);
    CHECK(names.front() == u"Default");
    QString canonical;
    for (qsizetype i = 1; i < names.size(); ++i) {
        CHECK(names[i] == cleanString(names[i]));
        CHECK(!names[i].contains(u'}'));
        canonical += u'{' + names[i] + u'}';
    }
    // The list as this program writes it reads back to the same names.
    CHECK(parseClockList(canonical) == names);

    test::MemoryStoreBackend memory;
    KeyStore store(memory);
    const KeyPath listPath = splitKeyPath(kClockListKey);
    memory.writeValue(listPath.root, listPath.subKey, kClockListValue,
                      {kind, QByteArray(bytes.data(), qsizetype(bytes.size()))});
    test::FakeInstanceChannel channel;
    test::RecordingLauncher launcher;
    test::RecordingMessageSink messages;
    ClockList clocks({store, channel, launcher, messages}, QStringLiteral("/nonexistent/"));
    clocks.loadClockList(false);

    const RawValue before = storedValue(memory);
    const QStringList listed = listOf(memory);
    const QString name = cleanString(added);
    if (clocks.addClock(added, zone)) {
        CHECK(clockNameProblem(name).isEmpty() && !listed.contains(name));
        const QStringList after = listOf(memory);
        CHECK(!after.isEmpty() && after.back() == name);
        CHECK(usable(after) == usable(listed) << name);
        CHECK(store.readInteger(clockKeyPath(name), QStringLiteral("TimeZoneIndex")) == zone);
        CHECK(launcher.launched == QStringList{name});
    } else {
        CHECK(messages.messages.size() == 1);
        CHECK(storedValue(memory) == before);
        CHECK(launcher.launched.isEmpty());
    }

    const QStringList current = listOf(memory);
    if (current.size() > 1) {
        const QString victim = current[qsizetype(1 + removeAt % size_t(current.size() - 1))];
        const RawValue beforeRemove = storedValue(memory);
        if (clocks.removeClockData(victim)) {
            // A full list may have hidden entries beyond its last place; they move up.
            const QStringList expected = without(usable(current), victim);
            const QStringList after = usable(listOf(memory));
            CHECK(!after.contains(victim));
            CHECK(current.size() < kMaxClockEntries ? after == expected
                                                    : after.mid(0, expected.size()) == expected);
        } else
            CHECK(storedValue(memory) == beforeRemove);
    }
    return 0;
}
