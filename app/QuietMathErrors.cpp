// The runtime reports a failed maths function by calling _matherr, whose own version prints
// the error to the standard error stream. A windowed program has no such stream, and this
// one calls no maths function: this stand-in leaves every such error to the runtime's
// default handling, and spares the program the printer it would never use.

extern "C" int _matherr(void*) { return 0; }
