// Linked into every program of a sanitizer build (-DPENTOLONE_SANITIZE=thread or address), the
// tests' helpers and the programs the build runs included: the reports that are about Qt's own
// code, not ours, are left out by the files beside this one, each entry saying why.
// die_after_fork=0: QProcess starts a helper from a child that shares the parent's memory
// until it runs the helper (vfork), so the sanitizer's mark "forked while threads ran", set in
// the child, is seen by the parent too, which it would then kill at its next thread.
extern "C" const char *__tsan_default_options()
{
    return "suppressions=" PENTOLONE_SOPPRESSIONI "/tsan.supp:die_after_fork=0";
}

extern "C" const char *__lsan_default_options()
{
    return "suppressions=" PENTOLONE_SOPPRESSIONI "/lsan.supp";
}
