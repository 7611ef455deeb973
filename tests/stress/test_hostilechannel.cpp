// What another process may leave where a clock's channel socket goes: the socket
// of a clock that died, a file, a link to someone's file, or a socket that a
// process of another user listens on. The clock takes its place without touching
// anything else, and no request of this user ever reaches the stranger.
#include "settings/instancepaths.h"
#include "settings/instanceserver.h"
#include "settings/localinstancechannel.h"
#include "settings/privatesocket.h"
#include "support/testenv.h"

#include <QDir>
#include <QFile>
#include <QLockFile>

#include <gtest/gtest.h>

#include <cstring>
#include <functional>

#include <fcntl.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace ovra;

namespace {

const QString kClock = QStringLiteral("Tokyo");

// A socket bound at path, and with asUser also switched to that user before it
// listens: the kernel records who listens, not who bound. -1 when that fails.
int listenAt(const QByteArray& path, uid_t asUser = 0) {
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un addr{};
    addr.sun_family = AF_UNIX;
    std::memcpy(addr.sun_path, path.constData(), size_t(path.size()));
    if (fd < 0 || ::bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof(addr)) != 0)
        return -1;
    if (asUser != 0 && (::setgid(asUser) != 0 || ::setuid(asUser) != 0))
        return -1;
    return ::listen(fd, 4) == 0 ? fd : -1;
}

bool isSocket(const QString& path) {
    struct stat st {};
    return ::lstat(QFile::encodeName(path).constData(), &st) == 0 && S_ISSOCK(st.st_mode);
}

struct Folder {
    test::TestHome home;
    QString folder = instanceSocketFolder(home.roots().runtimeRoot);
    QString socket = instanceSocketPath(folder, kClock);
    Folder() { ensurePrivateFolder(folder); }
};

// Claims the clock's socket, then checks that this user's clocks now find this
// process under the clock's name.
void expectClaimedByUs(const Folder& f, const std::string& where) {
    InstanceServer server(f.socket);
    QString problem;
    ASSERT_EQ(server.claim(&problem), InstanceServer::Claim::Listening)
        << where << ": " << qPrintable(problem);
    EXPECT_TRUE(isSocket(f.socket)) << where;
    EXPECT_EQ(LocalInstanceChannel(f.folder).find(kClock, false), qint64(::getpid())) << where;
}

} // namespace

TEST(HostileChannel, WhatIsLeftAtTheSocketPathIsReplacedAndNothingElseTouched) {
    const struct {
        const char* what;
        std::function<void(const Folder&)> leave;
    } cases[] = {
        {"the socket of a clock that died",
         [](const Folder& f) {
             const pid_t child = ::fork();
             if (child == 0)
                 ::_exit(listenAt(QFile::encodeName(f.socket)) >= 0 ? 0 : 1); // never unlinks
             int status = 0;
             ::waitpid(child, &status, 0);
             ASSERT_TRUE(isSocket(f.socket));
         }},
        {"a file",
         [](const Folder& f) {
             QFile file(f.socket);
             ASSERT_TRUE(file.open(QIODevice::WriteOnly));
             file.write("junk");
         }},
        {"a link to someone's file",
         [](const Folder& f) {
             const QString precious = f.home.path() + QStringLiteral("/precious.txt");
             QFile file(precious);
             ASSERT_TRUE(file.open(QIODevice::WriteOnly));
             file.write("keep me");
             file.close();
             ASSERT_TRUE(QFile::link(precious, f.socket));
         }},
        {"a lock naming a live process that is no clock",
         [](const Folder& f) {
             // As a lock of a clock that was killed reads once its process id has
             // gone to another process: this test's own id and program name.
             const QString lockPath = f.socket + QStringLiteral(".lock");
             QByteArray contents;
             {
                 QLockFile lock(lockPath);
                 ASSERT_TRUE(lock.tryLock(0));
                 QFile held(lockPath);
                 ASSERT_TRUE(held.open(QIODevice::ReadOnly));
                 contents = held.readAll();
             }
             QFile left(lockPath);
             ASSERT_TRUE(left.open(QIODevice::WriteOnly));
             left.write(contents);
         }},
    };
    for (const auto& c : cases) {
        Folder f;
        c.leave(f);
        EXPECT_EQ(LocalInstanceChannel(f.folder).find(kClock, false), 0) << c.what;
        EXPECT_EQ(LocalInstanceChannel(f.folder).close(kClock, 500), CloseOutcome::NotRunning)
            << c.what;
        expectClaimedByUs(f, c.what);
        QFile precious(f.home.path() + QStringLiteral("/precious.txt"));
        if (precious.exists()) {
            ASSERT_TRUE(precious.open(QIODevice::ReadOnly));
            EXPECT_EQ(precious.readAll(), QByteArray("keep me")) << c.what;
        }
    }
}

