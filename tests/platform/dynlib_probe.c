/* A library with one exported entry, for the run-time binding tests. */
__attribute__((visibility("default"))) int ProbeAnswer(void)
{
    return 42;
}
