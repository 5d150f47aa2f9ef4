// The toolkit's libraries keep one-time allocations (type registrations, font and theme
// caches, the display connection) for the life of the process. Under LeakSanitizer (the
// debug build) every program that may show windows reads these suppressions from here:
// korvane_toolkit_leaks hands this file to each of them as a source of its own, since the
// runtime asks the program for them, not a library or the module.

extern "C" const char* __lsan_default_suppressions() {
  return "leak:libgtk-3.so\n"
         "leak:libgdk-3.so\n"
         "leak:libglib-2.0.so\n"
         "leak:libgobject-2.0.so\n"
         "leak:libgio-2.0.so\n"
         "leak:libfontconfig.so\n"
         "leak:libpango-1.0.so\n"
         "leak:libpangoft2-1.0.so\n"
         "leak:libpangocairo-1.0.so\n"
         "leak:libcairo.so\n"
         "leak:libharfbuzz.so\n"
         "leak:libX11.so\n"
         "leak:libgdk_pixbuf-2.0.so\n"
         "leak:libdbus-1.so\n"
         "leak:libwebkit2gtk-4.1.so\n"
         "leak:libjavascriptcoregtk-4.1.so\n"
         "leak:libsoup-3.0.so\n"
         // The playback engine's sound output may be SDL's, which keeps its drivers' lists.
         "leak:libSDL2-2.0.so\n";
}

// The suppressed one-time allocations are expected; listing them at every exit is noise.
// A program loads the toolkit with its module, so the toolkit's thread-local storage is
// dynamic, and this runtime misreads glibc's dynamic blocks (it guesses their header from
// an address) and faults scanning them at exit: it is told not to track them. Static
// thread-local storage is still scanned.
extern "C" const char* __lsan_default_options() { return "print_suppressions=0:intercept_tls_get_addr=0"; }
