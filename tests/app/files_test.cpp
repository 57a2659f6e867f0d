// Documents and files: opening good and refused files, Save and Save As (read-only target
// included), the save question when closing with each answer, Exit with changed documents,
// and file names with dots in folders and very long paths.
#include <QAction>
#include <QFile>
#include <QLabel>
#include <QListWidget>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTest>

#include "app_fixture.h"
#include "image/cfg_file.h"

namespace talveron::app {
namespace {

using platform::kCancel;
using platform::kNo;
using platform::kOk;
using platform::kYes;

QByteArray ReadAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// Changes channel 1 of a document to channel 2's frequencies and tones, as an edit would.
void EditFirstChannel(Document& doc) {
    std::string line = doc.lines[1];
    line.replace(0, 4, "1   ");
    doc.lines[0] = line;
    doc.state.changed = true;
}

class FilesTest : public AppTest {
  protected:
    void SetUp() override {
        AppTest::SetUp();
        StartRadio();
        StartMain();
    }
    Document& ActiveDoc() { return *mdi->Documents().Get(mdi->ActiveNumber()); }
};

TEST_F(FilesTest, OpenShowsTheFileInANewWindowWithItsMenus) {
    const QString path = CopySample("vk-a1-16ch.cfg");
    ASSERT_TRUE(OpenThroughMenu(path));
    ASSERT_EQ(ui.OpenRequests().size(), 1u);
    EXPECT_EQ(ui.OpenRequests()[0].filter, QStringLiteral("EEPROM.CFG (*.cfg)"));
    EXPECT_TRUE(ui.OpenRequests()[0].presetName.isEmpty());
    EXPECT_EQ(Captions(), QStringList{path.toUpper()});
    document::frmNotePad* w = mdi->ActiveWindow();
    ASSERT_NE(w, nullptr);
    const std::vector<std::string> lines = LinesOfFile(path);
    ASSERT_EQ(w->List()->count(), static_cast<int>(lines.size()));
    for (int i = 0; i < w->List()->count(); ++i)
        EXPECT_EQ(w->List()->item(i)->text().toStdString(), lines[i]);
    EXPECT_EQ(MenuBarNames(),
              (QStringList{"mnuFile", "mnuEdit", "mnuOpion", "mnuRadio", "munHelp"}));
    EXPECT_EQ(mdi->ActiveDocumentValues().band.low, 140);
    EXPECT_EQ(mdi->ActiveDocumentValues().blockCount, 16);
    EXPECT_EQ(mdi->BandDigit(), 1);
    EXPECT_EQ(mdi->Status().Text(), QStringLiteral("ALL Channels In Range"));
    EXPECT_TRUE(mdi->Status().TimerActive());
    EXPECT_EQ(ui.Unexpected(), 0);

    // A second file from the document window's own File menu.
    ASSERT_TRUE(OpenThroughMenu(CopySample("vk-a2-16ch.cfg")));
    EXPECT_EQ(Captions().size(), 2);
    EXPECT_EQ(mdi->BandDigit(), 4);
    EXPECT_EQ(mdi->ActiveDocumentValues().band.high, 480);
}

TEST_F(FilesTest, RefusedFilesOpenNoWindow) {
    // Too big.
    const QString big = TempPath("big.cfg");
    {
        QFile f(big);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(QByteArray(5001, '\x11'));
    }
    ui.AnswerMessage(kOk);
    EXPECT_FALSE(OpenThroughMenu(big));
    // A model byte that is neither 0 nor 1.
    const QString bad = CopySample("vk-a1-16ch.cfg", "bad-model.cfg");
    {
        QFile f(bad);
        ASSERT_TRUE(f.open(QIODevice::ReadWrite));
        f.seek(f.size() - 1);
        f.write("\x05", 1);
    }
    ui.AnswerMessage(kOk);
    EXPECT_FALSE(OpenThroughMenu(bad));
    // Missing.
    const QString missing = TempPath("missing.cfg");
    ui.AnswerMessage(kOk);
    EXPECT_FALSE(OpenThroughMenu(missing));
    // Cancelled dialog: nothing at all.
    EXPECT_FALSE(OpenThroughMenu(QString()));

    ASSERT_EQ(ui.Messages().size(), 3u);
    EXPECT_EQ(ui.Messages()[0].text, QStringLiteral("File is too big to open"));
    EXPECT_EQ(ui.Messages()[1].text, QStringLiteral("Model or Type Error!  Can not Open  ") + bad);
    EXPECT_EQ(ui.Messages()[2].text, QStringLiteral("Can't open file: ") + missing);
    for (const auto& m : ui.Messages()) {
        EXPECT_EQ(m.buttons, kOk);
        EXPECT_EQ(m.icon, platform::MsgIcon::None);
    }
    EXPECT_TRUE(Captions().isEmpty());
    // The blink timer runs again after a refused file.
    EXPECT_TRUE(mdi->Status().TimerActive());
    EXPECT_EQ(MenuBarNames(), (QStringList{"mnuFile", "mnuRadio", "munHelp"}));
}

TEST_F(FilesTest, SaveWritesTheDocumentBackToItsFileWithItsRealCase) {
    const QString path = CopySample("vk-a1-16ch.cfg", "Site A/Radio.cfg");
    ASSERT_TRUE(OpenThroughMenu(path));
    Document& doc = ActiveDoc();
    EditFirstChannel(doc);
    mdi->ActiveWindow()->Action(QStringLiteral("mnuFSave"))->trigger();
    EXPECT_TRUE(ui.SaveRequests().empty());  // a file document needs no dialog
    EXPECT_FALSE(doc.state.changed);
    const QByteArray written = ReadAll(path);
    EXPECT_EQ(written.toStdString(), EncodeCfgRecords(BuildImage(doc)));
    EXPECT_EQ(written.size(), 435);
    EXPECT_EQ(LinesOfFile(path), doc.lines);
    EXPECT_EQ(Captions(), QStringList{path.toUpper()});
    // The upper-case caption names no file on a case-sensitive system: nothing was made.
    EXPECT_FALSE(QFile::exists(path.toUpper()));
}

TEST_F(FilesTest, SaveAsOffersTheRealPathAndMovesTheDocument) {
    const QString path = CopySample("vk-a2-16ch.cfg");
    ASSERT_TRUE(OpenThroughMenu(path));
    const QString target = TempPath("copy.cfg");
    ui.AnswerSave(target);
    mdi->ActiveWindow()->Action(QStringLiteral("mnuFSaveAs"))->trigger();
    ASSERT_EQ(ui.SaveRequests().size(), 1u);
    EXPECT_EQ(ui.SaveRequests()[0].presetName, path);
    EXPECT_EQ(ui.SaveRequests()[0].filter, QStringLiteral("EEPROM.CFG (*.cfg)"));
    EXPECT_EQ(ReadAll(target), ReadAll(path));
    EXPECT_EQ(Captions(), QStringList{target.toUpper()});
    EXPECT_EQ(mdi->Documents().Path(mdi->ActiveNumber()), target.toStdString());
    // A cancelled Save As changes nothing.
    mdi->ActiveWindow()->Action(QStringLiteral("mnuFSaveAs"))->trigger();
    EXPECT_EQ(Captions(), QStringList{target.toUpper()});
}

TEST_F(FilesTest, AReadOnlyTargetIsRefusedAndTheDocumentStaysChanged) {
    const QString path = CopySample("vk-a1-16ch.cfg");
    ASSERT_TRUE(OpenThroughMenu(path));
    const QByteArray before = ReadAll(path);
    QFile::setPermissions(path, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther);
    EditFirstChannel(ActiveDoc());
    ui.AnswerMessage(kOk);
    mdi->ActiveWindow()->Action(QStringLiteral("mnuFSave"))->trigger();
    ASSERT_EQ(ui.Messages().size(), 1u);
    EXPECT_EQ(ui.Messages()[0].text, path + QStringLiteral(" is a read only file"));
    EXPECT_EQ(ui.Messages()[0].title, QStringLiteral("Path/File access error"));
    EXPECT_EQ(ui.Messages()[0].icon, platform::MsgIcon::Exclamation);
    EXPECT_EQ(ui.Messages()[0].buttons, kOk);
    EXPECT_TRUE(ActiveDoc().state.changed);
    EXPECT_EQ(ReadAll(path), before);
    EXPECT_FALSE(ui.Busy());
    QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);
}

TEST_F(FilesTest, SaveIntoAMissingFolderReportsThePlatformsError) {
    const QString path = CopySample("vk-a1-16ch.cfg");
    ASSERT_TRUE(OpenThroughMenu(path));
    ui.AnswerSave(TempPath("no/such/folder/x.cfg"));
    ui.AnswerMessage(kOk);
    mdi->ActiveWindow()->Action(QStringLiteral("mnuFSaveAs"))->trigger();
    ASSERT_EQ(ui.Messages().size(), 1u);
    EXPECT_EQ(ui.Messages()[0].title, QStringLiteral("TALVERON Programmer"));
    EXPECT_FALSE(ui.Messages()[0].text.isEmpty());
    EXPECT_EQ(Captions(), QStringList{path.toUpper()});
}

TEST_F(FilesTest, CloseWithEachAnswerOfTheSaveQuestion) {
    const QString path = CopySample("vk-a1-16ch.cfg");
    ASSERT_TRUE(OpenThroughMenu(path));
    const int number = mdi->ActiveNumber();
    const QByteArray original = ReadAll(path);
    EditFirstChannel(ActiveDoc());
    QAction* close = mdi->ActiveWindow()->Action(QStringLiteral("mnuFClose"));

    // Cancel: the window stays.
    ui.AnswerMessage(kCancel);
    close->trigger();
    ASSERT_EQ(ui.Messages().size(), 1u);
    const auto& q = ui.Messages()[0];
    EXPECT_EQ(
        q.text,
        QStringLiteral("The data in [VK-A1-16CH] has changed.\nDo you want to save the changes?"));
    EXPECT_EQ(q.title, QStringLiteral("MDI PC programmer"));
    EXPECT_EQ(q.buttons, kYes | kNo | kCancel);
    EXPECT_EQ(q.icon, platform::MsgIcon::Exclamation);
    EXPECT_EQ(Captions().size(), 1);

    // Yes, then the save dialog cancelled: the window stays, still changed.
    ui.AnswerMessage(kYes);
    ui.AnswerSave(QString());
    close->trigger();
    ASSERT_EQ(ui.SaveRequests().size(), 1u);
    EXPECT_EQ(ui.SaveRequests()[0].presetName, QStringLiteral("VK-A1-16CH"));
    EXPECT_EQ(Captions().size(), 1);
    EXPECT_TRUE(mdi->Documents().Get(number)->state.changed);

    // Yes with a path: saved there, and the window goes.
    const QString target = TempPath("saved.cfg");
    const std::vector<std::string> edited = mdi->Documents().Get(number)->lines;
    ui.AnswerMessage(kYes);
    ui.AnswerSave(target);
    close->trigger();
    EXPECT_TRUE(Captions().isEmpty());
    EXPECT_EQ(LinesOfFile(target), edited);
    EXPECT_EQ(ReadAll(path), original);
    EXPECT_EQ(ui.Unexpected(), 0);
}

TEST_F(FilesTest, NoClosesWithoutSavingAndTheLastCloseResetsTheProgram) {
    const QString path = CopySample("vk-a1-16ch.cfg");
    ASSERT_TRUE(OpenThroughMenu(path));
    const QByteArray original = ReadAll(path);
    EditFirstChannel(ActiveDoc());
    mdi->ClipLinesRef().push_back(ActiveDoc().lines[0]);
    ui.SetClipboardText(QStringLiteral("something"));
    ui.AnswerMessage(kNo);
    mdi->ActiveWindow()->Action(QStringLiteral("mnuFClose"))->trigger();
    EXPECT_TRUE(Captions().isEmpty());
    EXPECT_EQ(ReadAll(path), original);
    EXPECT_EQ(mdi->Status().Text(), QString::fromLatin1(kMenuHint));
    EXPECT_EQ(mdi->Status().Color(), kStatusBlack);
    EXPECT_TRUE(ui.ClipboardText().isEmpty());
    EXPECT_TRUE(mdi->ClipLinesRef().empty());
    EXPECT_EQ(MenuBarNames(), (QStringList{"mnuFile", "mnuRadio", "munHelp"}));
    EXPECT_EQ(mdi->Documents().UpperBound(), 0);
}

TEST_F(FilesTest, AnUnchangedDocumentClosesWithoutAQuestion) {
    ASSERT_TRUE(OpenThroughMenu(CopySample("vk-a1-16ch.cfg")));
    ASSERT_TRUE(OpenThroughMenu(CopySample("vk-a2-16ch.cfg")));
    mdi->SubWindow(1)->close();
    EXPECT_TRUE(ui.Messages().empty());
    EXPECT_EQ(Captions().size(), 1);
    EXPECT_EQ(mdi->ActiveNumber(), 2);
}

TEST_F(FilesTest, ExitFromTheMainWindowAsksAboutChangedDocuments) {
    ASSERT_TRUE(OpenThroughMenu(CopySample("vk-a1-16ch.cfg")));
    ASSERT_TRUE(OpenThroughMenu(CopySample("vk-a2-16ch.cfg")));
    EditFirstChannel(*mdi->Documents().Get(1));
    // The main window's own Exit (its menu shows when no document window is active).
    ui.AnswerMessage(kCancel);
    mdi->MainAction(QStringLiteral("mnuFExit"))->trigger();
    ASSERT_EQ(ui.Messages().size(), 1u);
    EXPECT_TRUE(ui.Messages()[0].text.startsWith(QStringLiteral("The data in [VK-A1-16CH]")));
    EXPECT_TRUE(mdi->isVisible());
    EXPECT_EQ(Captions().size(), 2);

    // Exit from a document window: No drops the change and the program ends.
    ui.AnswerMessage(kNo);
    mdi->ActiveWindow()->Action(QStringLiteral("mnuFExit"))->trigger();
    EXPECT_EQ(ui.Messages().size(), 2u);
    EXPECT_TRUE(Captions().isEmpty());
    EXPECT_FALSE(mdi->isVisible());
}

TEST_F(FilesTest, DotsInFoldersAndVeryLongPathsAreHandled) {
    QString folder = QStringLiteral("site.v2/radios.2026");
    while (folder.size() < 900) folder += QStringLiteral("/a.very.long.folder.name.with.dots");
    const QString path = CopySample("vk-a1-16ch.cfg", folder + QStringLiteral("/taxi.north.cfg"));
    ASSERT_TRUE(QFile::exists(path));
    ASSERT_TRUE(OpenThroughMenu(path));
    EXPECT_EQ(Captions(), QStringList{path.toUpper()});
    EditFirstChannel(ActiveDoc());
    mdi->ActiveWindow()->Action(QStringLiteral("mnuFSave"))->trigger();
    EXPECT_EQ(LinesOfFile(path), ActiveDoc().lines);
    EditFirstChannel(ActiveDoc());
    ui.AnswerMessage(kCancel);
    mdi->ActiveWindow()->Action(QStringLiteral("mnuFClose"))->trigger();
    ASSERT_EQ(ui.Messages().size(), 1u);
    EXPECT_TRUE(ui.Messages()[0].text.startsWith(QStringLiteral("The data in [TAXI]")));
}

TEST_F(FilesTest, KeyboardShortcutsReachOnlyTheActiveDocumentWindow) {
    const QString first = CopySample("vk-a1-16ch.cfg");
    const QString second = CopySample("vk-a2-16ch.cfg");
    ASSERT_TRUE(OpenThroughMenu(first));
    ASSERT_TRUE(OpenThroughMenu(second));
    mdi->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(mdi.get()));
    Document& one = *mdi->Documents().Get(1);
    Document& two = *mdi->Documents().Get(2);
    EditFirstChannel(one);
    EditFirstChannel(two);
    ASSERT_EQ(mdi->ActiveNumber(), 2);
    QTest::keyClick(mdi.get(), Qt::Key_S, Qt::ControlModifier);
    EXPECT_FALSE(two.state.changed);
    EXPECT_TRUE(one.state.changed);
    EXPECT_EQ(LinesOfFile(second), two.lines);
    EXPECT_NE(LinesOfFile(first), one.lines);
}

}  // namespace
}  // namespace talveron::app
