#include "tools/SharedRecordset.h"

#include "errortrap/Bulwark.h"
#include "storage/Recordset.h"

namespace {
constexpr const char* kModule = "SharedRecordset.cpp";

std::weak_ptr<Recordset>& reference()
{
    static std::weak_ptr<Recordset> records;
    return records;
}
} // namespace

void SharedRecordset::set(const std::shared_ptr<Recordset>& records)
{
    BW_TRACE(kModule, "Sub set");
    reference() = records;
}

void SharedRecordset::clear()
{
    BW_TRACE(kModule, "Sub clear");
    reference().reset();
}

std::shared_ptr<Recordset> SharedRecordset::get()
{
    BW_TRACE(kModule, "Function get");
    return reference().lock();
}

bool SharedRecordset::isDataFileOpen()
{
    BW_TRACE(kModule, "Function isDataFileOpen");
    const std::shared_ptr<Recordset> records = get();
    return records && records->hasActiveConnection();
}
