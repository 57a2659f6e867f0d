// The shell around the documents: the status line's blink, the main window's menus and their
// swap with a document window's, About, the ReadMe viewer (missing, shown, closed; its printout
// is checked in readme_print_test), the customer editor, F10 and the Window menu.
#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>

#include "app/frm_readme.h"
#include "app_fixture.h"
#include "channel/frm_ch_edit.h"
#include "platform/twips.h"
#include "qt_test_util.h"

namespace talveron::app {
namespace {

using namespace Qt::Literals::StringLiterals;
using platform::kNo;
using platform::kOk;

using ShellTest = RunningApp;
using channel::frmCh_edit;

TEST_F(ShellTest, ARedStatusBlinksEachTickABlackOneNeverAndFitStatusSizesTheLine) {
    StatusLine& status = mdi->Status();
    status.SetText(u"Not detected"_s, StatusColor::Red);
    for (bool visible : {true, false, true}) {
        EXPECT_EQ(status.Visible(), visible);
        status.Tick();
    }
    EXPECT_TRUE(status.Label()->styleSheet().contains(u"#ff0000"_s));
    status.ShowStatus(u"VK-A1   detected"_s);
    for (int i = 0; i < 3; ++i, status.Tick()) EXPECT_TRUE(status.Visible());
    EXPECT_TRUE(status.Label()->styleSheet().contains(u"#000000"_s));
    const int at12 = status.Label()->width();
    EXPECT_EQ(status.Label()->font().pointSize(), 12);
    status.FitStatus(15);
    EXPECT_EQ(status.Label()->font().pointSize(), 15);
    EXPECT_GT(status.Label()->width(), at12);
    EXPECT_EQ(status.Label()->width(),
              QFontMetrics(status.Label()->font()).horizontalAdvance(status.Text()));
    // Timer1 itself drives the blink once a second.
    status.SetText(u"Channel #3 Range Out !"_s, StatusColor::Red);
    ASSERT_TRUE(status.TimerActive());
    EXPECT_TRUE(testing::WaitUntil([&] { return !status.Visible(); }, 5000));
    EXPECT_TRUE(testing::WaitUntil([&] { return status.Visible(); }, 5000));
    status.StopTimer();
    status.Tick();  // a stopped timer does not tick, but the tick itself still works
    EXPECT_FALSE(status.Visible());
}

TEST_F(ShellTest, TheMainMenusReadAsTheProgramDefinesThem) {
    QStringList file;
    for (QAction* a : mdi->MainAction(u"mnuFile"_s)->menu()->actions())
        file << (a->isSeparator() ? u"-"_s : a->text());
    EXPECT_EQ(file.join(u'|'),
              u"&New|&Open|E&xit|-|-|RecentFile1|RecentFile2|RecentFile3|"
              "RecentFile4"_s);
    EXPECT_FALSE(mdi->MainAction(u"mnuFNew"_s)->isVisible());
    EXPECT_EQ(mdi->MainAction(u"mnuFNew"_s)->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_N));
    for (const auto& [name, text] : {std::pair{"mnuRadio", "&Radio"},
                                     {"mnuRadioItem0", "&Upload"},
                                     {"munHelp", "&Help"},
                                     {"mnuReadMe", "&ReadMe"},
                                     {"munVersion", "&About"}})
        EXPECT_EQ(mdi->MainAction(QString::fromLatin1(name))->text(), QString::fromLatin1(text));
    EXPECT_EQ(mdi->MainAction(u"mnuRadio"_s)->menu()->actions().size(), 1);
    // About, from either menu bar.
    ui.AnswerMessage(kOk);
    Act("munVersion");
    Upload();
    ui.AnswerMessage(kOk);
    Act("mnuVersion");
    ASSERT_EQ(ui.Messages().size(), 2u);
    for (const auto& m : ui.Messages())
        EXPECT_TRUE(BoxIs(m, u"TALVERON Programmer Vertion 2.22"_s, {}, kOk, m.icon));
}

// The menu bar follows the active window, with the one Window menu before Help; activation
// enables Paste while the channel clipboard holds lines.
TEST_F(ShellTest, TheMenuBarAndPasteFollowTheActiveWindow) {
    const QStringList mainMenus{"mnuFile", "mnuRadio", "mnuWindow", "munHelp"};
    EXPECT_EQ(MenuBarNames(), mainMenus);
    Upload();
    Upload();
    ASSERT_EQ(mdi->ActiveNumber(), 2);
    QList<QAction*> shown = Inside().MenuBarActions();
    ASSERT_EQ(shown.size(), 7);
    EXPECT_EQ(shown[4], Inside().Windows().Menu()->menuAction());
    EXPECT_EQ(shown[0], mdi->Window(2)->Action(u"mnuFile"_s));
    QAction* paste1 = mdi->Window(1)->Action(u"mnuEPaste"_s);
    emit mdi->Window(1)->Menus()[1]->aboutToShow();
    EXPECT_FALSE(paste1->isEnabled());
    Inside().ClipLinesRef().push_back(Inside().Documents().Get(2)->lines[0]);
    Inside().MdiArea()->setActiveSubWindow(mdi->SubWindow(1));
    EXPECT_EQ(Inside().MenuBarActions()[0], mdi->Window(1)->Action(u"mnuFile"_s));
    EXPECT_TRUE(paste1->isEnabled());
    ui.AnswerMessage(kNo);
    ui.AnswerMessage(kNo);
    mdi->SubWindow(1)->close();
    mdi->SubWindow(2)->close();
    EXPECT_EQ(MenuBarNames(), mainMenus);
}

TEST_F(ShellTest, TheReadMeIsReportedMissingOrShownAndClosingItRestoresTheStatus) {
    ui.AnswerMessage(kOk);
    Act("mnuReadMe");
    EXPECT_EQ(Texts(), QStringList{u"Can not find ReadMe.txt File in current Directory"_s});
    EXPECT_EQ(Inside().ReadMeWindow(), nullptr);
    const QString text = u"TALVERON\nline two\n\nlast line"_s;
    WriteReadMe(text.toUtf8());
    Act("mnuReadMe");
    QPointer<frmReadMe> first = Inside().ReadMeWindow();
    ASSERT_NE(first, nullptr);
    EXPECT_TRUE(first->isVisible());
    EXPECT_EQ(first->windowTitle(), u"ReadMe"_s);
    EXPECT_EQ(first->Text1()->toPlainText(), text);
    EXPECT_TRUE(first->Text1()->isReadOnly());
    const QString printHint = u"To print Readme pressb Ctrl+P, to close ReadMe press Ctrl+Q"_s;
    EXPECT_EQ(mdi->Status().Text(), printHint);
    EXPECT_FALSE(ui.Busy());
    // Asked for again while it shows: a new viewer replaces it and the hint stays, in black.
    mdi->Status().SetText(u"Not detected"_s, StatusColor::Red);
    mdi->Status().SaveState();
    Act("mnuReadMe");
    frmReadMe* viewer = Inside().ReadMeWindow();
    ASSERT_NE(viewer, nullptr);
    EXPECT_NE(viewer, first.data());
    EXPECT_EQ(mdi->Status().Text(), printHint);
    EXPECT_EQ(mdi->Status().Color(), StatusColor::Black);
    EXPECT_TRUE(testing::WaitUntil([&] { return first.isNull(); }));
    // Resizing keeps the text box 400 twips narrower and 800 twips lower than the window.
    viewer->resize(700, 500);
    EXPECT_EQ(viewer->Text1()->width(), 700 - platform::TwipsToPixels(400));
    EXPECT_EQ(viewer->Text1()->height(), 500 - platform::TwipsToPixels(800));
    // Exit with no document open: the menu hint again.
    viewer->findChild<QAction*>(u"mnuExit"_s)->trigger();
    EXPECT_TRUE(testing::WaitUntil([&] { return Inside().ReadMeWindow() == nullptr; }));
    EXPECT_EQ(mdi->Status().Text(), QString::fromLatin1(kMenuHint));
    EXPECT_EQ(mdi->Status().Color(), StatusColor::Black);

    // With a document open, Exit checks the document again; so does closing the frame, in
    // black.
    Upload();
    for (bool frame : {false, true}) {
        Act("mnuReadMe");
        ASSERT_NE(Inside().ReadMeWindow(), nullptr);
        mdi->Status().SetText(u"Not detected"_s, StatusColor::Red);
        if (frame)
            Inside().ReadMeWindow()->close();
        else
            Inside().ReadMeWindow()->findChild<QAction*>(u"mnuExit"_s)->trigger();
        EXPECT_EQ(mdi->Status().Text(), u"ALL Channels In Range"_s);
        EXPECT_EQ(mdi->Status().Color(), StatusColor::Black);
    }
}

// The editor shows its texts, OK writes them into the document it was opened for, CANCEL
// keeps both; Timer1 rests while it shows (even when activated again) and runs once it has
// closed, whichever way.
TEST_F(ShellTest, TheCustomerEditorWritesItsDocumentOnOkAndTimer1RestsWhileItShows) {
    Upload();
    Upload();
    Inside().MdiArea()->setActiveSubWindow(mdi->SubWindow(1));
    document::frmNotePad* w = mdi->Window(1);
    Document& doc = *Inside().Documents().Get(1);
    QAction* customer = w->Action(u"mnuFCustomer"_s);
    customer->trigger();
    customer->trigger();  // opened again: replaces the shown one
    frmCh_edit* dialog = Inside().Editing().ChEdit();
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(dialog->windowTitle(), u"Customer Info."_s);
    EXPECT_FALSE(dialog->isModal());
    EXPECT_EQ(dialog->findChild<QLabel*>(u"Label1_0"_s)->text(), u"Customer     :"_s);
    EXPECT_EQ(dialog->findChild<QLabel*>(u"Label1_1"_s)->text(), u"Serial Number:"_s);
    EXPECT_TRUE(dialog->Rx_DTMF(0)->text().isEmpty());
    EXPECT_FALSE(mdi->Status().TimerActive());
    mdi->Status().StartTimer();
    dialog->activateWindow();
    QTest::keyClicks(dialog->Rx_DTMF(0), u"City Taxi: north"_s);
    EXPECT_TRUE(testing::WaitUntil([&] { return !mdi->Status().TimerActive(); }, 3000));
    QTest::keyClicks(dialog->Rx_DTMF(1), u"SN 0042"_s);
    Inside().MdiArea()->setActiveSubWindow(mdi->SubWindow(2));
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
    EXPECT_TRUE(testing::WaitUntil([&] { return Inside().Editing().ChEdit() == nullptr; }));

    // Closed through its frame; and closing its document closes it too.
    customer->trigger();
    ASSERT_NE(Inside().Editing().ChEdit(), nullptr);
    Inside().Editing().ChEdit()->close();
    EXPECT_TRUE(mdi->Status().TimerActive());
    customer->trigger();
    ui.AnswerMessage(kNo);
    mdi->SubWindow(1)->close();
    EXPECT_TRUE(testing::WaitUntil([&] { return Inside().Editing().ChEdit() == nullptr; }));
}

// F10 opens the first menu of the menu bar in view (here a document window's).
TEST_F(ShellTest, F10OpensTheFirstMenu) {
    Upload();
    ASSERT_TRUE(QTest::qWaitForWindowActive(mdi.get()));
    QTest::keyClick(mdi->ActiveWindow(), Qt::Key_F10);
    EXPECT_EQ(QApplication::activePopupWidget(), mdi->ActiveWindow()->Action(u"mnuFile"_s)->menu());
    if (QWidget* popup = QApplication::activePopupWidget()) popup->close();
}

// Window > Tile lays four documents side by side in view, and activating one keeps them so; a
// fifth cascaded window reaching below the area can be scrolled to.
TEST_F(ShellTest, TheWindowMenuTilesAndCascades) {
    for (int i = 0; i < 4; ++i) Upload();
    ASSERT_EQ(Captions().size(), 4);
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
    Upload();
    Inside().Windows().Menu()->findChild<QAction*>(u"mnuWCascade"_s)->trigger();
    int lowest = 0;
    for (const QRect& r : geometries()) lowest = std::max(lowest, r.bottom());
    const int below = lowest - area->viewport()->height();
    ASSERT_GT(below, 0) << "the fifth window should reach below the area";
    EXPECT_TRUE(testing::WaitUntil([&] { return area->verticalScrollBar()->isVisible(); }, 2000));
    EXPECT_GE(area->verticalScrollBar()->maximum(), below);
}

}  // namespace
}  // namespace talveron::app
