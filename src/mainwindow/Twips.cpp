#include "mainwindow/Twips.h"

#include "errortrap/Bulwark.h"

#include <QWidget>
#include <cmath>

namespace {
constexpr double kTwipsPerInch = 1440.0;
constexpr double kDefaultDpi = 96.0;

double dpiOrDefault(int dpi)
{
    return dpi > 0 ? double(dpi) : kDefaultDpi;
}
} // namespace

double Twips::perPixelX(const QWidget* widget)
{
    BW_TRACE("Twips.cpp", "Function perPixelX");
    return kTwipsPerInch / dpiOrDefault(widget ? widget->logicalDpiX() : 0);
}

double Twips::perPixelY(const QWidget* widget)
{
    BW_TRACE("Twips.cpp", "Function perPixelY");
    return kTwipsPerInch / dpiOrDefault(widget ? widget->logicalDpiY() : 0);
}

float Twips::fromPixelsX(int pixels, const QWidget* widget)
{
    BW_TRACE("Twips.cpp", "Function fromPixelsX");
    return static_cast<float>(pixels * perPixelX(widget));
}

float Twips::fromPixelsY(int pixels, const QWidget* widget)
{
    BW_TRACE("Twips.cpp", "Function fromPixelsY");
    return static_cast<float>(pixels * perPixelY(widget));
}

int Twips::toPixelsX(double twips, const QWidget* widget)
{
    BW_TRACE("Twips.cpp", "Function toPixelsX");
    return static_cast<int>(std::lround(twips / perPixelX(widget)));
}

int Twips::toPixelsY(double twips, const QWidget* widget)
{
    BW_TRACE("Twips.cpp", "Function toPixelsY");
    return static_cast<int>(std::lround(twips / perPixelY(widget)));
}
