// The printed channel plan as positioned text: page heads, the document's labels with the
// date and time, the system option summary, and one row per channel in use with its options,
// page after page. Everything is placed in twips (1/1440 inch) from measurements the printer
// side supplies, so a printer, a PDF file and a preview draw the same pages from one layout.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "image/channel_line.h"
#include "image/system_options.h"

namespace talveron {

struct Document;

// A row ends a page when the next text line would start at or below this height.
inline constexpr int kPrintPageLimitTwips = 14772;
inline constexpr int kPrintRuleWidth = 5;

// What the printer tells the layout, all in twips.
struct PrintMetrics {
    std::function<int(std::string_view)> width;  // a text's width in the print font (Courier 11)
    int lineHeight = 0;                          // one text line of the print font
    int pageWidth = 0;                           // the printable width of the page
    int margin = 0;  // PrnMargin: the width of "ZZ" in the printer's starting font
};

// What the plan shows of a document.
struct ChannelPlan {
    std::string fileName;  // FileBaseName of the window's caption
    std::string modelLabel, rangeLabel, customerLabel, serialLabel;  // the window's captions
    std::string date, time;  // the platform's short date and long time of printing
    SystemOptions system;
    int channelCount = 0;
    std::vector<std::string> lines;
    std::vector<std::uint8_t> chOpt;
};

// The plan of a document as its window shows it, printed at the given date and time.
ChannelPlan PlanOf(const Document& doc, std::string date, std::string time);

struct PrintText {
    int page;  // from 1
    int x;     // twips from the left end of the line (PrnMargin from the paper's printable edge)
    int y;     // twips from the top of the page to the top of the text line
    std::string text;
};
struct PrintRule {
    int page;
    int x1, x2, y;
    int lineWidth;
};

struct PrintLayout {
    int originX = 0;    // where x = 0 lies, from the printable area's left edge (PrnMargin)
    int lineWidth = 0;  // PrnWidth: page width less four margins
    int pages = 0;
    std::vector<PrintText> texts;
    std::vector<PrintRule> rules;
};

PrintLayout LayoutChannelPlan(const ChannelPlan& plan, const PrintMetrics& metrics);

// The ReadMe text: on every page the title "ReadMe" centred and "Page :" n ending at the right
// edge of the text (page width less four margins), an empty line, then the text's lines. The
// text starts at the printable area's edge (originX 0).
PrintLayout LayoutReadMe(const std::vector<std::string>& lines, const PrintMetrics& metrics);

}  // namespace talveron
