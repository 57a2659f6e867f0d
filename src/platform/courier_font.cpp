#include "platform/courier_font.h"

#include "platform/twips.h"

namespace talveron::platform {

QFont CourierFace() {
    QFont font(QStringLiteral("Courier"));
    font.setStyleHint(QFont::TypeWriter);
    return font;
}

QFont CourierFont(int pointSize) {
    QFont font = CourierFace();
    font.setFixedPitch(true);
    font.setPointSize(pointSize);
    return font;
}

QFont CourierTwipsFont(int points) {
    QFont font = CourierFace();
    // The painter draws in twips, so the size is given in its units, not in points (which
    // the device would convert at its own resolution).
    font.setPixelSize(points * kTwipsPerPoint);
    return font;
}

}  // namespace talveron::platform
