// Linked into every program of a ThreadSanitizer build (-DPENTOLONE_SANITIZE=thread), the tests'
// helpers and the programs the build runs included: the races that are about Qt's own code, not
// ours, are left out by tsan.supp beside this one, each entry saying why. (The address
// sanitizer, its leak check included, needs nothing left out.)
// die_after_fork=0: a test that had started a helper through QProcess was itself killed at its
// next thread ("starting new threads after multi-threaded fork"): the mark set for the child
// reaches the parent, as Qt starts a helper from a child that shares its memory until the helper
// runs (the vfork way). Our children run a helper at once and start no thread.
extern "C" const char *__tsan_default_options()
{
    return "suppressions=" PENTOLONE_SOPPRESSIONI "/tsan.supp:die_after_fork=0";
}
