// The channel plan printed on a (PDF) printer and read back word by word with its position.
#include <gtest/gtest.h>

#include <QFontMetrics>
#include <QPrinter>
#include <QTemporaryDir>

#include "image/auto_fill.h"
#include "image/cfg_file.h"
#include "image/channel_line.h"
#include "image/document.h"
#include "platform/courier_font.h"
#include "platform/scripted_ui_services.h"
#include "print/printing.h"
#include "qt_test_util.h"

namespace talveron::print {
namespace {

using namespace Qt::Literals::StringLiterals;

using testing::PdfWord;

const PdfWord* Find(const std::vector<PdfWord>& words, const QString& text, int page = 1) {
    for (const PdfWord& w : words)
        if (w.text == text && w.page == page) return &w;
    return nullptr;
}

Document Sample(int channels) {
    const CfgReadResult read = ReadCfgFile(TALVERON_SAMPLES "/vk-a1-16ch.cfg");
    EXPECT_TRUE(read.ok());
    Document doc = OpenDocument(read.image, read.modelCode, "/tmp/FLEET.CFG");
    while (doc.BlockCount() < channels) {
        doc.lines.push_back(doc.lines[0]);
        RenumberLine(doc.lines.back(), doc.BlockCount());
        doc.state.chOpt.push_back(0xC4);
    }
    return doc;
}

class PrintTest : public ::testing::Test {
  protected:
    void SetUp() override {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setPageSize(QPageSize(QPageSize::A4));
        printer.setOutputFileName(dir.filePath(u"plan.pdf"_s));
        printing.printerProvider = [this] { return &printer; };
    }
    QTemporaryDir dir;
    QPrinter printer{QPrinter::HighResolution};
    platform::ScriptedUiServices ui;
    Printing printing{ui, nullptr};
};

// On the printer: the head, labels, summary and one row per channel in use, placed in twips
// from the printable area (20 twips to the point), and a second page with its short head.
TEST_F(PrintTest, ThePlanLandsWhereItsTwipsSay) {
    printing.hasPrinter = [] { return true; };
    int printing_ = 0;
    printing.onPrinting = [&](bool on) { printing_ += on ? 1 : -1; };
    Document doc = Sample(99);
    doc.lines[15] = EmptyChannelLine(16);
    const int pages = printing.Print(ChannelPlanJob(doc));
    EXPECT_EQ(printing_, 0);
    const auto words = testing::PdfWords(printer.outputFileName());
    ASSERT_FALSE(words.empty());

    const QFont font = platform::CourierTwipsFont(11);
    const QFontMetricsF fm(font);  // in twips, as the painter draws
    const double ch = fm.horizontalAdvance(u"Z"_s) / 20, line = fm.height() / 20;
    const QRectF area = printer.pageRect(QPrinter::Point);
    const double left = area.left() + 2 * ch;  // x = 0 lies one "ZZ" in
    const double width = area.width() - 8 * ch;
    // 98 rows: a page ends after the first row that reaches the limit; heads of 10 and 5 lines.
    const int lh = qRound(fm.height()), limit = kPrintPageLimitTwips;
    const int first = (limit - 10 * lh + lh - 1) / lh, next = (limit - 5 * lh + lh - 1) / lh;
    EXPECT_EQ(pages, 2 + (98 - first - 1) / next);
    auto near = [](const PdfWord* w, double x, double y) {
        return w && std::abs(w->x - x) < 2 && std::abs(w->y - y) < 4;
    };
    EXPECT_TRUE(near(Find(words, u"Page"_s), left + width - 7 * ch, area.top()));
    EXPECT_TRUE(near(Find(words, u"FLEET"_s), left + (width - 5 * ch) / 2, area.top()));
    EXPECT_TRUE(near(Find(words, u"Model:VK-A1"_s), left, area.top() + 2 * line));
    EXPECT_TRUE(near(Find(words, u"Date"_s), left + width / 3, area.top() + 3 * line));
    EXPECT_TRUE(near(Find(words, u"BEEP:"_s), left, area.top() + 7 * line));
    EXPECT_TRUE(near(Find(words, u"SPACE"_s), left + 56 * ch, area.top() + 9 * line));
    EXPECT_TRUE(near(Find(words, u"145.012500"_s), left + 5 * ch, area.top() + 10 * line));
    EXPECT_FALSE(Find(words, u"16"_s));  // channel 16 has no receive frequency
    EXPECT_TRUE(Find(words, u"17"_s));
    EXPECT_TRUE(near(Find(words, u"Page"_s, 2), left + width - 7 * ch, area.top()));
    EXPECT_FALSE(Find(words, u"Model:VK-A1"_s, 2));
}

// Without a printer the same pages are offered as a PDF file; declining writes nothing.
TEST_F(PrintTest, WithoutAPrinterThePlanIsOfferedAsPdf) {
    printing.hasPrinter = [] { return false; };
    const Document doc = Sample(16);
    ui.AnswerMessage(platform::kNo);
    EXPECT_EQ(printing.Print(ChannelPlanJob(doc)), 0);
    const QString pdf = dir.filePath(u"out.pdf"_s);
    ui.AnswerMessage(platform::kYes);
    ui.AnswerSave(pdf);
    EXPECT_EQ(printing.Print(ChannelPlanJob(doc)), 1);
    ASSERT_EQ(ui.Messages().size(), 2u);
    EXPECT_EQ(ui.Messages()[1].text, QString::fromLatin1(kNoPrinterText));
    ASSERT_EQ(ui.SaveRequests().size(), 1u);
    EXPECT_EQ(ui.SaveRequests()[0].presetName, u"FLEET.pdf"_s);
    const auto words = testing::PdfWords(pdf);
    EXPECT_TRUE(Find(words, u"Customer:"_s));
    EXPECT_FALSE(QFile::exists(printer.outputFileName()));
}

}  // namespace
}  // namespace talveron::print
