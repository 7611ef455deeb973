// Saves the alarm file and a clock's settings over and over, generation after
// generation, until it is killed. After both of a generation are saved it writes
// the generation's number and a newline to standard output, unbuffered, so the
// process that kills it knows which saves were complete.
#include "stress/generations.h"

#include "alarms/alarmfile.h"
#include "settings/sqlitestorebackend.h"

#include <cstdio>
#include <cstdlib>
#include <string>

#include <unistd.h>

using namespace ovra;

namespace {
class StderrSink final : public MessageSink {
public:
    void showMessage(const QString& text, const QString&, MessageIcon) override {
        std::fprintf(stderr, "message: %s\n", qUtf8Printable(text));
        std::exit(3);
    }
};
} // namespace

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: crashwriter STORE ALARMFILE FIRST-GENERATION\n");
        return 2;
    }
    const QString storePath = QString::fromLocal8Bit(argv[1]);
    const QString alarms = QString::fromLocal8Bit(argv[2]);
    SqliteStoreBackend backend(storePath, [](const QString& warning) {
        std::fprintf(stderr, "store: %s\n", qUtf8Printable(warning));
        std::exit(4);
    });
    KeyStore store(backend);
    StderrSink messages;
    AlarmTable table;
    for (qint64 g = std::atoll(argv[3]);; ++g) {
        test::fillAlarmGeneration(table, g);
        if (saveAlarmFile(table, alarms, messages) != 0)
            return 5;
        if (test::writeSettingsGeneration(store, g) != 0)
            return 7;
        const std::string line = std::to_string(g) + '\n';
        if (::write(STDOUT_FILENO, line.data(), line.size()) != ssize_t(line.size()))
            return 6;
    }
}
