// Fontconfig, reached through Pango by the Cairo backend, keeps pattern
// caches it never frees; they are not this module's memory.
extern "C" const char* __lsan_default_suppressions() {
    return "leak:libfontconfig.so\n";
}
