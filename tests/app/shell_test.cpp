// The shell around the documents: the status line's blink, the main window's menus and their
// swap with a document window's, About, F10 and the Window menu, where the ReadMe is found and
// how it prints at the printer's own resolution, and the customer editor.
#include <QPrinter>
#include <algorithm>
#include <map>

#include "app_fixture.h"
#include "channel/frm_ch_edit.h"

namespace talveron::app {
namespace {

// The status line blinks when red, by Timer1 too. The menus read as the program defines them; About
// answers from either menu bar; the menu bar follows the active window, with the one Window menu
// before Help, and activation enables Paste while the channel clipboard holds lines; F10 opens the
// first menu in view; Window > Tile lays four documents side by side and activating one keeps them
// so; a fifth cascaded window reaching below the area can be scrolled to. The customer editor
// shows its texts, OK writes them into the document it was opened for, CANCEL keeps both;
// Timer1 rests while it shows (even when activated again) and runs once it has closed, whichever
// way (its document closing is checked with the channel dialog).
TEST_F(OfflineApp, TheStatusBlinksTheMenusFollowTheActiveWindowAndTheCustomerEditorEdits) {
    SCOPED_TRACE("a red status blinks each tick, a black one never; FitStatus sizes the line");
    StatusLine& status = mdi->Status();
    status.SetText(u"Not detected"_s, StatusColor::Red);
    for (int i = 0; i < 3; ++i, status.Tick()) EXPECT_EQ(status.Visible(), i != 1) << i;
    EXPECT_TRUE(status.Label()->styleSheet().contains(u"#ff0000"_s));
    status.ShowStatus(u"VK-A1   detected"_s);
    for (int i = 0; i < 3; ++i, status.Tick()) EXPECT_TRUE(status.Visible());
    EXPECT_TRUE(status.Label()->styleSheet().contains(u"#000000"_s));
    EXPECT_EQ(status.Label()->font().pointSize(), 12);
    status.FitStatus(15);
    EXPECT_EQ(status.Label()->font().pointSize(), 15);
    EXPECT_EQ(status.Label()->width(),
              QFontMetrics(status.Label()->font()).horizontalAdvance(status.Text()));
    // Timer1 itself drives the blink once a second.
    status.SetText(u"Channel #3 Range Out !"_s, StatusColor::Red);
    ASSERT_TRUE(status.TimerActive());
    EXPECT_TRUE(testing::WaitUntil([&] { return !status.Visible(); }, 5000));
    EXPECT_TRUE(testing::WaitUntil([&] { return status.Visible(); }, 5000));

    SCOPED_TRACE("the menus");
    QStringList texts;
    for (QAction* a : mdi->MainAction(u"mnuFile"_s)->menu()->actions())
        texts << (a->isSeparator() ? u"-"_s : a->text());
    for (const char* name : {"mnuRadio", "mnuRadioItem0", "munHelp", "mnuReadMe", "munVersion"})
        texts << mdi->MainAction(QString::fromLatin1(name))->text();
    EXPECT_EQ(texts.join(u'|'),
              u"&New|&Open|E&xit|-|-|RecentFile1|RecentFile2|RecentFile3|"
              "RecentFile4|&Radio|&Upload|&Help|&ReadMe|&About"_s);
    EXPECT_FALSE(mdi->MainAction(u"mnuFNew"_s)->isVisible());
    EXPECT_EQ(mdi->MainAction(u"mnuFNew"_s)->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_N));
    EXPECT_EQ(mdi->MainAction(u"mnuRadio"_s)->menu()->actions().size(), 1);
    ui.AnswerMessage(kOk);
    Act("munVersion");
    for (int i = 0; i < 4; ++i) ASSERT_TRUE(OpenThroughMenu(CopySample("vk-a1-16ch.cfg")));
    ui.AnswerMessage(kOk);
    Act("mnuVersion");
    ASSERT_EQ(ui.Messages().size(), 2u);
    for (const auto& m : ui.Messages())
        EXPECT_TRUE(
            BoxIs(m, u"TALVERON Programmer Vertion 2.22"_s, u"TALVERON Programmer"_s, kOk, m.icon));
    QList<QAction*> shown = Inside().MenuBarActions();
    ASSERT_EQ(shown.size(), 7);
    EXPECT_EQ(shown[4], Inside().Windows().Menu()->menuAction());
    EXPECT_EQ(shown[0], mdi->Window(4)->Action(u"mnuFile"_s));
    QAction* paste1 = mdi->Window(1)->Action(u"mnuEPaste"_s);
    emit mdi->Window(1)->Menus()[1]->aboutToShow();
    EXPECT_FALSE(paste1->isEnabled());
    Inside().ClipLinesRef().push_back(ActiveDoc().lines[0]);

