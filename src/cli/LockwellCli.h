#pragma once
// lockwell-cli's whole run: the command line read, the command run, and the exit status. One line on
// standard error says why a run failed (0 done, 1 failed, 2 usage error).
int runLockwellCli(int argc, char* argv[]);
