#pragma once

#include "settings/autorunhost.h"

#include <QString>

#include <functional>

namespace ovra {

class AppPaths;
class KeyStore;
struct ClockState;

// Starting a clock with the user's session: one autostart entry file per clock,
// "Ovra Clock - <name>.desktop" in the user's autostart folder, whose command line
// is this program with the clock's name. The Autorun field states the wish; this
// brings the file in line with it.
class Autorun final : public AutorunHost {
public:
    using Warning = std::function<void(const QString&)>;

    // state and paths belong to the clock process and are read at each call, so the
    // clock's name and folders may be settled after construction. warn hears of an
    // entry path taken by something that is not a regular file.
    Autorun(const ClockState& state, const AppPaths& paths, QString programPath, Warning warn = {});

    // The store whose clock list a clock must be in ("Default" always is) before an
    // entry is written for it: an entry starts the clock at every login, and one
    // for a clock that is not listed would keep starting a clock the dialog does
    // not show and cannot delete. Without a store nothing is checked.
    void setClockListStore(KeyStore* store) { m_store = store; }

    // 0 when the clock's entry exists with exactly the expected command line (after
    // trimming spaces, letter case counts), 1 otherwise.
    int getAutorunChoice() const;

    // Wish 0 writes the entry unless it is already right; any other wish removes it,
    // except that an entry with a different command line is left alone when the wish
    // is 1. Returns 1 when afterwards the entry holds the expected command line.
    int syncAutorunEntry(int wish);
    int syncAutorunEntry(int wish) override { return syncAutorunEntry(wish); }

    QString entryFilePath() const;
    QString expectedCommandLine() const;

    static QString entryFilePath(const QString& autostartFolder, const QString& clockName);
    static QString expectedCommandLine(const QString& programPath, const QString& clockName);
    // Removes a clock's entry; true when none is left.
    static bool removeAutorunEntry(const QString& autostartFolder, const QString& clockName);

private:
    // The entry's command line, cleaned; empty when there is no usable entry.
    QString currentCommandLine() const;
    bool writeEntry() const;
    // Whether the entry's TryExec is this program, so a session skips the entry
    // once the program is removed.
    bool namesThisProgram() const;
    bool clockListed() const;

    const ClockState& m_state;
    const AppPaths& m_paths;
    QString m_program;
    Warning m_warn;
    KeyStore* m_store = nullptr;
};

} // namespace ovra