    QMdiArea* area = Inside().MdiArea();
    auto geometries = [&] {
        QList<QRect> rects;
        for (QMdiSubWindow* sub : area->subWindowList()) rects << sub->geometry();
        return rects;
    };
    Inside().Windows().Menu()->findChild<QAction*>(u"mnuWTile"_s)->trigger();
    const QList<QRect> tiled = geometries();
    for (qsizetype i = 0; i < tiled.size(); ++i) {
        EXPECT_TRUE(area->viewport()->rect().contains(tiled[i])) << i;
        for (qsizetype j = i + 1; j < tiled.size(); ++j)
            EXPECT_FALSE(tiled[i].intersects(tiled[j]));
    }
    area->setActiveSubWindow(mdi->SubWindow(1));
    EXPECT_EQ(geometries(), tiled);
    EXPECT_EQ(Inside().MenuBarActions()[0], mdi->Window(1)->Action(u"mnuFile"_s));
    EXPECT_TRUE(paste1->isEnabled());
    ASSERT_TRUE(QTest::qWaitForWindowActive(mdi.get()));
    QTest::keyClick(mdi->ActiveWindow(), Qt::Key_F10);
    EXPECT_EQ(QApplication::activePopupWidget(), mdi->Window(1)->Action(u"mnuFile"_s)->menu());
    if (QWidget* popup = QApplication::activePopupWidget()) popup->close();
    ASSERT_TRUE(OpenThroughMenu(CopySample("vk-a1-16ch.cfg")));
    Inside().Windows().Menu()->findChild<QAction*>(u"mnuWCascade"_s)->trigger();
    int lowest = 0;
    for (const QRect& r : geometries()) lowest = std::max(lowest, r.bottom());
    const int below = lowest - area->viewport()->height();
    ASSERT_GT(below, 0) << "the fifth window should reach below the area";
    EXPECT_TRUE(testing::WaitUntil([&] { return area->verticalScrollBar()->isVisible(); }, 2000));
    EXPECT_GE(area->verticalScrollBar()->maximum(), below);

