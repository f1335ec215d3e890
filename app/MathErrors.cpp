// The runtime's start-up refers to a math error handler that it installs only when asked to
// (_MINGW_INSTALL_DEBUG_MATHERR), which this program never does. Its own handler would be
// linked all the same, with fprintf and the standard streams, 0.6 KiB for nothing: this one
// takes its place and, if it were ever installed, would leave errors to the default handling.
struct _exception;

extern "C" int _matherr(_exception*) { return 0; }