TEST(HostileChannel, ASocketOfAnotherUserIsNeverTalkedTo) {
    if (::getuid() != 0)
        GTEST_SKIP() << "needs root to listen as another user";
    Folder f;
    // A process of another user listens at the clock's path, as if it had planted
    // its socket there; it answers whatever comes like a clock would, and sends
    // what it hears back through a pipe.
    int ready[2], heard[2];
    ASSERT_EQ(::pipe(ready), 0);
    ASSERT_EQ(::pipe(heard), 0);
    const pid_t stranger = ::fork();
    if (stranger == 0) {
        const int fd = listenAt(QFile::encodeName(f.socket), 65534);
        if (::write(ready[1], fd >= 0 ? "y" : "n", 1) != 1)
            ::_exit(4);
        for (;;) {
            const int peer = ::accept(fd, nullptr, nullptr);
            if (peer < 0)
                ::_exit(3);
            char buffer[64];
            // A clock that hangs up at once is one of the cases; go on to the next.
            [[maybe_unused]] const ssize_t sent = ::write(peer, "ok\nclosed\n", 10);
            const ssize_t n = ::read(peer, buffer, sizeof(buffer));
            if (n > 0 && ::write(heard[1], buffer, size_t(n)) != n)
                ::_exit(4);
            ::close(peer);
        }
    }
    char state = 0;
    ASSERT_EQ(::read(ready[0], &state, 1), 1);
    ASSERT_EQ(state, 'y');

    LocalInstanceChannel client(f.folder);
    EXPECT_EQ(client.find(kClock, true), 0);
    EXPECT_EQ(client.close(kClock, 1000), CloseOutcome::NotRunning);
    expectClaimedByUs(f, "planted socket");

    ::kill(stranger, SIGKILL);
    ::waitpid(stranger, nullptr, 0);
    ::close(heard[1]);
    char buffer[256];
    const ssize_t got = ::read(heard[0], buffer, sizeof(buffer));
    EXPECT_LE(got, 0) << "the stranger heard: "
                      << std::string(buffer, size_t(std::max<ssize_t>(got, 0)));
}

