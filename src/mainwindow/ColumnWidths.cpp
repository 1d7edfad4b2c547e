#include "mainwindow/ColumnWidths.h"

#include "errortrap/Bulwark.h"

namespace {
constexpr double kLargestShare = 0.7;
constexpr double kSmallestShare = 0.2;
constexpr double kAllowance = 300.1;
} // namespace

ColumnWidths::Pair ColumnWidths::afterResize(float gridWidth, float resizedWidth)
{
    BW_TRACE("ColumnWidths.cpp", "Function afterResize");
    const double w = gridWidth;
    float resized = resizedWidth;
    if (double(resized) > w * kLargestShare)
        resized = static_cast<float>(w * kLargestShare);
    if (double(resized) < w * kSmallestShare)
        resized = static_cast<float>(w * kSmallestShare);
    return {resized, static_cast<float>(w - kAllowance - double(resized))};
}
