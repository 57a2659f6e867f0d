#include "link/status_line.h"

namespace talveron::link {

void ShowStatus(StatusLine& status, const std::string& text) {
    status.SetStatus(text, StatusColor::Black);
    status.FitStatus(12);
}

}  // namespace talveron::link
