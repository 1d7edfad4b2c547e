#pragma once
// What the process does about its own memory before any secret reaches it.
//
// apply() is the first thing a program of Lockwell runs, before a password can be typed:
//   - the core file size limit goes to zero, soft and hard, so a crash writes no core file that could
//     hold the master password, a data file password or a record;
//   - the process is marked not dumpable, so no core is written even where the limit is ignored (a
//     core_pattern pipe), and no other process of the same user may attach to it or read its memory
//     (ptrace, /proc/<pid>/mem, /proc/<pid>/maps).
// Each step is taken where the platform has the call and skipped quietly where it has not; a step the
// system refuses leaves the program running as before.
//
// What follows from it: /proc/<pid>/ of the program belongs to root from then on. Its world-readable
// files (limits, status, statm) stay readable by the user; maps, environ, fd and mem do not. Debuggers
// attach only with root's rights, or start the program themselves. Programs Lockwell starts (the
// browser) inherit the zero core limit but not the mark.
namespace ProcessHardening {
void apply();
}
