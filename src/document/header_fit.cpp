#include "document/header_fit.h"

namespace talveron::document {

int FitHeaderFontSize(int startSize, int windowWidth, const std::function<int(int)>& measure,
                      int maxSize) {
    int size = startSize;
    int k = 1;
    bool shrinking = false;
    for (;;) {
        if (measure(size) < windowWidth) {
            if (shrinking) break;
            ++k;
            if (size + k > maxSize) break;
            size += k;
        } else {
            shrinking = true;
            --k;
            if (k <= 0) break;
            size -= k;
            if (size < 1) {
                size = 1;
                break;
            }
        }
    }
    return size;
}

}  // namespace talveron::document
