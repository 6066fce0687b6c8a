#include "limiti/limiti.h"

#include <cstdio>

namespace Limiti {

bool prepara(int argc, int argomenti, const char *uso, const Misure &misure)
{
    if (argc != argomenti + 1) {
        std::fprintf(stderr, "uso: %s\n", uso);
        return false;
    }
    const rlimit memoria{misure.memoria, misure.memoria};
    setrlimit(RLIMIT_AS, &memoria);
    const rlimit processore{misure.processore, misure.processore};
    setrlimit(RLIMIT_CPU, &processore);
    const rlimit core{0, 0};
    setrlimit(RLIMIT_CORE, &core);
    return true;
}

} // namespace Limiti
