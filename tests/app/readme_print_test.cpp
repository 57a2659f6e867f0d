// Printing the ReadMe at the printer's own resolution: the same pages, heads and line spacing
// on a 96 dpi printer as on a 1200 dpi one, read back from a PDF with pdftotext -bbox; and
// where the program finds the ReadMe.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFont>
#include <QFontMetrics>
#include <QPrinter>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <algorithm>

#include "app/frm_readme.h"
#include "qt_test_util.h"

namespace talveron::app {
namespace {

using namespace Qt::Literals::StringLiterals;

class ReadMePrint : public ::testing::TestWithParam<QPrinter::PrinterMode> {};

TEST_P(ReadMePrint, ALongReadMePrintsThreePagesWithTheirHeadsOnThePage) {
    if (QStandardPaths::findExecutable(u"pdftotext"_s).isEmpty())
        GTEST_SKIP() << "pdftotext not installed";
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    // The print font: the default font, 200 twips high. A page holds the lines that fit
    // before the print position reaches 14772 twips, less the head's two.
    QFont font;
    font.setPixelSize(200);
    const QFontMetrics metrics(font);
    const int perPage = (14772 + metrics.height() - 1) / metrics.height() - 2;
    ASSERT_GT(perPage, 20);
    QStringList lines;  // two full pages and half a third
    const int count = 2 * perPage + perPage / 2;
    for (int i = 1; i <= count; ++i) lines << u"ReadMe line %1"_s.arg(i);
    QPrinter printer(GetParam());
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setPageSize(QPageSize(QPageSize::A4));
    printer.setOutputFileName(dir.filePath(u"readme.pdf"_s));
    const QRectF area = printer.pageRect(QPrinter::Point);
    EXPECT_EQ(PrintReadMeLines(printer, lines), 3);
    const std::vector<testing::PdfWord> words = testing::PdfWords(printer.outputFileName());
    // "Page :n" ends at R, the page width less four widths of "ZZ"; "ReadMe" is centred
    // between the left edge and R; the first body line sits two lines below.
    const double right = area.width() - 4 * metrics.horizontalAdvance(u"ZZ"_s) / 20.0;
    int lastBefore = 0;
    for (int page = 1; page <= 3; ++page) {
        SCOPED_TRACE(page);
        std::vector<testing::PdfWord> on;
        std::copy_if(words.begin(), words.end(), std::back_inserter(on),
                     [&](const auto& w) { return w.page == page; });
        ASSERT_GE(on.size(), 4u);
        double top = on[0].y;
        for (const auto& w : on) top = std::min(top, w.y);
        std::vector<testing::PdfWord> head;
        std::copy_if(on.begin(), on.end(), std::back_inserter(head),
                     [&](const auto& w) { return w.y < top + 1.0; });
        std::sort(head.begin(), head.end(), [](auto& a, auto& b) { return a.x < b.x; });
        ASSERT_EQ(head.size(), 3u);
        EXPECT_EQ(head[0].text + head[1].text + head[2].text, u"ReadMePage:%1"_s.arg(page));
        EXPECT_NEAR(head[2].xMax, area.left() + right, 2.0);
        EXPECT_NEAR((head[0].x + head[0].xMax) / 2, area.left() + right / 2, 2.0);
        // Each page carries the lines after the last one of the page before; a full page
        // holds perPage (the printer's metrics and these may round one twip apart).
        int first = 0, last = 0;
        double firstY = 0;
        for (std::size_t j = 0; j + 1 < on.size(); ++j) {
            if (on[j].text != u"line"_s) continue;
            if (first == 0) firstY = on[j].y, first = on[j + 1].text.toInt();
            last = on[j + 1].text.toInt();
        }
        EXPECT_EQ(first, lastBefore + 1);
        if (page < 3) EXPECT_NEAR(last - first + 1, perPage, 1);
        if (page == 3) EXPECT_EQ(last, count);
        EXPECT_NEAR(firstY - top, 2 * metrics.height() / 20.0, 1.5);
        lastBefore = last;
    }
}

INSTANTIATE_TEST_SUITE_P(Resolutions, ReadMePrint,
                         ::testing::Values(QPrinter::ScreenResolution, QPrinter::HighResolution));

// The ReadMe beside the program wins; an installed program (PREFIX/bin) finds it in
// PREFIX/share/talveron; with neither, the program's folder is named.
TEST(ReadMePath, BesideTheProgramThenInstalledBesideItsPrograms) {
    QTemporaryDir dir;
    ASSERT_TRUE(QDir(dir.path()).mkpath(u"bin"_s) && QDir(dir.path()).mkpath(u"share/talveron"_s));
    const QString bin = dir.path() + u"/bin"_s;
    const QString shared = dir.path() + u"/share/talveron/ReadMe.Txt"_s;
    EXPECT_EQ(ReadMePath(bin), bin + u"/ReadMe.Txt"_s);
    ASSERT_TRUE(QFile(shared).open(QIODevice::WriteOnly));
    EXPECT_EQ(ReadMePath(bin), shared);
    ASSERT_TRUE(QFile(bin + u"/ReadMe.Txt"_s).open(QIODevice::WriteOnly));
    EXPECT_EQ(ReadMePath(bin), bin + u"/ReadMe.Txt"_s);
}

}  // namespace
}  // namespace talveron::app
