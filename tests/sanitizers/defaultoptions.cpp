// Options the sanitizer runtimes read at start, built into every test program of a
// sanitizer build so that they hold however the tests are started (make test, ctest, by
// hand); exported, so that the runtime finds them.

extern "C" {

// Leaks inside system libraries that are not ours; see the file.
__attribute__((visibility("default"))) const char *__lsan_default_options()
{
    return "suppressions=" SONOLUX_LSAN_SUPPRESSIONS ":print_suppressions=0";
}

// Undefined behaviour is fatal in these builds; its report carries the stack.
__attribute__((visibility("default"))) const char *__ubsan_default_options()
{
    return "print_stacktrace=1";
}

} // extern "C"
