#include "FailingDisk.h"

#include <atomic>
#include <cstring>
#include <sqlite3.h>

namespace {
sqlite3_vfs* g_real = nullptr;
sqlite3_vfs g_vfs;
sqlite3_io_methods g_methods;
std::atomic<bool> g_failing{false};

// Our file: the real one lies right behind it.
struct ShimFile
{
    sqlite3_file base;
    sqlite3_file* real() { return reinterpret_cast<sqlite3_file*>(this + 1); }
};

sqlite3_file* realOf(sqlite3_file* file)
{
    return reinterpret_cast<ShimFile*>(file)->real();
}

int shimClose(sqlite3_file* f)
{
    return realOf(f)->pMethods->xClose(realOf(f));
}
int shimRead(sqlite3_file* f, void* buffer, int amount, sqlite3_int64 offset)
{
    return realOf(f)->pMethods->xRead(realOf(f), buffer, amount, offset);
}
int shimWrite(sqlite3_file* f, const void* buffer, int amount, sqlite3_int64 offset)
{
    if (g_failing)
        return SQLITE_FULL;
    return realOf(f)->pMethods->xWrite(realOf(f), buffer, amount, offset);
}
int shimTruncate(sqlite3_file* f, sqlite3_int64 size)
{
    return realOf(f)->pMethods->xTruncate(realOf(f), size);
}
int shimSync(sqlite3_file* f, int flags)
{
    return realOf(f)->pMethods->xSync(realOf(f), flags);
}
int shimFileSize(sqlite3_file* f, sqlite3_int64* size)
{
    return realOf(f)->pMethods->xFileSize(realOf(f), size);
}
int shimLock(sqlite3_file* f, int level)
{
    return realOf(f)->pMethods->xLock(realOf(f), level);
}
int shimUnlock(sqlite3_file* f, int level)
{
    return realOf(f)->pMethods->xUnlock(realOf(f), level);
}
int shimCheckReservedLock(sqlite3_file* f, int* out)
{
    return realOf(f)->pMethods->xCheckReservedLock(realOf(f), out);
}
int shimFileControl(sqlite3_file* f, int op, void* arg)
{
    return realOf(f)->pMethods->xFileControl(realOf(f), op, arg);
}
int shimSectorSize(sqlite3_file* f)
{
    return realOf(f)->pMethods->xSectorSize(realOf(f));
}
int shimDeviceCharacteristics(sqlite3_file* f)
{
    return realOf(f)->pMethods->xDeviceCharacteristics(realOf(f));
}
int shimShmMap(sqlite3_file* f, int region, int size, int extend, void volatile** out)
{
    return realOf(f)->pMethods->xShmMap(realOf(f), region, size, extend, out);
}
int shimShmLock(sqlite3_file* f, int offset, int n, int flags)
{
    return realOf(f)->pMethods->xShmLock(realOf(f), offset, n, flags);
}
void shimShmBarrier(sqlite3_file* f)
{
    realOf(f)->pMethods->xShmBarrier(realOf(f));
}
int shimShmUnmap(sqlite3_file* f, int deleteFlag)
{
    return realOf(f)->pMethods->xShmUnmap(realOf(f), deleteFlag);
}
int shimFetch(sqlite3_file* f, sqlite3_int64 offset, int amount, void** out)
{
    return realOf(f)->pMethods->xFetch(realOf(f), offset, amount, out);
}
int shimUnfetch(sqlite3_file* f, sqlite3_int64 offset, void* page)
{
    return realOf(f)->pMethods->xUnfetch(realOf(f), offset, page);
}

int shimOpen(sqlite3_vfs*, const char* name, sqlite3_file* file, int flags, int* outFlags)
{
    auto* shim = reinterpret_cast<ShimFile*>(file);
    shim->base.pMethods = nullptr;
    const int rc = g_real->xOpen(g_real, name, shim->real(), flags, outFlags);
    if (rc == SQLITE_OK && shim->real()->pMethods) {
        // The first file tells which version of the methods the real files have.
        if (g_methods.iVersion == 0) {
            g_methods.iVersion = shim->real()->pMethods->iVersion;
            g_methods.xClose = shimClose;
            g_methods.xRead = shimRead;
            g_methods.xWrite = shimWrite;
            g_methods.xTruncate = shimTruncate;
            g_methods.xSync = shimSync;
            g_methods.xFileSize = shimFileSize;
            g_methods.xLock = shimLock;
            g_methods.xUnlock = shimUnlock;
            g_methods.xCheckReservedLock = shimCheckReservedLock;
            g_methods.xFileControl = shimFileControl;
            g_methods.xSectorSize = shimSectorSize;
            g_methods.xDeviceCharacteristics = shimDeviceCharacteristics;
            g_methods.xShmMap = shimShmMap;
            g_methods.xShmLock = shimShmLock;
            g_methods.xShmBarrier = shimShmBarrier;
            g_methods.xShmUnmap = shimShmUnmap;
            g_methods.xFetch = shimFetch;
            g_methods.xUnfetch = shimUnfetch;
        }
        shim->base.pMethods = &g_methods;
    }
    return rc;
}
} // namespace

FailingDisk::FailingDisk()
{
    g_real = sqlite3_vfs_find(nullptr);
    std::memcpy(&g_vfs, g_real, sizeof g_vfs);
    g_vfs.zName = "lockwell-test-failing-disk";
    g_vfs.szOsFile = int(sizeof(ShimFile)) + g_real->szOsFile;
    g_vfs.xOpen = shimOpen;
    g_vfs.pNext = nullptr;
    sqlite3_vfs_register(&g_vfs, 1);
}

FailingDisk::~FailingDisk()
{
    g_failing = false;
    sqlite3_vfs_unregister(&g_vfs);
    sqlite3_vfs_register(g_real, 1);
}

void FailingDisk::fail()
{
    g_failing = true;
}

void FailingDisk::heal()
{
    g_failing = false;
}
