// Fontconfig, reached through Pango by the module's Cairo backend, keeps
// pattern caches it never frees; under the leak checker of sanitizer builds
// they are not this program's leaks. (Unused in other builds.)
extern "C" const char* __lsan_default_suppressions() {
    return "leak:libfontconfig.so\n";
}
extern "C" const char* __lsan_default_options() {
    return "print_suppressions=0";
}
