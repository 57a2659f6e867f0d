// The fixed-pitch "Courier" of the status line, the channel lists, the printed channel plan and
// the program's icon. Through fontconfig it resolves to a metric-compatible face where one is
// installed, else to another fixed face, so the channel columns always line up.
#pragma once

#include <QFont>

namespace talveron::platform {

// "Courier" with the typewriter hint, not sized: the face every font below is made from.
QFont CourierFace();

// The face at a point size, fixed pitch, for the windows.
QFont CourierFont(int pointSize);

// The face sized in twips, for a painter that draws in twips (printing).
QFont CourierTwipsFont(int points);

}  // namespace talveron::platform
