#pragma once
#include <exception>

// The exit code of a program ended by an unexpected error.
constexpr unsigned UnexpectedErrorExitCode = 1;

// Tells the user that the program met an error it cannot carry on from, then ends it.
[[noreturn]] void EndOnUnexpectedError(const char* what);

// Runs `work`; an exception it lets out ends the program with a message instead. Every
// Win32 callback runs its work through this: no exception may cross the system's frames
// (32-bit GCC's unwinding cannot pass through them).
template <typename Work>
auto NoExceptionEscapes(Work work) -> decltype(work()) {
    try {
        return work();
    } catch (const std::exception& error) {
        EndOnUnexpectedError(error.what());
    } catch (...) {
        EndOnUnexpectedError(nullptr);
    }
}
