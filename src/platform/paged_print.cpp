#include "platform/paged_print.h"

#include <QBuffer>
#include <QDateTime>
#include <QFontMetrics>
#include <QLocale>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPdfWriter>
#include <QPen>
#include <QRegularExpression>
#include <cmath>

#include "platform/twips.h"

namespace talveron::platform {

namespace {

constexpr int kTwipsPerInch = 1440;

}  // namespace

QPageSize LocalePaper() {
    return QLocale::system().measurementSystem() == QLocale::ImperialUSSystem
               ? QPageSize(QPageSize::Letter)
               : QPageSize(QPageSize::A4);
}

int PrintPages(QPagedPaintDevice& device, const QFont& font, const QFont& marginFont,
               const LayoutMaker& layout) {
    QPainter painter;
    if (!painter.begin(&device)) return 0;
    const double scale = PixelsPerTwip(device.logicalDpiX());
    painter.scale(scale, scale);
    painter.setFont(font);
    // The fonts are sized in twips, so their metrics are in twips already.
    const QFontMetricsF metrics(font, &device);
    PrintMetrics m;
    m.width = [&](std::string_view s) {
        return static_cast<int>(
            std::lround(metrics.horizontalAdvance(QString::fromUtf8(s.data(), s.size()))));
    };
    m.lineHeight = static_cast<int>(std::lround(metrics.height()));
    const int ascent = static_cast<int>(std::lround(metrics.ascent()));
    // The width the printer can print on: a line never runs into the paper's unprintable edge.
    m.pageWidth = static_cast<int>(
        std::lround(device.pageLayout().paintRectPoints().width() * kTwipsPerPoint));
    m.margin = static_cast<int>(
        std::lround(QFontMetricsF(marginFont, &device).horizontalAdvance(QStringLiteral("ZZ"))));

    const PrintLayout pages = layout(m);
    painter.translate(pages.originX, 0);
    QPen pen(Qt::black);
    int page = 1;
    std::size_t t = 0;
    std::size_t r = 0;
    while (page <= pages.pages) {
        for (; t < pages.texts.size() && pages.texts[t].page == page; ++t) {
            const PrintText& text = pages.texts[t];
            painter.drawText(text.x, text.y + ascent, QString::fromStdString(text.text));
        }
        for (; r < pages.rules.size() && pages.rules[r].page == page; ++r) {
            const PrintRule& rule = pages.rules[r];
            pen.setWidth(rule.lineWidth);
            painter.setPen(pen);
            painter.drawLine(rule.x1, rule.y, rule.x2, rule.y);
        }
        if (++page <= pages.pages) device.newPage();
    }
    painter.end();
    return pages.pages;
}

QByteArray PdfPages(const QPageSize& paper, const QFont& font, const QFont& marginFont,
                    const LayoutMaker& layout, const QString& title) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    {
        QPdfWriter pdf(&buffer);
        pdf.setTitle(title);
        pdf.setCreator(QStringLiteral("TALVERON Programmer"));
        // One device pixel per twip: every position of the layout lands exactly.
        pdf.setResolution(kTwipsPerInch);
        pdf.setPageLayout(QPageLayout(paper, QPageLayout::Portrait,
                                      QMarginsF(0.25, 0.25, 0.25, 0.25), QPageLayout::Inch));
        if (PrintPages(pdf, font, marginFont, layout) == 0) return {};
    }
    return bytes;
}

std::pair<std::string, std::string> PrintDateTime() {
    const QDateTime now = QDateTime::currentDateTime();
    const QLocale locale = QLocale::system();
    // The long time without its time zone, as a clock on the wall shows it.
    QString timeFormat = locale.timeFormat(QLocale::LongFormat);
    timeFormat.remove(QRegularExpression(QStringLiteral("\\s*\\bt+\\b")));
    // Date and time are formatted apart: a short date with blanks in it ("7 Dec 2026") would
    // otherwise be cut at its first blank. The date keeps the blank that followed it.
    return {locale.toString(now.date(), QLocale::ShortFormat).toStdString() + " ",
            locale.toString(now.time(), timeFormat.trimmed()).toStdString()};
}

}  // namespace talveron::platform
