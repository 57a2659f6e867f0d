// The shell around the documents: the status line's blink, the main window's menus and their
// swap with a document window's, About, the ReadMe viewer (missing, shown, closed, printed)
// and the customer editor.
#include <QAction>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPrinter>
#include <QProcess>
#include <QPushButton>
#include <QStandardPaths>
#include <QTest>

#include "app/frm_readme.h"
#include "app_fixture.h"
#include "platform/twips.h"
#include "qt_test_util.h"

namespace talveron::app {
namespace {

using platform::kOk;

class ShellTest : public AppTest {
  protected:
    void SetUp() override {
        AppTest::SetUp();
        StartRadio();
        StartMain();
    }
    void WriteReadMe(const QString& text) {
        QFile f(TempPath(QStringLiteral("ReadMe.Txt")));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(text.toUtf8());
    }
};

TEST_F(ShellTest, ARedStatusBlinksEachTickAndABlackOneNeverDoes) {
    StatusLine& status = mdi->Status();
    status.SetText(QStringLiteral("Not detected"), kStatusRed);
    status.FitStatus(15);
    EXPECT_TRUE(status.Visible());
    status.Tick();
    EXPECT_FALSE(status.Visible());
    status.Tick();
    EXPECT_TRUE(status.Visible());
    EXPECT_TRUE(status.Label()->styleSheet().contains(QStringLiteral("#ff0000")));

    status.ShowStatus(QStringLiteral("ALL Channels In Range"));
    for (int i = 0; i < 3; ++i) {
        status.Tick();
        EXPECT_TRUE(status.Visible());
    }
    EXPECT_TRUE(status.Label()->styleSheet().contains(QStringLiteral("#000000")));

    // Timer1 itself drives the blink once a second.
    status.SetText(QStringLiteral("Channel #3 Range Out !"), kStatusRed);
    ASSERT_TRUE(status.TimerActive());
    EXPECT_TRUE(testing::WaitUntil([&] { return !status.Visible(); }, 5000));
    EXPECT_TRUE(testing::WaitUntil([&] { return status.Visible(); }, 5000));
    status.StopTimer();
    status.Tick();  // a stopped timer does not tick, but the tick itself still works
    EXPECT_FALSE(status.Visible());
}

TEST_F(ShellTest, FitStatusSizesTheLineToItsText) {
    StatusLine& status = mdi->Status();
    status.ShowStatus(QStringLiteral("VK-A1   detected"));
    const int at12 = status.Label()->width();
    EXPECT_EQ(status.Label()->font().pointSize(), 12);
    status.FitStatus(15);
    EXPECT_EQ(status.Label()->font().pointSize(), 15);
    EXPECT_GT(status.Label()->width(), at12);
    EXPECT_EQ(status.Label()->width(),
              QFontMetrics(status.Label()->font()).horizontalAdvance(status.Text()));
}

TEST_F(ShellTest, TheMainMenusReadAsTheProgramDefinesThem) {
    QStringList file;
    for (QAction* a : mdi->MainAction(QStringLiteral("mnuFile"))->menu()->actions())
        file << (a->isSeparator() ? QStringLiteral("-") : a->text());
    EXPECT_EQ(file, (QStringList{"&New", "&Open", "E&xit", "-", "-", "RecentFile1", "RecentFile2",
                                 "RecentFile3", "RecentFile4"}));
    QAction* fileNew = mdi->MainAction(QStringLiteral("mnuFNew"));
    EXPECT_FALSE(fileNew->isVisible());
    EXPECT_EQ(fileNew->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_N));
    EXPECT_EQ(mdi->MainAction(QStringLiteral("mnuRadio"))->text(), QStringLiteral("&Radio"));
    EXPECT_EQ(mdi->MainAction(QStringLiteral("mnuRadioItem0"))->text(), QStringLiteral("&Upload"));
    EXPECT_EQ(mdi->MainAction(QStringLiteral("munHelp"))->text(), QStringLiteral("&Help"));
    EXPECT_EQ(mdi->MainAction(QStringLiteral("mnuReadMe"))->text(), QStringLiteral("&ReadMe"));
    EXPECT_EQ(mdi->MainAction(QStringLiteral("munVersion"))->text(), QStringLiteral("&About"));
    EXPECT_EQ(mdi->MainAction(QStringLiteral("mnuRadio"))->menu()->actions().size(), 1);
}

TEST_F(ShellTest, TheMenuBarFollowsTheActiveWindow) {
    EXPECT_EQ(MenuBarNames(), (QStringList{"mnuFile", "mnuRadio", "munHelp"}));
    Upload();
    Upload();
    ASSERT_EQ(mdi->ActiveNumber(), 2);
    QList<QAction*> shown = mdi->MenuBarActions();
    ASSERT_EQ(shown.size(), 6);
    EXPECT_EQ(shown[0], mdi->Window(2)->Action(QStringLiteral("mnuFile")));
    mdi->MdiArea()->setActiveSubWindow(mdi->SubWindow(1));
    shown = mdi->MenuBarActions();
    EXPECT_EQ(shown[0], mdi->Window(1)->Action(QStringLiteral("mnuFile")));
    mdi->SubWindow(1)->close();
    mdi->SubWindow(2)->close();
    EXPECT_EQ(MenuBarNames(), (QStringList{"mnuFile", "mnuRadio", "munHelp"}));
}

TEST_F(ShellTest, PasteFollowsTheChannelClipboardInEveryWindow) {
    Upload();
    Upload();
    QAction* paste1 = mdi->Window(1)->Action(QStringLiteral("mnuEPaste"));
    QAction* paste2 = mdi->Window(2)->Action(QStringLiteral("mnuEPaste"));
    emit mdi->Window(2)->Menus()[1]->aboutToShow();
    EXPECT_FALSE(paste2->isEnabled());
    mdi->ClipLinesRef().push_back(mdi->Documents().Get(2)->lines[0]);
    mdi->MdiArea()->setActiveSubWindow(mdi->SubWindow(1));  // activation enables
    EXPECT_TRUE(paste1->isEnabled());
    emit mdi->Window(2)->Menus()[1]->aboutToShow();  // opening the Edit menu too
    EXPECT_TRUE(paste2->isEnabled());
    mdi->ClipLinesRef().clear();
    emit mdi->Window(1)->Menus()[1]->aboutToShow();
    EXPECT_FALSE(paste1->isEnabled());
}

TEST_F(ShellTest, AboutShowsTheVersion) {
    ui.AnswerMessage(kOk);
    mdi->MainAction(QStringLiteral("munVersion"))->trigger();
    Upload();
    ui.AnswerMessage(kOk);
    mdi->ActiveWindow()->Action(QStringLiteral("mnuVersion"))->trigger();
    ASSERT_EQ(ui.Messages().size(), 2u);
    for (const auto& m : ui.Messages()) {
        EXPECT_EQ(m.text, QStringLiteral("TALVERON Programmer Vertion 2.22"));
        EXPECT_EQ(m.buttons, kOk);
    }
}

TEST_F(ShellTest, AMissingReadMeIsReportedAndOpensNothing) {
    ui.AnswerMessage(kOk);
    mdi->MainAction(QStringLiteral("mnuReadMe"))->trigger();
    ASSERT_EQ(ui.Messages().size(), 1u);
    EXPECT_EQ(ui.Messages()[0].text,
              QStringLiteral("Can not find ReadMe.txt File in current Directory"));
    EXPECT_EQ(mdi->ReadMeWindow(), nullptr);
    EXPECT_EQ(mdi->Status().Text(), QString::fromLatin1(kMenuHint));
}

TEST_F(ShellTest, TheReadMeIsShownAndClosingItRestoresTheStatus) {
    const QString text = QStringLiteral("TALVERON\nline two\n\nlast line");
    WriteReadMe(text);
    mdi->MainAction(QStringLiteral("mnuReadMe"))->trigger();
    frmReadMe* viewer = mdi->ReadMeWindow();
    ASSERT_NE(viewer, nullptr);
    EXPECT_TRUE(viewer->isVisible());
    EXPECT_EQ(viewer->windowTitle(), QStringLiteral("ReadMe"));
    EXPECT_EQ(viewer->Text1()->toPlainText(), text);
    EXPECT_TRUE(viewer->Text1()->isReadOnly());
    EXPECT_EQ(mdi->Status().Text(),
              QStringLiteral("To print Readme pressb Ctrl+P, to close ReadMe press Ctrl+Q"));
    EXPECT_FALSE(ui.Busy());
    // Resizing keeps the text box 400 twips narrower and 800 twips lower than the window.
    viewer->resize(700, 500);
    EXPECT_EQ(viewer->Text1()->width(), 700 - platform::TwipsToPixels(400));
    EXPECT_EQ(viewer->Text1()->height(), 500 - platform::TwipsToPixels(800));
    // Exit with no document open: the menu hint again.
    viewer->findChild<QAction*>(QStringLiteral("mnuExit"))->trigger();
    EXPECT_TRUE(testing::WaitUntil([&] { return mdi->ReadMeWindow() == nullptr; }));
    EXPECT_EQ(mdi->Status().Text(), QString::fromLatin1(kMenuHint));
    EXPECT_EQ(mdi->Status().Color(), kStatusBlack);
}

TEST_F(ShellTest, ClosingTheReadMeWithADocumentOpenChecksTheDocumentAgain) {
    WriteReadMe(QStringLiteral("text"));
    Upload();
    mdi->ActiveWindow()->Action(QStringLiteral("mnuReadMe"))->trigger();
    ASSERT_NE(mdi->ReadMeWindow(), nullptr);
    mdi->ReadMeWindow()->findChild<QAction*>(QStringLiteral("mnuExit"))->trigger();
    EXPECT_EQ(mdi->Status().Text(), QStringLiteral("ALL Channels In Range"));
    // Closing it through its frame puts the saved status back in black.
    mdi->ActiveWindow()->Action(QStringLiteral("mnuReadMe"))->trigger();
    ASSERT_NE(mdi->ReadMeWindow(), nullptr);
    mdi->ReadMeWindow()->close();
    EXPECT_EQ(mdi->Status().Text(), QStringLiteral("ALL Channels In Range"));
    EXPECT_EQ(mdi->Status().Color(), kStatusBlack);
}

TEST(ReadMePrinting, ALongReadMePrintsThreePagesWithNumberedHeads) {
    QTemporaryDir dir;
    QStringList lines;
    for (int i = 1; i <= 140; ++i) lines << QStringLiteral("ReadMe line %1").arg(i);
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setPageSize(QPageSize(QPageSize::A4));
    const QString pdf = dir.filePath(QStringLiteral("readme.pdf"));
    printer.setOutputFileName(pdf);
    const int pages = PrintReadMeLines(printer, lines);
    EXPECT_EQ(pages, 3);
    const QString pdftotext = QStandardPaths::findExecutable(QStringLiteral("pdftotext"));
    if (pdftotext.isEmpty()) GTEST_SKIP() << "pdftotext not installed";
    QProcess p;
    p.start(pdftotext, {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
    ASSERT_TRUE(p.waitForFinished(30000));
    const QString text = QString::fromUtf8(p.readAllStandardOutput());
    const QStringList pageTexts = text.split(QLatin1Char('\f'), Qt::SkipEmptyParts);
    ASSERT_GE(pageTexts.size(), 3);
    for (int i = 0; i < 3; ++i) {
        const QString head = pageTexts[i].trimmed().section(QLatin1Char('\n'), 0, 0);
        EXPECT_TRUE(head.contains(QStringLiteral("ReadMe"))) << head.toStdString();
        EXPECT_TRUE(head.contains(QStringLiteral("Page :%1").arg(i + 1))) << head.toStdString();
    }
    EXPECT_TRUE(text.contains(QStringLiteral("ReadMe line 1\n")) ||
                text.contains(QStringLiteral("ReadMe line 1 ")));
    EXPECT_TRUE(pageTexts[2].contains(QStringLiteral("ReadMe line 140")));
    EXPECT_FALSE(pageTexts[0].contains(QStringLiteral("ReadMe line 140")));
}

TEST_F(ShellTest, TheCustomerEditorWritesBothTextsOnOk) {
    Upload();
    const int n = mdi->ActiveNumber();
    document::frmNotePad* w = mdi->ActiveWindow();
    w->Action(QStringLiteral("mnuFCustomer"))->trigger();
    CustomerDialog* dialog = mdi->Customer();
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(dialog->windowTitle(), QStringLiteral("Customer Info."));
    EXPECT_FALSE(dialog->isModal());
    EXPECT_EQ(dialog->findChild<QLabel*>(QStringLiteral("Label1_0"))->text(),
              QStringLiteral("Customer     :"));
    EXPECT_EQ(dialog->findChild<QLabel*>(QStringLiteral("Label1_1"))->text(),
              QStringLiteral("Serial Number:"));
    EXPECT_TRUE(dialog->CustomerBox()->text().isEmpty());
    QTest::keyClicks(dialog->CustomerBox(), QStringLiteral("City Taxi: north"));
    QTest::keyClicks(dialog->SerialBox(), QStringLiteral("SN 0042"));
    QTest::mouseClick(dialog->OkButton(), Qt::LeftButton);
    EXPECT_EQ(w->Label3(10)->text(), QStringLiteral("Customer:City Taxi: north"));
    EXPECT_EQ(w->Label3(11)->text(), QStringLiteral("Serial No:SN 0042"));
    EXPECT_EQ(mdi->Documents().Get(n)->customer, "City Taxi: north");
    EXPECT_TRUE(testing::WaitUntil([&] { return mdi->Customer() == nullptr; }));

    // Opened again it shows the value whole; CANCEL keeps it.
    w->Action(QStringLiteral("mnuFCustomer"))->trigger();
    dialog = mdi->Customer();
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(dialog->CustomerBox()->text(), QStringLiteral("City Taxi: north"));
    EXPECT_EQ(dialog->SerialBox()->text(), QStringLiteral("SN 0042"));
    dialog->CustomerBox()->setText(QStringLiteral("changed"));
    QTest::mouseClick(dialog->CancelButton(), Qt::LeftButton);
    EXPECT_EQ(w->Label3(10)->text(), QStringLiteral("Customer:City Taxi: north"));
}

TEST_F(ShellTest, TheCustomerEditorWritesIntoTheDocumentItWasOpenedFor) {
    Upload();
    Upload();
    mdi->MdiArea()->setActiveSubWindow(mdi->SubWindow(1));
    mdi->Window(1)->Action(QStringLiteral("mnuFCustomer"))->trigger();
    CustomerDialog* dialog = mdi->Customer();
    ASSERT_NE(dialog, nullptr);
    dialog->CustomerBox()->setText(QStringLiteral("first"));
    mdi->MdiArea()->setActiveSubWindow(mdi->SubWindow(2));
    QTest::mouseClick(dialog->OkButton(), Qt::LeftButton);
    EXPECT_EQ(mdi->Documents().Get(1)->customer, "first");
    EXPECT_TRUE(mdi->Documents().Get(2)->customer.empty());
    // Closing its document closes the editor too.
    mdi->Window(1)->Action(QStringLiteral("mnuFCustomer"))->trigger();
    ASSERT_NE(mdi->Customer(), nullptr);
    mdi->SubWindow(1)->close();
    EXPECT_TRUE(testing::WaitUntil([&] { return mdi->Customer() == nullptr; }));
}

}  // namespace
}  // namespace talveron::app
