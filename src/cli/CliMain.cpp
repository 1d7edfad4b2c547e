// lockwell-cli: the vault from a terminal and from scripts.
#include "cli/LockwellCli.h"
#include "crypto/ProcessHardening.h"

int main(int argc, char* argv[])
{
    // Before any password is read: no core file can hold one.
    ProcessHardening::apply();
    return runLockwellCli(argc, argv);
}
