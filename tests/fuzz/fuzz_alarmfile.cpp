// Any bytes as an alarm file: loading stays inside the table, reads every whole
// record as stored, and what it loaded saves and loads again unchanged.
#include "alarms/alarmfile.h"
#include "fuzz/fuzzcheck.h"
#include "support/testenv.h"

#include <QBuffer>

#include <cmath>
#include <cstdlib>

using namespace ovra;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    QBuffer file(&bytes);
    file.open(QIODevice::ReadOnly);
    test::RecordingMessageSink messages;
    AlarmTable table;
    const int32_t result = readAlarmRecords(table, file, messages);

    const auto claimed = qint64(std::nearbyint(double(size) / kAlarmRecordSize));
    const qint64 whole = std::min<qint64>({claimed, qint64(size) / kAlarmRecordSize, 128});
    CHECK(table.alarmCount() == whole);
    CHECK(result == (claimed > 128 ? 1 : 0));
    CHECK(int(messages.messages.size()) == result);

    const QByteArray saved = alarmFileBytes(table);
    CHECK(saved.size() == whole * kAlarmRecordSize);
    for (int i = 0; i < table.alarmCount(); ++i) {
        // Numbers and the reserved block exactly; texts may be re-encoded as UTF-8.
        CHECK(saved.mid(i * kAlarmRecordSize, 56) == bytes.mid(i * kAlarmRecordSize, 56));
        const QString minute = alarmMinuteText(table.at(i).AlarmTime);
        CHECK(minute.isEmpty() || minute.size() == 5);
    }

    // Once written by this program, a file reads back to the same bytes.
    QByteArray again = saved;
    QBuffer second(&again);
    second.open(QIODevice::ReadOnly);
    AlarmTable reloaded;
    CHECK(readAlarmRecords(reloaded, second, messages) == 0);
    CHECK(alarmFileBytes(reloaded) == saved);
    return 0;
}
