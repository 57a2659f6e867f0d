// Printing the ReadMe at the printer's own resolution: the same pages, heads and line spacing
// on a 96 dpi printer as on a 1200 dpi one, read back from a PDF with pdftotext -bbox.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFont>
#include <QFontMetrics>
#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <algorithm>

#include "app/frm_readme.h"

namespace talveron::app {
namespace {

using namespace Qt::Literals::StringLiterals;

constexpr int kPageLimitTwips = 14772;
constexpr int kFontTwips = 200;

// The print font as the printout uses it: the default font, 200 twips high.
QFontMetrics PrintMetrics() {
    QFont font;
    font.setPixelSize(kFontTwips);
    return QFontMetrics(font);
}

// Body lines a page holds: the head takes two lines, and a new page starts once the print
// position reaches the page limit.
int LinesPerPage() {
    const int h = PrintMetrics().height();
    return (kPageLimitTwips + h - 1) / h - 2;
}

struct Word {
    double xMin = 0;
    double xMax = 0;
    double yMin = 0;
    QString text;
};

struct PrintedPages {
    int pages = 0;             // what PrintReadMeLines returned
    QList<QList<Word>> words;  // pdftotext -bbox, the words of each page
    QRectF printable;          // the printable area, in points
};

PrintedPages PrintToPdf(QPrinter::PrinterMode mode, const QStringList& lines,
                        const QString& folder) {
    PrintedPages out;
    QPrinter printer(mode);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setPageSize(QPageSize(QPageSize::A4));
    const QString pdf = folder + u"/readme.pdf"_s;
    printer.setOutputFileName(pdf);
    out.printable = printer.pageRect(QPrinter::Point);
    out.pages = PrintReadMeLines(printer, lines);

    QProcess p;
    p.start(u"pdftotext"_s, {u"-bbox"_s, pdf, u"-"_s});
    if (!p.waitForFinished(30000)) return out;
    const QString html = QString::fromUtf8(p.readAllStandardOutput());
    static const QRegularExpression word(
        uR"re(<word xMin="([\d.]+)" yMin="([\d.]+)" xMax="([\d.]+)" yMax="[\d.]+">([^<]*)</word>)re"_s);
    for (const QString& pageHtml : html.split(u"<page "_s, Qt::SkipEmptyParts).mid(1)) {
        QList<Word> words;
        for (auto it = word.globalMatch(pageHtml); it.hasNext();) {
            const auto m = it.next();
            words.append({m.captured(1).toDouble(), m.captured(3).toDouble(),
                          m.captured(2).toDouble(), m.captured(4)});
        }
        out.words.append(words);
    }
    return out;
}

class ReadMePrint : public ::testing::TestWithParam<QPrinter::PrinterMode> {};

TEST_P(ReadMePrint, ALongReadMePrintsThreePagesWithTheirHeadsOnThePage) {
    if (QStandardPaths::findExecutable(u"pdftotext"_s).isEmpty())
        GTEST_SKIP() << "pdftotext not installed";
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const int perPage = LinesPerPage();
    ASSERT_GT(perPage, 20);
    // Two full pages and half a third.
    QStringList lines;
    const int count = 2 * perPage + perPage / 2;
    for (int i = 1; i <= count; ++i) lines << u"ReadMe line %1"_s.arg(i);

    const PrintedPages printed = PrintToPdf(GetParam(), lines, dir.path());
    EXPECT_EQ(printed.pages, 3);
    ASSERT_EQ(printed.words.size(), 3);
    // The head's places: "Page :n" ends at R, the page width less four widths of "ZZ", and
    // "ReadMe" is centred between the left edge and R; the first body line sits two lines
    // below.
    const QFontMetrics metrics = PrintMetrics();
    const double left = printed.printable.left();
    const double rightTwips =
        printed.printable.width() * 20.0 - 4 * metrics.horizontalAdvance(u"ZZ"_s);
    int lastBefore = 0;
    for (int i = 0; i < 3; ++i) {
        SCOPED_TRACE(i + 1);
        const QList<Word>& words = printed.words[i];
        ASSERT_GE(words.size(), 4);
        // The head is the topmost line: "ReadMe", "Page" and ":n" only.
        double top = words[0].yMin;
        for (const Word& w : words) top = std::min(top, w.yMin);
        QList<Word> head;
        for (const Word& w : words)
            if (w.yMin < top + 1.0) head.append(w);
        std::sort(head.begin(), head.end(), [](auto& a, auto& b) { return a.xMin < b.xMin; });
        ASSERT_EQ(head.size(), 3);
        EXPECT_EQ(head[0].text, u"ReadMe"_s);
        EXPECT_EQ(head[1].text, u"Page"_s);
        EXPECT_EQ(head[2].text, u":%1"_s.arg(i + 1));
        EXPECT_NEAR(head[2].xMax, left + rightTwips / 20.0, 2.0);
        EXPECT_NEAR((head[0].xMin + head[0].xMax) / 2, left + rightTwips / 40.0, 2.0);
        // Each page carries the lines that follow the last one of the page before; the line
        // spacing decides how many: a full page holds perPage of them (font metrics of the
        // printer and of this test may round one twip apart).
        int first = 0;
        int last = 0;
        double firstY = 0;
        for (int j = 0; j + 1 < words.size(); ++j) {
            if (words[j].text != u"line"_s) continue;
            const int n = words[j + 1].text.toInt();
            if (first == 0) firstY = words[j].yMin;
            if (first == 0) first = n;
            last = n;
        }
        EXPECT_EQ(first, lastBefore + 1);
        if (i < 2)
            EXPECT_NEAR(last - first + 1, perPage, 1);
        else
            EXPECT_EQ(last, count);
        EXPECT_NEAR(firstY - top, 2 * metrics.height() / 20.0, 1.5);
        lastBefore = last;
    }
}

INSTANTIATE_TEST_SUITE_P(Resolutions, ReadMePrint,
                         ::testing::Values(QPrinter::ScreenResolution, QPrinter::HighResolution),
                         [](const auto& info) {
                             return info.param == QPrinter::ScreenResolution ? std::string("Screen")
                                                                             : std::string("High");
                         });

// The ReadMe beside the program wins; an installed program (PREFIX/bin) finds it in
// PREFIX/share/talveron; with neither, the program's folder is named.
TEST(ReadMePath, BesideTheProgramThenInstalledBesideItsPrograms) {
    QTemporaryDir dir;
    ASSERT_TRUE(QDir(dir.path()).mkpath(u"bin"_s) && QDir(dir.path()).mkpath(u"share/talveron"_s));
    const QString bin = dir.path() + u"/bin"_s;
    EXPECT_EQ(ReadMePath(bin), bin + u"/ReadMe.Txt"_s);
    const auto touch = [](const QString& path) {
        QFile file(path);
        return file.open(QIODevice::WriteOnly);
    };
    ASSERT_TRUE(touch(dir.path() + u"/share/talveron/ReadMe.Txt"_s));
    EXPECT_EQ(ReadMePath(bin), dir.path() + u"/share/talveron/ReadMe.Txt"_s);
    ASSERT_TRUE(touch(bin + u"/ReadMe.Txt"_s));
    EXPECT_EQ(ReadMePath(bin), bin + u"/ReadMe.Txt"_s);
}

}  // namespace
}  // namespace talveron::app
