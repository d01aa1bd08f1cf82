#include "Twips.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include <cmath>

namespace t2 {

namespace {

int Scaled(int twips, double dpi) { return static_cast<int>(std::lround(twips * dpi / 1440.0)); }

}  // namespace

double LogicalDpi()
{
    if (auto* app = qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
        if (QScreen* s = app->primaryScreen()) {
            double dpi = s->logicalDotsPerInch();
            if (dpi > 0) return dpi;
        }
    return 96.0;
}

int Twips(int twips) { return Scaled(twips, LogicalDpi()); }

int Twips(const QWidget* widget, int twips)
{
    const int dpi = widget ? widget->logicalDpiX() : 0;
    return Scaled(twips, dpi > 0 ? dpi : LogicalDpi());
}

QSize TwipsSize(int width, int height) { return {Twips(width), Twips(height)}; }

QPoint TwipsPoint(int left, int top) { return {Twips(left), Twips(top)}; }

QRect TwipsRect(int left, int top, int width, int height)
{
    return {Twips(left), Twips(top), Twips(width), Twips(height)};
}

}  // namespace t2
