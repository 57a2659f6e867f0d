// Start-up on talveron-vradio on a pseudo-terminal, then Upload and Download against it, one
// path per flow: what arrives and what is written, the TEMP captions after uploads and closes,
// the band question, and faults answered No and Yes, with the program locked while the
// transfer runs.
#include "app/frm_hi.h"
#include "app_fixture.h"

namespace talveron::app {
namespace {

const QString kTryAgain = u" !  Make sure the connection is OK\nTry Again ?"_s;

// With a radio on port 1 nothing is asked at start-up; the splash shows while the ports are
// detected, then goes, and the reset's state follows; the window is centred on the screen.
// A failed download answered Yes is written again whole (two read-back differences, each fault
// striking once); crossed bands are asked about, No writes nothing and Yes writes anyway. A
// download is not a save. Uploads open as TEMP windows.
TEST_F(AppTest, OnARadioNothingIsAskedDownloadsWriteAgainAndUploadsOpenAsTempWindows) {
    StartRadio(
        {"--load", Sample("vk-a1-16ch.cfg"), "--fault", "corrupt@0x20", "--fault", "corrupt@0x48"});
    bool splashSeen = false;
    QString statusWhileSplash;
    QTimer::singleShot(20, [&] {
        if (!mdi) return;
        for (frmHi* hi : mdi->findChildren<frmHi*>()) splashSeen = splashSeen || hi->isVisible();
        statusWhileSplash = mdi->Status().Text();
    });
    StartMain(true);
    EXPECT_TRUE(splashSeen);
    EXPECT_EQ(statusWhileSplash, u"Detecting RS232 port..."_s);
    for (frmHi* hi : mdi->findChildren<frmHi*>()) EXPECT_FALSE(hi->isVisible());
    EXPECT_TRUE(ui.Messages().empty());
    EXPECT_TRUE(mdi->isVisible());
    EXPECT_EQ(mdi->windowTitle(), u"MDI PC programmer"_s);
    EXPECT_EQ(mdi->Status().Text(), QString::fromLatin1(kMenuHint));
    EXPECT_FALSE(Inside().ProgressBar1()->isVisible() || ui.Busy());
    const QRect screen = mdi->screen()->geometry();
    EXPECT_TRUE(mdi->width() > 0 && mdi->width() <= screen.width());
    EXPECT_NEAR(mdi->x() + mdi->width() / 2, screen.center().x(), 2);
    EXPECT_NEAR(mdi->y() + mdi->height() / 2, screen.center().y(), 2);

    SCOPED_TRACE("downloads");
    const QString one = CopySample("vk-a1-16ch.cfg"), two = CopySample("vk-a2-16ch.cfg");
    ASSERT_TRUE(OpenThroughMenu(one));
    EXPECT_EQ(ui.OpenRequests()[0].folder, DocumentsFolder());
    EditChannel(ActiveDoc(), 6, 3);
    const std::vector<std::string> edited = ActiveDoc().lines;
    ui.AnswerMessage(kYes);
    Download();
    EXPECT_EQ(Texts(), QStringList{u"Download Err"_s + kTryAgain});
    EXPECT_EQ(mdi->Status().Text(), u"ALL Channels In Range"_s);
    EXPECT_TRUE(ActiveDoc().state.changed);
    ASSERT_TRUE(OpenThroughMenu(two));
    ui.AnswerMessage(kNo);
    Download();
    ASSERT_EQ(ui.Messages().size(), 2u);
    EXPECT_TRUE(BoxIs(ui.Messages()[1],
                      u"Error warning: Band are Crossed !\nDo you want to continue ?"_s,
                      two.toUpper(), kYes | kNo, MsgIcon::Critical));
    EXPECT_EQ(ui.Messages()[1].defaultButton, kNo);

    SCOPED_TRACE("uploads");
    Upload();
    ASSERT_EQ(Captions(), (QStringList{one.toUpper(), two.toUpper(), "TEMP1.CFG"}));
    EXPECT_EQ(ActiveDoc().lines, edited);
    EXPECT_EQ(mdi->ActiveWindow()->Label3(8)->text(), u"Model:VK-A1  "_s);
    EXPECT_EQ(mdi->Status().Text(), u"ALL Channels In Range"_s);
    EXPECT_FALSE(Inside().ProgressBar1()->isVisible() || ui.Busy());
    EXPECT_TRUE(mdi->Status().TimerActive());
    Inside().MdiArea()->setActiveSubWindow(mdi->SubWindow(2));
    ui.AnswerMessage(kYes);
    Download();
    EXPECT_EQ(ui.Messages().size(), 3u);
    Upload();
    EXPECT_EQ(ActiveDoc().lines, LinesOfFile(two));
    Upload();
    ASSERT_EQ(Captions().mid(3), (QStringList{"TEMP2.CFG", "TEMP3.CFG"}));
    // Save on an upload asks with its caption, Save As with "Untitled.cfg"; both cancelled.
    ui.AnswerSave(QString());
    ui.AnswerSave(QString());
    Act("mnuFSave");
    Act("mnuFSaveAs");
    ASSERT_EQ(ui.SaveRequests().size(), 2u);
    EXPECT_EQ(ui.SaveRequests()[0].presetName, u"TEMP3.CFG"_s);
    EXPECT_EQ(ui.SaveRequests()[1].presetName, u"Untitled.cfg"_s);
    EXPECT_EQ(ui.SaveRequests()[0].folder, QFileInfo(two).absolutePath());
    // An upload exists nowhere else: closing it asks, changed or not; Yes offers its TEMP name,
    // and a cancelled dialog keeps it.
    ui.AnswerMessage(kYes);
    ui.AnswerSave(QString());
    ASSERT_FALSE(mdi->SubWindow(3)->close());
    EXPECT_EQ(Texts().last(),
              u"The data in [TEMP1] has changed.\nDo you want to save the changes?"_s);
    EXPECT_EQ(ui.SaveRequests().back().presetName, u"TEMP1"_s);
    // Closing TEMP1 numbers the others downwards in window order; the next upload takes the
    // free window number and the next TEMP number (the numbering itself is the document
    // set's, checked with it).
    ui.AnswerMessage(kNo);
    mdi->SubWindow(3)->close();
    EXPECT_EQ(Captions().mid(2), (QStringList{"TEMP2", "TEMP1"}));
    Upload();
    ASSERT_EQ(Captions().mid(2), (QStringList{"TEMP3.CFG", "TEMP2", "TEMP1"}));
    EXPECT_EQ(ui.Unexpected(), 0);
}

// The line goes dead during an upload: the program is locked while the question is open, and
// No opens no window. Asked again the dead radio is not detected (red, under the main
// caption when no document is open), and with no document left the program is reset.
TEST_F(AppTest, ALineGoingDeadLocksTheProgramWhileAskedAndIsNotDetectedAgain) {
    StartRadio({"--fault", "dead@0x40"});
    StartMain();
    const QString path = CopySample("vk-a1-16ch.cfg");
    ASSERT_TRUE(OpenThroughMenu(path));
    const int fileDoc = mdi->ActiveNumber();
    bool looked = false;
    ui.onMessage = [&](const platform::MessageRequest& r) {
        if (looked || !r.text.startsWith(u"Upload Err"_s)) return;
        looked = true;
        EXPECT_TRUE(mdi->TransferRunning());
        EXPECT_FALSE(mdi->LoadImageFile(path));
        EXPECT_FALSE(mdi->SubWindow(fileDoc)->close());
        EXPECT_FALSE(mdi->close());
        const std::size_t before = ui.Messages().size();
        mdi->RadioCommand(0);  // a second transfer cannot start
        EXPECT_EQ(ui.Messages().size(), before);
        EXPECT_FALSE(mdi->MainAction(u"mnuFile"_s)->isEnabled());
        for (const QString& menu : {u"mnuFile"_s, u"mnuEdit"_s, u"mnuRadio"_s})
            EXPECT_FALSE(mdi->Window(fileDoc)->Action(menu)->isEnabled()) << menu.toStdString();
        EXPECT_TRUE(Inside().ProgressBar1()->isVisible());
        EXPECT_EQ(Inside().ProgressBar1()->maximum(), 144);
        EXPECT_EQ(Inside().ProgressBar1()->value(), 0x40);  // the frames before the dead one
        EXPECT_FALSE(mdi->Status().TimerActive());
    };
    ui.AnswerMessage(kNo);
    Upload();
    EXPECT_TRUE(looked);
    ASSERT_EQ(ui.Messages().size(), 1u);
    EXPECT_TRUE(BoxIs(ui.Messages()[0], u"Upload Err"_s + kTryAgain, path.toUpper(), kYes | kNo,
                      MsgIcon::Question));
    // No new window; the program is free again, the document checked again.
    ASSERT_EQ(Captions(), QStringList{path.toUpper()});
    EXPECT_FALSE(mdi->TransferRunning());
    EXPECT_TRUE(mdi->ActiveWindow()->Action(u"mnuFile"_s)->isEnabled());
    EXPECT_TRUE(mdi->MainAction(u"mnuFile"_s)->isEnabled());
    EXPECT_FALSE(Inside().ProgressBar1()->isVisible() || ui.Busy());
    EXPECT_TRUE(mdi->Status().TimerActive());
    EXPECT_EQ(mdi->Status().Text(), u"ALL Channels In Range"_s);

    mdi->SubWindow(fileDoc)->close();
    ui.ClearRecords();
    QStringList statusAtQuestion;
    ui.onMessage = [&](const platform::MessageRequest&) {
        statusAtQuestion << mdi->Status().Text()
                         << (mdi->Status().Color() == StatusColor::Red ? u"red"_s : u"black"_s);
    };
    ui.AnswerMessage(kYes);
    ui.AnswerMessage(kNo);
    Upload();
    ASSERT_EQ(Texts(), QStringList(2, u"Connecting Err"_s + kTryAgain));
    EXPECT_EQ(ui.Messages()[1].title, u"MDI PC programmer"_s);
    EXPECT_EQ(statusAtQuestion.mid(0, 2), (QStringList{u"Not detected"_s, u"red"_s}));
    EXPECT_TRUE(Inside().LinkStateRef().linkDown);
    EXPECT_TRUE(Captions().isEmpty());
    EXPECT_EQ(mdi->Status().Text(), QString::fromLatin1(kMenuHint));
    EXPECT_EQ(ui.Unexpected(), 0);
}

}  // namespace
}  // namespace talveron::app
