#include "platform/twips.h"

#include <QGuiApplication>
#include <QScreen>
#include <cmath>

namespace talveron::platform {

double LogicalDpi() {
    if (QGuiApplication::instance() != nullptr) {
        if (const QScreen* screen = QGuiApplication::primaryScreen()) {
            return screen->logicalDotsPerInch();
        }
    }
    return 96.0;
}

double PixelsPerTwip(double dpi) {
    return dpi / 1440.0;
}

int TwipsToPixels(int twips, double dpi) {
    return static_cast<int>(std::lround(twips * PixelsPerTwip(dpi)));
}

int PixelsToTwips(int pixels, double dpi) {
    return static_cast<int>(std::lround(pixels / PixelsPerTwip(dpi)));
}

}  // namespace talveron::platform
