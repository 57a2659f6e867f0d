// The fixed-pitch "Courier" of the status line and the channel lists. Through fontconfig it
// resolves to a metric-compatible face where one is installed, else to another fixed face,
// so the channel columns always line up.
#pragma once

#include <QFont>

namespace talveron::platform {

QFont CourierFont(int pointSize);

}  // namespace talveron::platform
