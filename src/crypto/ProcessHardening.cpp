#include "crypto/ProcessHardening.h"

#include <sys/resource.h>
#if __has_include(<sys/prctl.h>)
#include <sys/prctl.h>
#endif

// Not traced: it runs before anything else of the program, the trace included.

void ProcessHardening::apply()
{
    const rlimit noCore{0, 0};
    (void)setrlimit(RLIMIT_CORE, &noCore);
#ifdef PR_SET_DUMPABLE
    (void)prctl(PR_SET_DUMPABLE, 0, 0, 0, 0);
#endif
}