// A lock at the clock's name that another user's process holds, in a folder this
// user can write to, is no clock of this user: the clock is not taken for running,
// nothing is sent the stranger's way (root could end any process), and this user's
// clock then runs.
TEST(HostileChannel, ALockHeldByAnotherUserIsNoClock) {
    if (::getuid() != 0)
        GTEST_SKIP() << "needs root to hold a lock as another user";
    const struct {
        const char* what;
        bool fileOfTheStranger;
    } cases[] = {
        {"this user's lock file, held by another user", false},
        {"another user's lock file, held by that user", true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Folder f;
        const QByteArray lockPath = QFile::encodeName(instanceLockPath(f.socket));
        int ready[2];
        ASSERT_EQ(::pipe(ready), 0);
        const pid_t stranger = ::fork();
        if (stranger == 0) {
            // Opened here, locked once the process is the stranger: the kernel
            // records who locks.
            const int fd = ::open(lockPath.constData(), O_RDWR | O_CREAT, 0644);
            if (fd < 0 || (c.fileOfTheStranger && ::fchown(fd, 65534, 65534) != 0) ||
                ::setgid(65534) != 0 || ::setuid(65534) != 0 || ::flock(fd, LOCK_EX) != 0 ||
                ::write(ready[1], "y", 1) != 1)
                ::_exit(1);
            ::pause();
            ::_exit(0);
        }
        char state = 0;
        ASSERT_EQ(::read(ready[0], &state, 1), 1);
        ::close(ready[0]);
        ::close(ready[1]);

        LocalInstanceChannel client(f.folder);
        EXPECT_EQ(client.find(kClock, false), 0);
        EXPECT_EQ(client.close(kClock, 1000), CloseOutcome::NotRunning);
        EXPECT_EQ(::waitpid(stranger, nullptr, WNOHANG), 0) << "the stranger was ended";
        expectClaimedByUs(f, c.what);

        ::kill(stranger, SIGKILL);
        ::waitpid(stranger, nullptr, 0);
    }
}

TEST(HostileChannel, ASocketFolderThatOthersOwnOrCanChangeIsNotUsed) {
    const bool root = ::getuid() == 0;
    const QString uid = QString::number(::getuid());
    const struct {
        const char* what;
        bool withRuntime;
        bool needsRoot;
        // Spoils a folder of the home and returns it; the sockets must not go there.
        std::function<QString(const test::TestHome&)> spoil;
    } cases[] = {
        {"a runtime folder anyone can write to", true, false,
         [](const test::TestHome& h) {
             const QString runtime = h.roots().runtimeRoot;
             ::chmod(QFile::encodeName(runtime).constData(), 0777);
             return runtime;
         }},
        {"a runtime folder its group can write to", true, false,
         [](const test::TestHome& h) {
             const QString runtime = h.roots().runtimeRoot;
             ::chmod(QFile::encodeName(runtime).constData(), 0770);
             return runtime;
         }},
        {"a runtime folder of another user", true, true,
         [](const test::TestHome& h) {
             const QString runtime = h.roots().runtimeRoot;
             EXPECT_EQ(::chown(QFile::encodeName(runtime).constData(), 65534, 65534), 0);
             return runtime;
         }},
        {"the temporary socket folder taken by another user", false, true,
         [uid](const test::TestHome& h) {
             const QString taken = h.path() + QStringLiteral("/tmp/ovra-clock-") + uid;
             EXPECT_TRUE(QDir().mkpath(taken));
             EXPECT_EQ(::chown(QFile::encodeName(taken).constData(), 65534, 65534), 0);
             return taken;
         }},
        {"the temporary socket folder is a link", false, false,
         [uid](const test::TestHome& h) {
             const QString elsewhere = h.path() + QStringLiteral("/elsewhere");
             EXPECT_TRUE(QDir().mkpath(elsewhere));
             const QString taken = h.path() + QStringLiteral("/tmp/ovra-clock-") + uid;
             EXPECT_TRUE(QFile::link(elsewhere, taken));
             return elsewhere;
         }},
        {"a temporary folder anyone can write to, without the sticky bit", false, false,
         [](const test::TestHome& h) {
             const QString temp = h.path() + QStringLiteral("/tmp");
             ::chmod(QFile::encodeName(temp).constData(), 0777);
             return temp;
         }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        if (c.needsRoot && !root)
            continue;
        test::TestHome home;
        const QString spoiled = c.spoil(home);
        const QString runtime = c.withRuntime ? home.roots().runtimeRoot : QString();
        const QString folder = instanceSocketFolder(runtime);
        EXPECT_FALSE(folder.startsWith(spoiled + u'/')) << qPrintable(folder);
        EXPECT_EQ(instanceSocketFolder(runtime), folder) << "every process meets in one place";
        struct stat st {};
        ASSERT_EQ(::lstat(QFile::encodeName(folder.chopped(1)).constData(), &st), 0)
            << qPrintable(folder);
        EXPECT_TRUE(S_ISDIR(st.st_mode));
        EXPECT_EQ(st.st_uid, ::getuid());
        EXPECT_EQ(st.st_mode & 0777, 0700u);

        InstanceServer server(instanceSocketPath(folder, kClock));
        QString problem;
        ASSERT_EQ(server.claim(&problem), InstanceServer::Claim::Listening) << qPrintable(problem);
        EXPECT_EQ(LocalInstanceChannel(folder).find(kClock, false), qint64(::getpid()));
    }
}
