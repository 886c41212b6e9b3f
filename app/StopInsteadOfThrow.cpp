// The program is built without exceptions, yet the standard library's string and container
// code still names its throwing helpers; linking the library's own would bring in its
// exception classes, the unwinder and the thread library, about three quarters of the file.
// The program alone gets these instead: each failure they stand for (a string past its
// maximum size, no memory left) ends the process, as an uncaught exception would.

#include <bits/functexcept.h>

#include <cstdlib>
#include <new>

namespace {
[[noreturn]] void stopProgram() { std::abort(); }
}  // namespace

namespace std {
void __throw_bad_exception() { stopProgram(); }
void __throw_bad_alloc() { stopProgram(); }
void __throw_bad_array_new_length() { stopProgram(); }
void __throw_bad_cast() { stopProgram(); }
void __throw_bad_typeid() { stopProgram(); }
void __throw_bad_function_call() { stopProgram(); }
void __throw_logic_error(const char*) { stopProgram(); }
void __throw_domain_error(const char*) { stopProgram(); }
void __throw_invalid_argument(const char*) { stopProgram(); }
void __throw_length_error(const char*) { stopProgram(); }
void __throw_out_of_range(const char*) { stopProgram(); }
void __throw_out_of_range_fmt(const char*, ...) { stopProgram(); }
void __throw_runtime_error(const char*) { stopProgram(); }
void __throw_range_error(const char*) { stopProgram(); }
void __throw_overflow_error(const char*) { stopProgram(); }
void __throw_underflow_error(const char*) { stopProgram(); }
}  // namespace std

// The runtime's default terminate handler prints the exception's demangled name, which a
// GUI program cannot show anyway; this one spares the program the demangler.
namespace __gnu_cxx {
void __verbose_terminate_handler() { stopProgram(); }
}  // namespace __gnu_cxx

void* operator new(std::size_t size)
{
    if (void* memory = std::malloc(size == 0 ? 1 : size))
        return memory;
    stopProgram();
}

void* operator new[](std::size_t size) { return operator new(size); }
void operator delete(void* memory) noexcept { std::free(memory); }
void operator delete[](void* memory) noexcept { std::free(memory); }
void operator delete(void* memory, std::size_t) noexcept { std::free(memory); }
void operator delete[](void* memory, std::size_t) noexcept { std::free(memory); }
