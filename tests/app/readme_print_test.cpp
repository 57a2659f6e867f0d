// Printing the ReadMe at the printer's own resolution: the same pages, heads and line spacing
// on a 96 dpi printer as on a 1200 dpi one, read back from a PDF with pdftotext.
#include <gtest/gtest.h>

#include <QFont>
#include <QFontMetrics>
#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>

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
    QStringList texts;         // pdftotext -layout, one text per page
    QList<QList<Word>> words;  // pdftotext -bbox, the words of each page
    QRectF printable;          // the printable area, in points
};

QString Run(const QString& program, const QStringList& args) {
    QProcess p;
    p.start(program, args);
    if (!p.waitForFinished(30000)) return {};
    return QString::fromUtf8(p.readAllStandardOutput());
}

PrintedPages PrintToPdf(QPrinter::PrinterMode mode, const QStringList& lines,
                        const QString& folder) {
    PrintedPages out;
    QPrinter printer(mode);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setPageSize(QPageSize(QPageSize::A4));
    const QString pdf = folder + u"/readme-%1.pdf"_s.arg(static_cast<int>(mode));
    printer.setOutputFileName(pdf);
    out.printable = printer.pageRect(QPrinter::Point);
    out.pages = PrintReadMeLines(printer, lines);

    const QString pdftotext = QStandardPaths::findExecutable(u"pdftotext"_s);
    if (pdftotext.isEmpty()) return out;
    out.texts = Run(pdftotext, {u"-layout"_s, pdf, u"-"_s}).split(u'\f', Qt::SkipEmptyParts);
    // Whitespace-only pieces after the last page break are no pages.
    out.texts.removeIf([](const QString& t) { return t.trimmed().isEmpty(); });

    const QString html = Run(pdftotext, {u"-bbox"_s, pdf, u"-"_s});
    static const QRegularExpression page(u"<page "_s);
    static const QRegularExpression word(
        uR"re(<word xMin="([\d.]+)" yMin="([\d.]+)" xMax="([\d.]+)" yMax="[\d.]+">([^<]*)</word>)re"_s);
    for (const QString& pageHtml : html.split(page, Qt::SkipEmptyParts).mid(1)) {
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
    ASSERT_EQ(printed.texts.size(), 3);
    EXPECT_EQ(printed.texts.join(QString()).count(u"Page :"_s), 3);

    static const QRegularExpression bodyLine(uR"(^\s*ReadMe line (\d+)\s*$)"_s,
                                             QRegularExpression::MultilineOption);
    for (int i = 0; i < 3; ++i) {
        const QString& text = printed.texts[i];
        // The head comes first: "ReadMe", then "Page :" and the page number.
        const QString head = text.trimmed().section(u'\n', 0, 0);
        static const QRegularExpression headForm(uR"(^ReadMe\s+Page :(\d+)$)"_s);
        const auto m = headForm.match(head.trimmed());
        ASSERT_TRUE(m.hasMatch()) << "page " << i + 1 << " head: " << head.toStdString();
        EXPECT_EQ(m.captured(1).toInt(), i + 1);
        // Each page carries the lines that follow the last one of the page before; the line
        // spacing decides how many: a full page holds perPage of them (font metrics of the
        // printer and of this test may round one twip apart).
        int first = 0;
        int last = 0;
        for (auto it = bodyLine.globalMatch(text); it.hasNext();) {
            const int n = it.next().captured(1).toInt();
            if (first == 0) first = n;
            last = n;
        }
        if (i < 2) {
            EXPECT_NEAR(last - first + 1, perPage, 1) << "page " << i + 1;
        } else {
            EXPECT_EQ(last, count);
        }
        if (i == 0) EXPECT_EQ(first, 1);
    }
    EXPECT_FALSE(printed.texts[0].contains(u"ReadMe line %1\n"_s.arg(count)));

    // The head's places on the first page: "Page :1" ends at R, the page width less four
    // widths of "ZZ", and "ReadMe" is centred between the left edge and R.
    ASSERT_FALSE(printed.words.isEmpty());
    const QList<Word>& words = printed.words[0];
    const QFontMetrics metrics = PrintMetrics();
    const double left = printed.printable.left();
    const double rightTwips =
        printed.printable.width() * 20.0 - 4 * metrics.horizontalAdvance(u"ZZ"_s);
    const double right = left + rightTwips / 20.0;
    // The head is the topmost line: "ReadMe", "Page" and ":1"; the first body line follows.
    auto topmost = [&](const QString& text, double below) {
        const Word* found = nullptr;
        for (const Word& w : words)
            if (w.text == text && w.yMin > below && (!found || w.yMin < found->yMin)) found = &w;
        return found;
    };
    const Word* title = topmost(u"ReadMe"_s, -1);
    const Word* pageWord = topmost(u"Page"_s, -1);
    const Word* pageNumber = topmost(u":1"_s, -1);
    ASSERT_TRUE(title && pageWord && pageNumber);
    EXPECT_NEAR(pageWord->yMin, title->yMin, 1.0);
    EXPECT_NEAR(pageNumber->xMax, right, 2.0);
    EXPECT_NEAR((title->xMin + title->xMax) / 2, left + rightTwips / 40.0, 2.0);
    // The first body line sits two lines below the head.
    const Word* body = topmost(u"ReadMe"_s, title->yMin + 1.0);
    ASSERT_TRUE(body);
    EXPECT_NEAR(body->yMin - title->yMin, 2 * metrics.height() / 20.0, 1.5);
}

INSTANTIATE_TEST_SUITE_P(Resolutions, ReadMePrint,
                         ::testing::Values(QPrinter::ScreenResolution, QPrinter::HighResolution),
                         [](const auto& info) {
                             return info.param == QPrinter::ScreenResolution ? std::string("Screen")
                                                                             : std::string("High");
                         });

}  // namespace
}  // namespace talveron::app
