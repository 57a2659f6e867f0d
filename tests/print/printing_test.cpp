// The channel plan printed: offered as a PDF file where there is no printer, and on a (PDF)
// printer, read back word by word with its position.
#include <gtest/gtest.h>

#include <QFontMetrics>
#include <QPrinter>
#include <QTemporaryDir>

#include "image/auto_fill.h"
#include "image/cfg_file.h"
#include "image/document.h"
#include "platform/courier_font.h"
#include "platform/scripted_ui_services.h"
#include "print/printing.h"
#include "qt_test_util.h"

namespace talveron::print {
namespace {

using namespace Qt::Literals::StringLiterals;

const testing::PdfWord* Find(const std::vector<testing::PdfWord>& words, const QString& text,
                             int page = 1) {
    for (const testing::PdfWord& w : words)
        if (w.text == text && w.page == page) return &w;
    return nullptr;
}

TEST(Printing, ThePlanIsOfferedAsPdfWithoutAPrinterAndLandsWhereItsTwipsSayOnOne) {
    QTemporaryDir dir;
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setPageSize(QPageSize(QPageSize::A4));
    printer.setOutputFileName(dir.filePath(u"plan.pdf"_s));
    platform::ScriptedUiServices ui;
    Printing printing{ui, nullptr};
    printing.printerProvider = [&] { return &printer; };
    int busy = 0;
    printing.onPrinting = [&](bool on) { busy += on ? 1 : -1; };
    // 99 channels in use.
    const CfgReadResult read = ReadCfgFile(TALVERON_SAMPLES "/vk-a1-16ch.cfg");
    ASSERT_TRUE(read.ok());
    Document doc = OpenDocument(read.image, read.modelCode, "/tmp/FLEET.CFG");
    while (doc.BlockCount() < 99) {
        doc.lines.push_back(doc.lines[0]);
        RenumberLine(doc.lines.back(), doc.BlockCount());
        doc.state.chOpt.push_back(0xC4);
    }

    // No printer: declined, nothing is written; accepted, the pages go to the file chosen.
    printing.hasPrinter = [] { return false; };
    ui.AnswerMessage(platform::kNo);
    EXPECT_EQ(printing.Print(ChannelPlanJob(doc)), 0);
    ui.AnswerMessage(platform::kYes);
    ui.AnswerSave(dir.filePath(u"out.pdf"_s));
    EXPECT_EQ(printing.Print(ChannelPlanJob(doc)), 1);
    ASSERT_EQ(ui.Messages().size(), 2u);
    EXPECT_EQ(ui.Messages()[1].text,
              u"No printer is installed on this computer.\nSave the "
              u"pages as a PDF file instead?"_s);
    ASSERT_EQ(ui.SaveRequests().size(), 1u);
    EXPECT_EQ(ui.SaveRequests()[0].presetName, u"FLEET.pdf"_s);
    const auto saved = testing::PdfWords(dir.filePath(u"out.pdf"_s));
    EXPECT_TRUE(Find(saved, u"Customer:"_s) && Find(saved, u"Page"_s, 2));
    EXPECT_FALSE(QFile::exists(printer.outputFileName()));

    // On the printer: the texts placed in twips from the printable area (20 twips to the
    // point), page after page (the layout itself is the core's).
    printing.hasPrinter = [] { return true; };
    const int pages = printing.Print(ChannelPlanJob(doc));
    EXPECT_EQ(busy, 0);
    const auto words = testing::PdfWords(printer.outputFileName());
    ASSERT_FALSE(words.empty());
    const QFontMetricsF fm(platform::CourierTwipsFont(11));  // in twips, as the painter draws
    const double ch = fm.horizontalAdvance(u"Z"_s) / 20, line = fm.height() / 20;
    const QRectF area = printer.pageRect(QPrinter::Point);
    const double left = area.left() + 2 * ch;  // x = 0 lies one "ZZ" in
    const double width = area.width() - 8 * ch;
    // 99 rows: a page ends after the first row that reaches the limit; heads of 10 and 5 lines.
    const int lh = qRound(fm.height()), limit = kPrintPageLimitTwips;
    const int first = (limit - 10 * lh + lh - 1) / lh, next = (limit - 5 * lh + lh - 1) / lh;
    EXPECT_EQ(pages, 2 + (99 - first - 1) / next);
    auto near = [](const testing::PdfWord* w, double x, double y) {
        return w && std::abs(w->x - x) < 2 && std::abs(w->y - y) < 4;
    };
    EXPECT_TRUE(near(Find(words, u"Page"_s), left + width - 7 * ch, area.top()));
    EXPECT_TRUE(near(Find(words, u"Model:VK-A1"_s), left, area.top() + 2 * line));
    EXPECT_TRUE(near(Find(words, u"145.012500"_s), left + 5 * ch, area.top() + 10 * line));
    EXPECT_TRUE(near(Find(words, u"Page"_s, 2), left + width - 7 * ch, area.top()));
    EXPECT_FALSE(Find(words, u"Model:VK-A1"_s, 2));
}

}  // namespace
}  // namespace talveron::print
