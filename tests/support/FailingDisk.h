#pragma once
// A disk that can be made to refuse writes, for the tests of what a full disk does to an edit. While one
// exists, every data file opened from then on goes through it (the engine's default way to files, wrapped);
// fail() makes each later write of those files fail as a full disk does, heal() lets them through again.
class FailingDisk
{
public:
    FailingDisk();
    ~FailingDisk();
    FailingDisk(const FailingDisk&) = delete;
    FailingDisk& operator=(const FailingDisk&) = delete;

    void fail();
    void heal();
};
