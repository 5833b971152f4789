// Keeps two parts of GCC's static C++ runtime out of the shipped program. The default
// terminate handler prints the escaping exception's demangled type to a console this
// program does not have, and brings a demangler and printf (some 70 KB). The library's
// throw helpers build std::logic_error and its kin on copy-on-write strings, which bring
// a second string implementation (some 75 KB). Linked into the executables only: the
// tests keep the library's own.
#include <cstdlib>
#include <exception>
#include <new>
#include <typeinfo>

#if defined(__GLIBCXX__)

namespace {

// Stands in for the library's errors that carry a message: a handler that catches
// std::exception still catches it and can read the message.
class LibraryError : public std::exception {
public:
    explicit LibraryError(const char* message) noexcept : message_(message) {}
    const char* what() const noexcept override { return message_; }

private:
    const char* message_;
};

}  // namespace

namespace __gnu_cxx {

// An exception nobody caught ends the program as before, without the console report.
void __verbose_terminate_handler() { std::abort(); }

}  // namespace __gnu_cxx

// All of libstdc++'s functexcept.o, so the linker never needs that object: a definition
// left out would pull it in again and fail the link with duplicate symbols.
namespace std {

void __throw_bad_exception() { throw bad_exception(); }
void __throw_bad_alloc() { throw bad_alloc(); }
void __throw_bad_array_new_length() { throw bad_array_new_length(); }
void __throw_bad_cast() { throw bad_cast(); }
void __throw_bad_typeid() { throw bad_typeid(); }
void __throw_logic_error(const char* message) { throw LibraryError(message); }
void __throw_domain_error(const char* message) { throw LibraryError(message); }
void __throw_invalid_argument(const char* message) { throw LibraryError(message); }
void __throw_length_error(const char* message) { throw LibraryError(message); }
void __throw_out_of_range(const char* message) { throw LibraryError(message); }
void __throw_out_of_range_fmt(const char* format, ...) { throw LibraryError(format); }
void __throw_runtime_error(const char* message) { throw LibraryError(message); }
void __throw_range_error(const char* message) { throw LibraryError(message); }
void __throw_overflow_error(const char* message) { throw LibraryError(message); }
void __throw_underflow_error(const char* message) { throw LibraryError(message); }

}  // namespace std

#endif