    SCOPED_TRACE("the customer editor");
    area->setActiveSubWindow(mdi->SubWindow(1));
    document::frmNotePad* w = mdi->Window(1);
    Document& doc = *Inside().Documents().Get(1);
    QAction* customer = w->Action(u"mnuFCustomer"_s);
    customer->trigger();
    channel::frmCh_edit* dialog = Inside().Editing().ChEdit();
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(testing::WrongTexts(*dialog, u"customer"_s), "");
    EXPECT_FALSE(mdi->Status().TimerActive());
    mdi->Status().StartTimer();
    dialog->activateWindow();
    QTest::keyClicks(dialog->Rx_DTMF(0), u"City Taxi: north"_s);
    EXPECT_TRUE(testing::WaitUntil([&] { return !mdi->Status().TimerActive(); }, 3000));
    QTest::keyClicks(dialog->Rx_DTMF(1), u"SN 0042"_s);
    area->setActiveSubWindow(mdi->SubWindow(2));
    QTest::mouseClick(dialog->Command1(), Qt::LeftButton);
    EXPECT_TRUE(mdi->Status().TimerActive());
    EXPECT_EQ(w->Label3(10)->text(), u"Customer:City Taxi: north"_s);
    EXPECT_EQ(w->Label3(11)->text(), u"Serial No:SN 0042"_s);
    EXPECT_EQ(doc.customer, "City Taxi: north");
    EXPECT_TRUE(doc.state.changed);
    EXPECT_TRUE(Inside().Documents().Get(2)->customer.empty());
    EXPECT_TRUE(testing::WaitUntil([&] { return Inside().Editing().ChEdit() == nullptr; }));
    // Opened again it shows the value whole; CANCEL keeps it and changes nothing.
    doc.state.changed = false;
    customer->trigger();
    dialog = Inside().Editing().ChEdit();
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(dialog->Rx_DTMF(0)->text(), u"City Taxi: north"_s);
    EXPECT_EQ(dialog->Rx_DTMF(1)->text(), u"SN 0042"_s);
    dialog->Rx_DTMF(0)->setText(u"changed"_s);
    QTest::mouseClick(dialog->Command2(), Qt::LeftButton);
    EXPECT_TRUE(mdi->Status().TimerActive());
    EXPECT_EQ(w->Label3(10)->text(), u"Customer:City Taxi: north"_s);
    EXPECT_FALSE(doc.state.changed);
    // Closed through its frame.
    customer->trigger();
    ASSERT_NE(Inside().Editing().ChEdit(), nullptr);
    Inside().Editing().ChEdit()->close();
    EXPECT_TRUE(mdi->Status().TimerActive());
    for (int n = 1; n <= 5; ++n) mdi->SubWindow(n)->close();
    EXPECT_EQ(MenuBarNames(), (QStringList{"mnuFile", "mnuRadio", "mnuWindow", "munHelp"}));
}

// The ReadMe beside the program wins; an installed program (PREFIX/bin) finds it in
// PREFIX/share/talveron; with neither, the program's folder is named.
// A long ReadMe prints three pages with their heads on the page, the same on a 96 dpi printer
// as on a 1200 dpi one (read back with pdftotext -bbox). The print font: the default font,
// 200 twips high. A page holds the lines that fit before the print position reaches 14772
// twips, less the head's two. "Page :n" ends at R, the page width less four widths of "ZZ";
// "ReadMe" is centred between the left edge and R; the first body line sits two lines below.
TEST(ReadMe, IsFoundBesideTheProgramOrInstalledAndALongOnePrintsThreePages) {
    QTemporaryDir dir;
    ASSERT_TRUE(QDir(dir.path()).mkpath(u"bin"_s) && QDir(dir.path()).mkpath(u"share/talveron"_s));
    const QString bin = dir.path() + u"/bin"_s;
    const QString shared = dir.path() + u"/share/talveron/ReadMe.Txt"_s;
    EXPECT_EQ(ReadMePath(bin), bin + u"/ReadMe.Txt"_s);
    ASSERT_TRUE(QFile(shared).open(QIODevice::WriteOnly));
    EXPECT_EQ(ReadMePath(bin), shared);
    ASSERT_TRUE(QFile(bin + u"/ReadMe.Txt"_s).open(QIODevice::WriteOnly));
    EXPECT_EQ(ReadMePath(bin), bin + u"/ReadMe.Txt"_s);
    if (QStandardPaths::findExecutable(u"pdftotext"_s).isEmpty())
        GTEST_SKIP() << "pdftotext not installed";
    QFont font;
    font.setPixelSize(200);
    const QFontMetrics metrics(font);
    const int perPage = (14772 + metrics.height() - 1) / metrics.height() - 2;
    ASSERT_GT(perPage, 20);
    QStringList lines;  // two full pages and half a third
    const int count = 2 * perPage + perPage / 2;
    for (int i = 1; i <= count; ++i) lines << u"ReadMe line %1"_s.arg(i);
    for (auto mode : {QPrinter::ScreenResolution, QPrinter::HighResolution}) {
        SCOPED_TRACE(mode);
        QPrinter printer(mode);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setPageSize(QPageSize(QPageSize::A4));
        printer.setOutputFileName(dir.filePath(u"readme%1.pdf"_s.arg(mode)));
        const QRectF area = printer.pageRect(QPrinter::Point);
        EXPECT_EQ(PrintReadMeLines(printer, lines), 3);
        const double right = area.width() - 4 * metrics.horizontalAdvance(u"ZZ"_s) / 20.0;
        int lastBefore = 0;
        std::map<int, std::vector<testing::PdfWord>> pages;
        for (const auto& w : testing::PdfWords(printer.outputFileName()))
            pages[w.page].push_back(w);
        ASSERT_EQ(pages.size(), 3u);
        for (auto& [page, on] : pages) {
            SCOPED_TRACE(page);
            ASSERT_GE(on.size(), 4u);
            std::stable_sort(on.begin(), on.end(), [](auto& a, auto& b) { return a.y < b.y; });
            std::sort(on.begin(), on.begin() + 3, [](auto& a, auto& b) { return a.x < b.x; });
            EXPECT_EQ(on[0].text + on[1].text + on[2].text, u"ReadMePage:%1"_s.arg(page));
            EXPECT_NEAR(on[2].xMax, area.left() + right, 2.0);
            EXPECT_NEAR((on[0].x + on[0].xMax) / 2, area.left() + right / 2, 2.0);
            EXPECT_NEAR(on[3].y - on[0].y, 2 * metrics.height() / 20.0, 1.5);
            // Each page carries the lines after the last one of the page before; a full page
            // holds perPage (the printer's metrics and these may round one twip apart).
            const int first = on[5].text.toInt(), last = on.back().text.toInt();
            EXPECT_EQ(first, lastBefore + 1);
            if (page < 3) EXPECT_NEAR(last - first + 1, perPage, 1);
            if (page == 3) EXPECT_EQ(last, count);
            lastBefore = last;
        }
    }
}

}  // namespace
}  // namespace talveron::app
