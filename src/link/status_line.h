// The main window's status line (labErrMsg) as the link writes and reads it.
#pragma once

#include <string>

#include "image/status_color.h"

namespace talveron::link {

class StatusLine {
  public:
    virtual ~StatusLine() = default;
    // Sets the caption and its colour and makes the line visible.
    virtual void SetStatus(const std::string& text, StatusColor color) = 0;
    // Sets the font size of the tool strip and the line and sizes the line to its caption.
    virtual void FitStatus(int fontSize) = 0;
    // The caption shown now.
    virtual std::string StatusText() const = 0;
    // Whether that caption is a document's channel warning ("Channel #3 Range Out !", ...).
    virtual bool ShowsChannelWarning() const { return false; }
};

// The text in black at font size 12.
void ShowStatus(StatusLine& status, const std::string& text);

}  // namespace talveron::link
