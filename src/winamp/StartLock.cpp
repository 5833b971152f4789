#include "winamp/StartLock.h"

#include "winamp/RemoteControl.h"

namespace {

constexpr const char* RecordName = "Local\\Orvalle.Jukelet.WinampRecord";
// Long enough for the click before to have its send queued in Winamp, short enough that a
// Winamp busy with one command holds the clicks after it by no more than this.
constexpr DWORD SendTurnGraceMs = 100;
// Marks are written in a moment; a lock held longer than this belongs to a stuck click.
constexpr DWORD MarkLockMs = 1000;
constexpr DWORD TurnPollMs = 5;

}  // namespace

StartLock::StartLock() : mutex_(StartLockName) {
    mapping_ = CreateSessionObject(RecordName, [](const char* name) {
        return CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, sizeof(Record), name);
    });
    if (mapping_) view_.reset(MapViewOfFile(mapping_.get(), FILE_MAP_WRITE, 0, 0, sizeof(Record)));
    // A new mapping is all zeros: no Winamp known, no turn taken.
    if (view_) record_ = static_cast<Record*>(view_.get());
}

StartLock::~StartLock() {
    if (turn_ && Take(MarkLockMs)) {
        if (record_->done < turn_) record_->done = turn_;
    }
    Give();
}

bool StartLock::TurnsPending() {
    const KernelHandle mapping =
        CreateSessionObject(RecordName, [](const char* name) { return OpenFileMappingA(FILE_MAP_READ, FALSE, name); });
    if (!mapping) return false;
    const MappedView view(MapViewOfFile(mapping.get(), FILE_MAP_READ, 0, 0, sizeof(Record)));
    const volatile Record* record = static_cast<const Record*>(view.get());
    return record && record->done < record->lastTurn;
}

bool StartLock::Take(DWORD timeoutMs) { return !mutex_ || mutex_.Lock(timeoutMs); }

KnownWinamp StartLock::Known(DWORD ended) {
    KnownWinamp known;
    // Counted as starting or closing for one window wait, running or not; forgotten after
    // that, and once gone for good (below), as its id may soon name another process.
    if (GetTickCount() - record_->recordedAt >= WinampWindowWaitMs) record_->processId = 0;
    known.id = record_->processId;
    if (!known.id) return known;
    if (known.id != ended) known.process.reset(OpenProcess(SYNCHRONIZE, FALSE, known.id));
    if (known.process && WaitForSingleObject(known.process.get(), 0) == WAIT_TIMEOUT) return known;
    known.process.reset();
    known.handingOver = record_->started;
    if (!known.handingOver) record_->processId = 0;
    return known;
}

void StartLock::Remember(HANDLE process, DWORD processId, bool started) {
    // Winamp's own handle keeps the record for Winamp's life; Winamp never uses it. One
    // already named here was given one when it was named.
    HANDLE kept = nullptr;
    if (mapping_ && record_->processId != processId)
        DuplicateHandle(GetCurrentProcess(), mapping_.get(), process, &kept, 0, FALSE, DUPLICATE_SAME_ACCESS);
    record_->started = started;
    record_->recordedAt = GetTickCount();
    record_->processId = processId;
}

void StartLock::TakeTurn() {
    if (turn_) return;
    before_.reset(OpenProcess(SYNCHRONIZE, FALSE, record_->lastTurnProcess));
    record_->lastTurnProcess = GetCurrentProcessId();
    turn_ = ++record_->lastTurn;
}

void StartLock::WaitForTurnAndSend(const Deadline& deadline) {
    if (!turn_) return;
    // Sent messages are taken in the order they were queued. A Winamp that answers has
    // taken the command before this one by the time its send returns.
    const DWORD before = turn_ - 1;
    while (before_ && record_->done < before && !deadline.Passed()) {
        if (record_->sending >= before && GetTickCount() - record_->sendingSince >= SendTurnGraceMs) break;
        // Doubles as the poll interval; a click killed in its turn never marks it.
        if (WaitForSingleObject(before_.get(), TurnPollMs) == WAIT_OBJECT_0) break;
    }
    if (!Take(MarkLockMs)) return;
    if (record_->sending < turn_) {
        record_->sendingSince = GetTickCount();
        record_->sending = turn_;
    }
    Give();
}
