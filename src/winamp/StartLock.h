#pragma once
#include <windows.h>

#include "base/SessionMutex.h"
#include "base/UniqueHandle.h"

// A time limit counted from its making; the difference of two tick counts stays right
// across the counter's wrap at 49.7 days.
class Deadline {
public:
    explicit Deadline(DWORD ms) : start_(GetTickCount()), ms_(ms) {}
    DWORD Left() const {
        const DWORD elapsed = GetTickCount() - start_;
        return elapsed >= ms_ ? 0 : ms_ - elapsed;
    }
    bool Passed() const { return Left() == 0; }

private:
    DWORD start_;
    DWORD ms_;
};

// The mutex that clicks take to read and write the record below, in the session's namespace.
constexpr const char* StartLockName = "Local\\Orvalle.Jukelet.WinampStart";

// The Winamp a click started or closed, as the record knows it.
struct KnownWinamp {
    DWORD id = 0;
    KernelHandle process;  // while it runs
    // Started moments ago and already gone: a launcher, or a second Winamp handing over to a
    // first. The window may yet come, from another process.
    bool handingOver = false;
};

// What clicks tell each other about Winamp, across processes: the Winamp one of them started
// or closed, known by its process, and the turns in which clicks send: those that wait for
// Winamp, and those that find it ready while others still wait their turn. The record lives
// in named shared memory that the recorded Winamp itself holds open, so it outlasts the click
// that wrote it (a killed one too) for as long as that Winamp runs.
//
// Taken only for short sections, to read and write the record and to start Winamp: nothing
// is shown or waited for while it is held.
class StartLock {
public:
    StartLock();
    ~StartLock();
    StartLock(const StartLock&) = delete;
    StartLock& operator=(const StartLock&) = delete;

    // Whether clicks still wait their turn: the last turn taken is ahead of the last done.
    // Only looks, and creates nothing: fit for a click that finds Winamp ready.
    static bool TurnsPending();

    // False when others held it past timeoutMs. Without a mutex it is always had.
    bool Take(DWORD timeoutMs);
    void Give() { mutex_.Unlock(); }

    // While taken. What the record knows; a process that this click saw end (`ended`) is
    // not asked again, as its id may already name another. A recorded process counts as
    // starting or closing for one window wait: one that runs on without a window after that
    // is a launcher that stays, or a Winamp that lingers, and is no longer known.
    KnownWinamp Known(DWORD ended = 0);
    // `process` must allow PROCESS_DUP_HANDLE: it is given a handle to the record.
    void RememberStarted(HANDLE process, DWORD processId) { Remember(process, processId, true); }
    void RememberClosing(HANDLE process, DWORD processId) { Remember(process, processId, false); }
    // This click will send: it takes the next turn (once).
    void TakeTurn();

    // Not taken. Waits, at most until the deadline, until the click of the turn before has
    // sent, has been sending a while or has ended, then marks this click's send begun. Its
    // end is marked when the lock goes.
    void WaitForTurnAndSend(const Deadline& deadline);

private:
    struct Record {
        DWORD processId;   // the Winamp a click last started or closed; 0: none known
        DWORD started;     // nonzero when a click started it (else closed it)
        DWORD recordedAt;  // when it was started or closed
        DWORD lastTurn;    // the last turn taken, and the click that took it
        DWORD lastTurnProcess;
        DWORD sending;  // the last turn whose send has begun, and when
        DWORD sendingSince;
        DWORD done;  // the last turn that has sent or given up
    };
    void Remember(HANDLE process, DWORD processId, bool started);

    SessionMutex mutex_;
    KernelHandle mapping_;
    MappedView view_;
    Record alone_ = {};  // when no shared memory can be had
    volatile Record* record_ = &alone_;
    DWORD turn_ = 0;
    KernelHandle before_;  // the click of the turn before, while it runs
};
