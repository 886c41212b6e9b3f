// The runtime's start-up walks a list of pseudo-relocations, which the linker fills for data
// imported from a DLL without a declaration saying so. A program linked statically against
// the system's DLLs alone imports no data that way, and its list is empty: the walker, with
// its error printer and memory-protection calls, would be a kilobyte and a half of code
// that never runs. This stand-in is linked instead, and stops the program should the list
// ever hold an entry, so that nothing goes unrelocated in silence.

#include <cstdlib>

extern "C" {
extern char __RUNTIME_PSEUDO_RELOC_LIST__;
extern char __RUNTIME_PSEUDO_RELOC_LIST_END__;

void _pei386_runtime_relocator()
{
    if (&__RUNTIME_PSEUDO_RELOC_LIST__ != &__RUNTIME_PSEUDO_RELOC_LIST_END__)
        std::abort();
}
}
