#include "limiti/limiti.h"

#include <cstdio>

namespace Limiti {

bool prepara(int argc, int argomenti, const char *uso, const Misure &misure)
{
    if (argc != argomenti + 1) {
        std::fprintf(stderr, "uso: %s\n", uso);
        return false;
    }
#if !defined(__SANITIZE_ADDRESS__) && !defined(__SANITIZE_THREAD__)
    // A sanitizer's build (for developers) has reserved terabytes of address space for its
    // shadow memory before main: under this limit every allocation would fail. The others stay.
    const rlimit memoria{misure.memoria, misure.memoria};
    setrlimit(RLIMIT_AS, &memoria);
#endif
    const rlimit processore{misure.processore, misure.processore};
    setrlimit(RLIMIT_CPU, &processore);
    const rlimit core{0, 0};
    setrlimit(RLIMIT_CORE, &core);
    return true;
}

} // namespace Limiti
