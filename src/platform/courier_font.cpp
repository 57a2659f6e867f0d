#include "platform/courier_font.h"

namespace talveron::platform {

QFont CourierFont(int pointSize) {
    QFont font(QStringLiteral("Courier"));
    font.setStyleHint(QFont::TypeWriter);
    font.setFixedPitch(true);
    font.setPointSize(pointSize);
    return font;
}

}  // namespace talveron::platform
