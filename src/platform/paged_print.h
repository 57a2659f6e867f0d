// The printer side of printing: measures a font on a paged device (a printer, a PDF writer, a
// preview page) in twips, lets the core lay the pages out from those measures, and draws the
// positioned texts and rules, page after page. One layout, any device, any resolution.
#pragma once

#include <QByteArray>
#include <QFont>
#include <QPageSize>
#include <functional>

#include "image/print_layout.h"

class QPagedPaintDevice;

namespace talveron::platform {

// The paper the platform's locale prefers: Letter where inches rule, A4 elsewhere.
QPageSize LocalePaper();

using LayoutMaker = std::function<PrintLayout(const PrintMetrics&)>;

// Draws the layout onto the device in the font; the margin is measured in marginFont.
// Returns the number of pages drawn, 0 when the device could not be painted on.
int PrintPages(QPagedPaintDevice& device, const QFont& font, const QFont& marginFont,
               const LayoutMaker& layout);

// The same pages as a PDF document in memory, on the given paper with quarter-inch margins.
QByteArray PdfPages(const QPageSize& paper, const QFont& font, const QFont& marginFont,
                    const LayoutMaker& layout, const QString& title);

// The platform's short date (followed by a blank) and long time of now.
std::pair<std::string, std::string> PrintDateTime();

}  // namespace talveron::platform
