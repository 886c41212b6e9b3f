// The program is built without exceptions, yet the standard library's string, container and
// function code still calls its throwing helpers; the library's own would bring in its
// exception classes and the unwinder, four fifths of the file. The program alone gets these
// instead: each failure they stand for (a string past its maximum size, no memory left) ends
// the process, as an uncaught exception would. They are the helpers that the program's code
// calls, as its link shows: should it call another, ProgramSize names the library member
// that came with it.

#include <cstdlib>
#include <new>

namespace {
[[noreturn]] void stopProgram() { std::abort(); }
}  // namespace

namespace std {
[[noreturn]] void __throw_bad_alloc() { stopProgram(); }
[[noreturn]] void __throw_bad_array_new_length() { stopProgram(); }
[[noreturn]] void __throw_bad_function_call() { stopProgram(); }
[[noreturn]] void __throw_length_error(const char*) { stopProgram(); }
[[noreturn]] void __throw_logic_error(const char*) { stopProgram(); }
[[noreturn]] void __throw_out_of_range_fmt(const char*, ...) { stopProgram(); }
}  // namespace std

// The library's own throws std::bad_alloc when no memory is left; its array forms call this one.
void* operator new(std::size_t size)
{
    if (void* memory = std::malloc(size == 0 ? 1 : size))
        return memory;
    stopProgram();
}

void operator delete(void* memory) noexcept { std::free(memory); }
void operator delete(void* memory, std::size_t) noexcept { std::free(memory); }
