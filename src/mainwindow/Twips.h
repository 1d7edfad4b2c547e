#pragma once
// Lengths in twips (1440 to the inch), the unit the window's settings and column widths are kept in,
// converted with the logical resolution of the screen a widget is on (15 twips per pixel at 96 DPI).
class QWidget;

namespace Twips {
double perPixelX(const QWidget* widget);
double perPixelY(const QWidget* widget);

float fromPixelsX(int pixels, const QWidget* widget);
float fromPixelsY(int pixels, const QWidget* widget);
// Rounded to the nearest pixel.
int toPixelsX(double twips, const QWidget* widget);
int toPixelsY(double twips, const QWidget* widget);
} // namespace Twips
