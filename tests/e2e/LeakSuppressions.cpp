// Fontconfig, reached through Pango by the module's Cairo backend, keeps
// pattern caches it never frees; they are not the module's memory.
extern "C" const char* __lsan_default_suppressions() {
    return "leak:libfontconfig.so\n";
}
