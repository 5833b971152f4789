#pragma once

// The exit code of a program ended by an unexpected error.
constexpr unsigned UnexpectedErrorExitCode = 1;

constexpr const char* OutOfMemoryText = "There is not enough memory.";

// Tells the user that the program met an error it cannot carry on from (the heap refused a
// block, or a library check failed), then ends it. Needs no memory of its own.
[[noreturn]] void EndOnUnexpectedError(const char* what);
