#include "crypto/ProcessHardening.h"

#include <sys/prctl.h>
#include <sys/resource.h>

namespace ProcessHardening {

void apply()
{
    // Failures are not fatal: the program still works, it is only less protected.
    const rlimit noCore{0, 0};
    (void)setrlimit(RLIMIT_CORE, &noCore);
    (void)prctl(PR_SET_DUMPABLE, 0, 0, 0, 0);
}

} // namespace ProcessHardening
