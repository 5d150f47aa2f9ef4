// The toolkit's libraries keep one-time allocations (type registrations, font and theme
// caches, the display connection) for the life of the process. Under LeakSanitizer (the
// debug build) every program that shows windows reads these suppressions from here; the
// library hands this file to each of them as a source of its own, since nothing would
// pull it out of a static library.

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
extern "C" const char* __lsan_default_options() { return "print_suppressions=0"; }
