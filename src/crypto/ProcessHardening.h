#pragma once
// Keeps secrets out of core dumps: the process writes no core file and other processes of the same user
// cannot attach to it or read its memory through /proc. Called once at start-up, before any password is
// read.
namespace ProcessHardening {
void apply();
} // namespace ProcessHardening
