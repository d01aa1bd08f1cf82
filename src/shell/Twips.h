// Window geometry is laid out in twips (1440 to the inch): 15 twips are one
// pixel at 96 dpi; the pixel count scales with the screen's logical dpi.
#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>

class QWidget;

namespace t2 {

// Pixels for a length in twips, rounded to the nearest pixel, at the primary
// screen's logical dpi.
int Twips(int twips);
// The same at the widget's own logical dpi (the primary screen's without one).
int Twips(const QWidget* widget, int twips);
QSize TwipsSize(int width, int height);
QPoint TwipsPoint(int left, int top);
QRect TwipsRect(int left, int top, int width, int height);

// The logical dpi used (the primary screen's, 96 without a screen).
double LogicalDpi();

}  // namespace t2
