// Upload and Download against talveron-vradio on a pseudo-terminal: what arrives and what is
// written, the TEMP captions after uploads and closes in different orders, the band
// question, and faults answered No and Yes, with the program locked while the transfer runs.
#include <QAction>
#include <QLabel>
#include <QListWidget>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QProgressBar>

#include "app_fixture.h"
#include "image/cfg_file.h"

namespace talveron::app {
namespace {

using platform::kNo;
using platform::kOk;
using platform::kYes;

const QString kTryAgain = QStringLiteral(" !  Make sure the connection is OK\nTry Again ?");

std::vector<std::string> DocLines(frmMDI& mdi, int number) {
    return mdi.Documents().Get(number)->lines;
}

QString Sample(const char* name) {
    return QStringLiteral(TALVERON_SAMPLES "/") + QString::fromLatin1(name);
}

TEST_F(AppTest, UploadReadsTheRadioIntoTemp1) {
    StartRadio("0", "small", {"--load", Sample("vk-a1-16ch.cfg")});
    StartMain();
    Upload();
    EXPECT_EQ(ui.Unexpected(), 0);
    ASSERT_EQ(Captions(), QStringList{"TEMP1.CFG"});
    const int n = mdi->ActiveNumber();
    EXPECT_EQ(DocLines(*mdi, n), LinesOfFile(Sample("vk-a1-16ch.cfg")));
    EXPECT_EQ(mdi->Documents().Get(n)->state.model, 0);
    EXPECT_EQ(mdi->Documents().TempCount(), 1);
    EXPECT_EQ(mdi->ActiveWindow()->Label3(8)->text(), QStringLiteral("Model:VK-A1  "));
    EXPECT_EQ(mdi->Status().Text(), QStringLiteral("ALL Channels In Range"));
    EXPECT_FALSE(mdi->ProgressBar1()->isVisible());
    EXPECT_FALSE(ui.Busy());
    EXPECT_TRUE(mdi->Status().TimerActive());
    EXPECT_FALSE(mdi->LinkStateRef().linkDown);
}

TEST_F(AppTest, ALargeVkA2UploadsNinetyNineChannels) {
    StartRadio("1", "large");
    StartMain();
    Upload();
    ASSERT_EQ(Captions(), QStringList{"TEMP1.CFG"});
    const int n = mdi->ActiveNumber();
    EXPECT_EQ(mdi->Documents().Get(n)->BlockCount(), 99);
    EXPECT_EQ(mdi->Documents().Get(n)->state.model, 1);
    EXPECT_EQ(mdi->ActiveWindow()->Label3(9)->text(), QStringLiteral("Range:440-480MHz"));
    EXPECT_EQ(mdi->ProgressBar1()->maximum(), 808);
}

TEST_F(AppTest, TempNumbersFollowUploadsAndCloses) {
    StartRadio();
    StartMain();
    Upload();
    Upload();
    Upload();
    EXPECT_EQ(Captions(), (QStringList{"TEMP1.CFG", "TEMP2.CFG", "TEMP3.CFG"}));
    // Closing TEMP1 numbers the others downwards in window order.
    mdi->SubWindow(1)->close();
    EXPECT_EQ(Captions(), (QStringList{"TEMP2", "TEMP1"}));
    EXPECT_EQ(mdi->Documents().TempCount(), 2);
    // The next upload takes the free window number and the next TEMP number.
    Upload();
    EXPECT_EQ(Captions(), (QStringList{"TEMP3.CFG", "TEMP2", "TEMP1"}));
    // Closing the last window renumbers the rest as well.
    mdi->SubWindow(3)->close();
    EXPECT_EQ(Captions(), (QStringList{"TEMP2", "TEMP1"}));
    // A saved upload is a file and leaves the numbering.
    mdi->MdiArea()->setActiveSubWindow(mdi->SubWindow(2));
    ASSERT_EQ(mdi->ActiveNumber(), 2);
    const QString target = TempPath("kept.cfg");
    ui.AnswerSave(target);
    mdi->ActiveWindow()->Action(QStringLiteral("mnuFSave"))->trigger();
    ASSERT_EQ(ui.SaveRequests().size(), 1u);
    EXPECT_EQ(ui.SaveRequests()[0].presetName, QStringLiteral("TEMP1"));
    EXPECT_EQ(Captions(), (QStringList{"TEMP1", target.toUpper()}));
    EXPECT_EQ(mdi->Documents().TempCount(), 1);
    mdi->SubWindow(1)->close();
    mdi->SubWindow(2)->close();
    EXPECT_TRUE(Captions().isEmpty());
    EXPECT_EQ(mdi->Documents().TempCount(), 0);
    Upload();
    EXPECT_EQ(Captions(), QStringList{"TEMP1.CFG"});
    EXPECT_EQ(ui.Unexpected(), 0);
}

TEST_F(AppTest, SaveOnAnUploadAsksWithItsCaptionAndSaveAsWithUntitled) {
    StartRadio();
    StartMain();
    Upload();
    Upload();
    mdi->ActiveWindow()->Action(QStringLiteral("mnuFSave"))->trigger();
    mdi->ActiveWindow()->Action(QStringLiteral("mnuFSaveAs"))->trigger();
    ASSERT_EQ(ui.SaveRequests().size(), 2u);
    EXPECT_EQ(ui.SaveRequests()[0].presetName, QStringLiteral("TEMP2.CFG"));
    EXPECT_EQ(ui.SaveRequests()[1].presetName, QStringLiteral("Untitled.cfg"));
    EXPECT_EQ(Captions(), (QStringList{"TEMP1.CFG", "TEMP2.CFG"}));
}

TEST_F(AppTest, DownloadWritesTheEditedDocumentIntoTheRadio) {
    StartRadio("0", "small", {"--load", Sample("vk-a1-16ch.cfg")});
    StartMain();
    const QString path = CopySample("vk-a1-16ch.cfg");
    ASSERT_TRUE(OpenThroughMenu(path));
    Document& doc = *mdi->Documents().Get(mdi->ActiveNumber());
    std::string line = doc.lines[3];
    line.replace(0, 4, "1   ");
    doc.lines[0] = line;
    doc.state.changed = true;
    const std::vector<std::string> edited = doc.lines;
    Download();
    EXPECT_TRUE(ui.Messages().empty());  // same model, all in range: no question
    EXPECT_EQ(mdi->Status().Text(), QStringLiteral("ALL Channels In Range"));
    EXPECT_TRUE(doc.state.changed);  // a download is not a save
    Upload();
    ASSERT_EQ(Captions().size(), 2);
    EXPECT_EQ(DocLines(*mdi, mdi->ActiveNumber()), edited);
}

TEST_F(AppTest, CrossedBandsAreAskedAboutAndNoWritesNothing) {
    StartRadio("0", "small", {"--load", Sample("vk-a1-16ch.cfg")});
    StartMain();
    const QString path = CopySample("vk-a2-16ch.cfg");
    ASSERT_TRUE(OpenThroughMenu(path));
    ui.AnswerMessage(kNo);
    Download();
    ASSERT_EQ(ui.Messages().size(), 1u);
    const auto& q = ui.Messages()[0];
    EXPECT_EQ(q.text,
              QStringLiteral("Error warning: Band are Crossed !\nDo you want to continue ?"));
    EXPECT_EQ(q.title, path.toUpper());
    EXPECT_EQ(q.buttons, kYes | kNo);
    EXPECT_EQ(q.icon, platform::MsgIcon::Critical);
    EXPECT_EQ(q.defaultButton, kNo);
    Upload();
    EXPECT_EQ(DocLines(*mdi, mdi->ActiveNumber()), LinesOfFile(Sample("vk-a1-16ch.cfg")));

    // Yes writes it anyway.
    mdi->MdiArea()->setActiveSubWindow(mdi->SubWindow(1));
    ui.AnswerMessage(kYes);
    Download();
    EXPECT_EQ(ui.Messages().size(), 2u);
    Upload();
    EXPECT_EQ(DocLines(*mdi, mdi->ActiveNumber()), LinesOfFile(Sample("vk-a2-16ch.cfg")));
}

TEST_F(AppTest, ALineGoingDeadAnsweredNoOpensNoWindowAndTheProgramIsLockedMeanwhile) {
    StartRadio("0", "small", {"--fault", "dead@0x40"});
    StartMain();
    const QString path = CopySample("vk-a1-16ch.cfg");
    ASSERT_TRUE(OpenThroughMenu(path));
    const int fileDoc = mdi->ActiveNumber();

    struct Seen {
        bool running = false, loadRefused = false, closeRefused = false, mainCloseRefused = false;
        bool menusLocked = false, progressShown = false, timerStopped = false;
        int progressValue = -1, progressMax = -1;
        std::size_t messagesAfterNestedUpload = 0;
    } seen;
    bool looked = false;
    ui.onMessage = [&](const platform::MessageRequest& r) {
        if (looked || !r.text.startsWith(QStringLiteral("Upload Err"))) return;
        looked = true;
        seen.running = mdi->TransferRunning();
        seen.loadRefused = !mdi->LoadImageFile(path);
        seen.closeRefused = !mdi->SubWindow(fileDoc)->close();
        seen.mainCloseRefused = !mdi->close();
        const std::size_t before = ui.Messages().size();
        mdi->RadioCommand(0);  // a second transfer cannot start
        seen.messagesAfterNestedUpload = ui.Messages().size() - before;
        document::frmNotePad* w = mdi->Window(fileDoc);
        seen.menusLocked = !mdi->MainAction(QStringLiteral("mnuFile"))->isEnabled() &&
                           !w->Action(QStringLiteral("mnuFile"))->isEnabled() &&
                           !w->Action(QStringLiteral("mnuEdit"))->isEnabled() &&
                           !w->Action(QStringLiteral("mnuRadio"))->isEnabled();
        seen.progressShown = mdi->ProgressBar1()->isVisible();
        seen.progressValue = mdi->ProgressBar1()->value();
        seen.progressMax = mdi->ProgressBar1()->maximum();
        seen.timerStopped = !mdi->Status().TimerActive();
    };
    ui.AnswerMessage(kNo);
    Upload();
    ASSERT_GE(ui.Messages().size(), 1u);
    const auto& q = ui.Messages()[0];
    EXPECT_EQ(q.text, QStringLiteral("Upload Err") + kTryAgain);
    EXPECT_EQ(q.buttons, kYes | kNo);
    EXPECT_EQ(q.icon, platform::MsgIcon::Question);
    EXPECT_EQ(q.title, path.toUpper());
    EXPECT_TRUE(seen.running);
    EXPECT_TRUE(seen.loadRefused);
    EXPECT_TRUE(seen.closeRefused);
    EXPECT_TRUE(seen.mainCloseRefused);
    EXPECT_EQ(seen.messagesAfterNestedUpload, 0u);
    EXPECT_TRUE(seen.menusLocked);
    EXPECT_TRUE(seen.progressShown);
    EXPECT_EQ(seen.progressMax, 144);
    EXPECT_EQ(seen.progressValue, 0x40);  // the frames before the dead one went through
    EXPECT_TRUE(seen.timerStopped);

    // No new window; the file document is still there and the program is free again.
    EXPECT_EQ(Captions(), QStringList{path.toUpper()});
    EXPECT_EQ(mdi->Documents().TempCount(), 0);
    EXPECT_TRUE(mdi->isVisible());
    EXPECT_FALSE(mdi->TransferRunning());
    EXPECT_TRUE(mdi->ActiveWindow()->Action(QStringLiteral("mnuFile"))->isEnabled());
    EXPECT_TRUE(mdi->MainAction(QStringLiteral("mnuFile"))->isEnabled());
    EXPECT_FALSE(mdi->ProgressBar1()->isVisible());
    EXPECT_TRUE(mdi->Status().TimerActive());
    EXPECT_FALSE(ui.Busy());
    // The closing steps checked the document again.
    EXPECT_EQ(mdi->Status().Text(), QStringLiteral("ALL Channels In Range"));
    EXPECT_EQ(ui.Unexpected(), 0);
}

TEST_F(AppTest, TryingAgainOnADeadLineEndsInConnectingErr) {
    StartRadio("0", "small", {"--fault", "dead@0x40"});
    StartMain();
    ui.AnswerMessage(kYes);
    ui.AnswerMessage(kNo);
    Upload();
    ASSERT_EQ(ui.Messages().size(), 2u);
    EXPECT_EQ(ui.Messages()[0].text, QStringLiteral("Upload Err") + kTryAgain);
    EXPECT_EQ(ui.Messages()[1].text, QStringLiteral("Connecting Err") + kTryAgain);
    EXPECT_EQ(ui.Messages()[1].title, QStringLiteral("MDI PC programmer"));
    EXPECT_TRUE(Captions().isEmpty());
    // With no document left the program is reset.
    EXPECT_EQ(mdi->Status().Text(), QString::fromLatin1(kMenuHint));
}

TEST_F(AppTest, ASilentRadioIsNotDetectedAndBlinksRed) {
    StartRadio("0", "small", {"--fault", "silent"});
    StartMain();
    ASSERT_TRUE(OpenThroughMenu(CopySample("vk-a1-16ch.cfg")));
    QString statusAtQuestion;
    std::uint32_t colorAtQuestion = 0;
    ui.onMessage = [&](const platform::MessageRequest&) {
        statusAtQuestion = mdi->Status().Text();
        colorAtQuestion = mdi->Status().Color();
    };
    ui.AnswerMessage(kNo);
    Upload();
    ASSERT_EQ(ui.Messages().size(), 1u);
    EXPECT_EQ(ui.Messages()[0].text, QStringLiteral("Connecting Err") + kTryAgain);
    EXPECT_EQ(statusAtQuestion, QStringLiteral("Not detected"));
    EXPECT_EQ(colorAtQuestion, kStatusRed);
    EXPECT_TRUE(mdi->LinkStateRef().linkDown);
    EXPECT_EQ(Captions().size(), 1);
}

TEST_F(AppTest, ADownloadFailureAnsweredYesIsWrittenAgainWhole) {
    // Two read-back differences in one pass (each fault strikes once) fail it.
    StartRadio(
        "0", "small",
        {"--load", Sample("vk-a1-16ch.cfg"), "--fault", "corrupt@0x20", "--fault", "corrupt@0x48"});
    StartMain();
    ASSERT_TRUE(OpenThroughMenu(CopySample("vk-a1-16ch.cfg")));
    Document& doc = *mdi->Documents().Get(mdi->ActiveNumber());
    std::string line = doc.lines[5];
    line.replace(0, 4, "3   ");
    doc.lines[2] = line;
    const std::vector<std::string> edited = doc.lines;
    ui.AnswerMessage(kYes);
    Download();
    ASSERT_EQ(ui.Messages().size(), 1u);
    EXPECT_EQ(ui.Messages()[0].text, QStringLiteral("Download Err") + kTryAgain);
    EXPECT_EQ(mdi->Status().Text(), QStringLiteral("ALL Channels In Range"));
    Upload();
    EXPECT_EQ(DocLines(*mdi, mdi->ActiveNumber()), edited);
    EXPECT_EQ(ui.Unexpected(), 0);
}

}  // namespace
}  // namespace talveron::app
