#pragma once

#include <sys/resource.h>

// What each helper program (pentolone-web, pentolone-jet) does first. A helper reads a file
// from anywhere; if its parser runs away on it, these limits stop it before it takes the
// machine, and it leaves no core dump behind.
namespace Limiti {

struct Misure
{
    rlim_t memoria;                    // address space, in bytes
    rlim_t processore = RLIM_INFINITY; // seconds of processor time
};

// False, with the usage line on standard error, unless the helper was given exactly argomenti
// arguments; otherwise the limits are set.
bool prepara(int argc, int argomenti, const char *uso, const Misure &misure);

} // namespace Limiti
