#include "FailingDisk.h"

#include <atomic>
#include <cstring>
#include <memory>
#include <sqlite3.h>
#include <vector>

namespace {
sqlite3_vfs* g_real = nullptr;
sqlite3_vfs g_vfs;
std::atomic<bool> g_failing{false};

// The engine's own file methods with the write replaced; one copy for each set of methods its files use.
struct Methods
{
    const sqlite3_io_methods* real;
    sqlite3_io_methods withFailingWrite;
};
std::vector<std::unique_ptr<Methods>> g_methods;

int failingWrite(sqlite3_file* file, const void* buffer, int amount, sqlite3_int64 offset)
{
    if (g_failing)
        return SQLITE_FULL;
    for (const auto& methods : g_methods) {
        if (file->pMethods == &methods->withFailingWrite)
            return methods->real->xWrite(file, buffer, amount, offset);
    }
    return SQLITE_IOERR_WRITE;
}

int openFile(sqlite3_vfs*, const char* name, sqlite3_file* file, int flags, int* outFlags)
{
    const int rc = g_real->xOpen(g_real, name, file, flags, outFlags);
    if (rc != SQLITE_OK || !file->pMethods)
        return rc;
    for (const auto& methods : g_methods) {
        if (methods->real == file->pMethods) {
            file->pMethods = &methods->withFailingWrite;
            return rc;
        }
    }
    auto methods = std::make_unique<Methods>();
    methods->real = file->pMethods;
    methods->withFailingWrite = *file->pMethods;
    methods->withFailingWrite.xWrite = failingWrite;
    file->pMethods = &methods->withFailingWrite;
    g_methods.push_back(std::move(methods));
    return rc;
}
} // namespace

FailingDisk::FailingDisk()
{
    g_real = sqlite3_vfs_find(nullptr);
    std::memcpy(&g_vfs, g_real, sizeof g_vfs);
    g_vfs.zName = "lockwell-test-failing-disk";
    g_vfs.xOpen = openFile;
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
