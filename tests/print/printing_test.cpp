// Printing the channel plan from the real main window offscreen: Ctrl+P offers the pages as a
// PDF file where there is no printer; on a (PDF) printer the words land where their twips say,
// read back with their places, page after page (the layout itself is the core's).
#include <QPrinter>
#include <QTest>
#include <QtWidgets>

#include "app_fixture.h"
#include "image/auto_fill.h"
#include "platform/courier_font.h"
#include "qt_test_util.h"

namespace talveron::app {
namespace {

using namespace Qt::Literals::StringLiterals;

const testing::PdfWord* Find(const std::vector<testing::PdfWord>& words, const QString& text,
                             int page = 1) {
    for (const testing::PdfWord& w : words)
        if (w.text == text && w.page == page) return &w;
    return nullptr;
}

TEST_F(OfflineApp, ThePlanIsOfferedAsPdfWithoutAPrinterAndLandsWhereItsTwipsSayOnOne) {
    ASSERT_TRUE(OpenThroughMenu(CopySample("vk-a1-16ch.cfg", u"fleet.cfg"_s)));
    Document& doc = ActiveDoc();  // 99 channels in use
    while (doc.BlockCount() < 99) {
        doc.lines.push_back(doc.lines[0]);
        RenumberLine(doc.lines.back(), doc.BlockCount());
        doc.state.chOpt.push_back(0xC4);
    }
    print::Printing& printing = mdi->Printer();
    int busy = 0;
    printing.onPrinting = [&, wired = printing.onPrinting](bool on) {
        busy += on ? 1 : -1;
        wired(on);
    };
    const auto print = [&] {
        mdi->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(mdi.get()));
        QTest::keyClick(mdi->ActiveWindow()->List(), Qt::Key_P, Qt::ControlModifier);
    };

    // No printer: declined, nothing is written; accepted, the pages go to the file chosen.
    printing.hasPrinter = [] { return false; };
    ui.AnswerMessage(platform::kNo);
    print();
    ui.AnswerMessage(platform::kYes);
    const QString pdf = TempPath(u"plan.pdf"_s);
    ui.AnswerSave(pdf);
    print();
    ASSERT_EQ(ui.Messages().size(), 2u);
    EXPECT_TRUE(BoxIs(ui.Messages()[1],
                      u"No printer is installed on this computer.\nSave the pages as a PDF file "
                      u"instead?"_s,
                      u"Print"_s, platform::kYes | platform::kNo, platform::MsgIcon::Question));
    ASSERT_EQ(ui.SaveRequests().size(), 1u);
    EXPECT_EQ(ui.SaveRequests()[0].presetName, u"FLEET.pdf"_s);
    const auto saved = testing::PdfWords(pdf);
    EXPECT_TRUE(Find(saved, u"Customer:"_s) && Find(saved, u"Page"_s, 2));

    // On the printer: the texts placed in twips from the printable area, 20 twips to the point.
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setPageSize(QPageSize(QPageSize::A4));
    printer.setOutputFileName(TempPath(u"printer.pdf"_s));
    printing.printerProvider = [&] { return &printer; };
    printing.hasPrinter = [] { return true; };
    print();
    EXPECT_EQ(busy, 0);
    EXPECT_TRUE(mdi->Status().TimerActive() && !ui.Busy());
    const auto words = testing::PdfWords(printer.outputFileName());
    ASSERT_FALSE(words.empty());
    const QFontMetricsF fm(platform::CourierTwipsFont(11));  // in twips, as the painter draws
    // x = 0 lies one "ZZ" into the printable area (20 twips to the point), the model on line 3.
    const QRectF area = printer.pageRect(QPrinter::Point);
    const testing::PdfWord* model = Find(words, u"Model:VK-A1"_s);
    ASSERT_TRUE(model);
    EXPECT_NEAR(model->x, area.left() + fm.horizontalAdvance(u"ZZ"_s) / 20, 2);
    EXPECT_NEAR(model->y, area.top() + 2 * fm.height() / 20, 4);
    // 99 rows: a page ends after the first row that reaches the limit; heads of 10 and 5 lines.
    const int lh = qRound(fm.height()), limit = kPrintPageLimitTwips;
    const int first = (limit - 10 * lh + lh - 1) / lh, next = (limit - 5 * lh + lh - 1) / lh;
    EXPECT_EQ(words.back().page, 2 + (99 - first - 1) / next);
    EXPECT_FALSE(Find(words, u"Model:VK-A1"_s, 2));
    EXPECT_FALSE(ActiveDoc().state.changed);
    EXPECT_EQ(ui.Unexpected(), 0);
}

}  // namespace
}  // namespace talveron::app
