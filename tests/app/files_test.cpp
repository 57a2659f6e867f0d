// Documents and files: opening good and refused files, Save and Save As (read-only target
// included), the save question when closing with each answer, Exit with changed documents,
// file names with dots in folders and very long paths, and the recent files and the dialogs'
// folder kept between runs.
#include <QAction>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMdiSubWindow>
#include <QTest>

#include "app_fixture.h"
#include "image/cfg_file.h"

namespace talveron::app {
namespace {

using namespace Qt::Literals::StringLiterals;
using platform::kCancel;
using platform::kNo;
using platform::kOk;
using platform::kYes;
using platform::MsgIcon;

const QStringList kMainMenus = {"mnuFile", "mnuRadio", "mnuWindow", "munHelp"};
const QString kChanged = u"The data in [%1] has changed.\nDo you want to save the changes?"_s;

TEST_F(RunningApp, OpenShowsTheFileAndRefusedFilesOpenNoWindow) {
    const QString big = TempPath(u"big.cfg"_s);
    QFile f(big);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly) && f.write(QByteArray(5001, '\x11')) == 5001);
    f.close();
    const QString bad = CopySample("vk-a1-16ch.cfg", u"bad-model.cfg"_s);
    f.setFileName(bad);
    ASSERT_TRUE(f.open(QIODevice::ReadWrite) && f.seek(f.size() - 1));
    f.write("\x05", 1);  // a model byte that is neither 0 nor 1
    f.close();
    const QString missing = TempPath(u"missing.cfg"_s);
    const QStringList texts{u"File is too big to open"_s,
                            u"Model or Type Error!  Can not Open  "_s + bad,
                            u"Can't open file: "_s + missing};
    for (const QString& path : {big, bad, missing}) {
        ui.AnswerMessage(kOk);
        EXPECT_FALSE(OpenThroughMenu(path));
    }
    EXPECT_FALSE(OpenThroughMenu(QString()));  // a cancelled dialog: nothing at all
    ASSERT_EQ(Texts(), texts);
    for (const auto& m : ui.Messages()) EXPECT_TRUE(BoxIs(m, m.text, {}, kOk, MsgIcon::None));
    EXPECT_TRUE(mdi->Status().TimerActive());  // running again after a refused file
    EXPECT_EQ(MenuBarNames(), kMainMenus);

    const QString path = CopySample("vk-a1-16ch.cfg");
    ASSERT_TRUE(OpenThroughMenu(path));
    EXPECT_EQ(ui.OpenRequests()[0].filter, u"EEPROM.CFG (*.cfg)"_s);
    EXPECT_TRUE(ui.OpenRequests()[0].presetName.isEmpty());
    EXPECT_EQ(Captions(), QStringList{path.toUpper()});
    EXPECT_EQ(ActiveDoc().lines, LinesOfFile(path));
    EXPECT_EQ(MenuBarNames(),
              (QStringList{"mnuFile", "mnuEdit", "mnuOpion", "mnuRadio", "mnuWindow", "munHelp"}));
    EXPECT_EQ(Inside().ActiveDocumentValues().band.low, 140);
    EXPECT_EQ(Inside().ActiveDocumentValues().blockCount, 16);
    EXPECT_EQ(Inside().BandDigit(), 1);
    EXPECT_EQ(mdi->Status().Text(), u"ALL Channels In Range"_s);
    // A second file from the document window's own File menu.
    ASSERT_TRUE(OpenThroughMenu(CopySample("vk-a2-16ch.cfg")));
    EXPECT_EQ(Inside().BandDigit(), 4);
    EXPECT_EQ(Inside().ActiveDocumentValues().band.high, 480);
    EXPECT_EQ(ui.Unexpected(), 0);
}

// Dots in folders and a very long path included.
TEST_F(RunningApp, SaveWritesTheDocumentBackToItsFileWithItsRealCase) {
    QString folder = u"Site A/radios.2026"_s;
    while (folder.size() < 900) folder += u"/a.very.long.folder.name.with.dots"_s;
    const QString path = CopySample("vk-a1-16ch.cfg", folder + u"/Taxi.north.cfg"_s);
    ASSERT_TRUE(OpenThroughMenu(path));
    Document& doc = ActiveDoc();
    EditChannel(doc);
    Act("mnuFSave");
    EXPECT_TRUE(ui.SaveRequests().empty());  // a file document needs no dialog
    EXPECT_FALSE(doc.state.changed);
    EXPECT_EQ(ReadFile(path).toStdString(), EncodeCfgRecords(BuildImage(doc)));
    EXPECT_EQ(LinesOfFile(path), doc.lines);
    EXPECT_EQ(Captions(), QStringList{path.toUpper()});
    EXPECT_FALSE(QFile::exists(path.toUpper()));  // the caption names no file
    EditChannel(doc);
    ui.AnswerMessage(kCancel);
    Act("mnuFClose");
    EXPECT_EQ(Texts(), QStringList{kChanged.arg(u"TAXI"_s)});
}

// Save As offers the real path and moves the document; closing it changed offers the file it
// was last saved to, and saves where the dialog says.
TEST_F(RunningApp, SaveAsOffersTheRealPathAndMovesTheDocument) {
    const QString path = CopySample("vk-a2-16ch.cfg");
    ASSERT_TRUE(OpenThroughMenu(path));
    const QString target = TempPath(u"copy.cfg"_s);
    ui.AnswerSave(target);
    Act("mnuFSaveAs");
    Act("mnuFSaveAs");  // cancelled: nothing changes
    ASSERT_EQ(ui.SaveRequests().size(), 2u);
    EXPECT_EQ(ui.SaveRequests()[0].presetName, path);
    EXPECT_EQ(ui.SaveRequests()[0].filter, u"EEPROM.CFG (*.cfg)"_s);
    EXPECT_EQ(ReadFile(target), ReadFile(path));
    EXPECT_EQ(Captions(), QStringList{target.toUpper()});
    EXPECT_EQ(Inside().Documents().Path(mdi->ActiveNumber()), target.toStdString());
    EditChannel(ActiveDoc());
    const std::vector<std::string> edited = ActiveDoc().lines;
    const QString third = TempPath(u"third.cfg"_s);
    ui.AnswerMessage(kYes);
    ui.AnswerSave(third);
    Act("mnuFClose");
    ASSERT_EQ(ui.SaveRequests().size(), 3u);
    EXPECT_EQ(ui.SaveRequests()[2].presetName, target);
    EXPECT_TRUE(Captions().isEmpty());
    EXPECT_EQ(LinesOfFile(third), edited);
    EXPECT_EQ(ReadFile(target), ReadFile(path));
}

// A read-only file and a missing folder are refused; the document stays as it was.
TEST_F(RunningApp, RefusedSavesKeepTheDocumentChanged) {
    const QString path = CopySample("vk-a1-16ch.cfg");
    ASSERT_TRUE(OpenThroughMenu(path));
    const QByteArray before = ReadFile(path);
    QFile::setPermissions(path, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther);
    EditChannel(ActiveDoc());
    ui.AnswerMessage(kOk);
    Act("mnuFSave");
    const QString target = TempPath(u"no/such/folder/x.cfg"_s);
    ui.AnswerSave(target);
    ui.AnswerMessage(kOk);
    Act("mnuFSaveAs");
    ASSERT_EQ(ui.Messages().size(), 2u);
    EXPECT_TRUE(BoxIs(ui.Messages()[0], path + u" is a read only file"_s,
                      u"Path/File access error"_s, kOk, MsgIcon::Exclamation));
    EXPECT_EQ(ui.Messages()[1].title, u"TALVERON Programmer"_s);
    EXPECT_TRUE(ui.Messages()[1].text.startsWith(target + u": "_s));
    EXPECT_GT(ui.Messages()[1].text.size(), target.size() + 2);  // the platform's reason
    EXPECT_TRUE(ActiveDoc().state.changed);
    EXPECT_EQ(ReadFile(path), before);
    EXPECT_EQ(Captions(), QStringList{path.toUpper()});
    EXPECT_FALSE(ui.Busy());
    QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);
}

TEST_F(RunningApp, CloseWithEachAnswerOfTheSaveQuestion) {
    const QString path = CopySample("vk-a1-16ch.cfg", u"cfg/vk-a1-16ch.cfg"_s);
    ASSERT_TRUE(OpenThroughMenu(path));
    const int number = mdi->ActiveNumber();
    const QByteArray original = ReadFile(path);
    EditChannel(ActiveDoc());
    QAction* close = mdi->ActiveWindow()->Action(u"mnuFClose"_s);
    // Cancel, then Yes with the save dialog cancelled: the window stays, still changed.
    ui.AnswerMessage(kCancel);
    ui.AnswerMessage(kYes);
    ui.AnswerSave(QString());
    close->trigger();
    close->trigger();
    ASSERT_EQ(ui.Messages().size(), 2u);
    EXPECT_TRUE(BoxIs(ui.Messages()[0], kChanged.arg(u"VK-A1-16CH"_s), u"MDI PC programmer"_s,
                      kYes | kNo | kCancel, MsgIcon::Exclamation));
    ASSERT_EQ(ui.SaveRequests().size(), 1u);
    EXPECT_EQ(ui.SaveRequests()[0].presetName, path);
    ASSERT_EQ(Captions().size(), 1);
    EXPECT_TRUE(Inside().Documents().Get(number)->state.changed);
    EXPECT_EQ(ReadFile(path), original);
    // Yes, the offered file taken: saved over it (nothing in the program's folder).
    const std::vector<std::string> edited = Inside().Documents().Get(number)->lines;
    ui.AnswerMessage(kYes);
    ui.AcceptSavePreset();
    close->trigger();
    EXPECT_TRUE(Captions().isEmpty());
    EXPECT_EQ(LinesOfFile(path), edited);
    EXPECT_FALSE(QFile::exists(TempPath(u"VK-A1-16CH.cfg"_s)));
    EXPECT_FALSE(QFile::exists(TempPath(u"vk-a1-16ch.cfg"_s)));

    // No closes without saving, and the last close resets the program.
    ASSERT_TRUE(OpenThroughMenu(path));
    EditChannel(ActiveDoc(), 3, 1);
    Inside().ClipLinesRef().push_back(ActiveDoc().lines[0]);
    ui.SetClipboardText(u"something"_s);
    ui.AnswerMessage(kNo);
    Act("mnuFClose");
    EXPECT_TRUE(Captions().isEmpty());
    EXPECT_EQ(LinesOfFile(path), edited);
    EXPECT_EQ(mdi->Status().Text(), QString::fromLatin1(kMenuHint));
    EXPECT_EQ(mdi->Status().Color(), StatusColor::Black);
    EXPECT_TRUE(ui.ClipboardText().isEmpty());
    EXPECT_TRUE(Inside().ClipLinesRef().empty());
    EXPECT_EQ(MenuBarNames(), kMainMenus);
    EXPECT_EQ(Inside().Documents().UpperBound(), 0);
    EXPECT_EQ(ui.Unexpected(), 0);
}

TEST_F(RunningApp, ExitAsksAboutChangedDocumentsAndShortcutsReachTheActiveWindow) {
    const QString first = CopySample("vk-a1-16ch.cfg");
    const QString second = CopySample("vk-a2-16ch.cfg");
    ASSERT_TRUE(OpenThroughMenu(first));
    ASSERT_TRUE(OpenThroughMenu(second));
    mdi->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(mdi.get()));
    Document& one = *Inside().Documents().Get(1);
    Document& two = *Inside().Documents().Get(2);
    EditChannel(one);
    EditChannel(two);
    ASSERT_EQ(mdi->ActiveNumber(), 2);
    QTest::keyClick(mdi.get(), Qt::Key_S, Qt::ControlModifier);
    EXPECT_FALSE(two.state.changed);
    EXPECT_TRUE(one.state.changed);
    EXPECT_EQ(LinesOfFile(second), two.lines);
    EXPECT_NE(LinesOfFile(first), one.lines);
    // Saved, it closes without a question, and the other window becomes the active one.
    mdi->SubWindow(2)->close();
    EXPECT_TRUE(ui.Messages().empty());
    EXPECT_EQ(mdi->ActiveNumber(), 1);
    Upload();
    // The main window's own Exit (its menu shows when no document window is active).
    ui.AnswerMessage(kCancel);
    mdi->MainAction(u"mnuFExit"_s)->trigger();
    EXPECT_EQ(Texts(), QStringList{kChanged.arg(u"VK-A1-16CH"_s)});
    EXPECT_TRUE(mdi->isVisible());
    // Exit from a document window: No drops the change, the upload never saved is asked
    // about, and the program ends.
    ui.AnswerMessage(kNo);
    ui.AnswerMessage(kNo);
    Act("mnuFExit");
    ASSERT_EQ(ui.Messages().size(), 3u);
    EXPECT_EQ(ui.Messages()[2].text, kChanged.arg(u"TEMP1"_s));
    EXPECT_TRUE(Captions().isEmpty());
    EXPECT_FALSE(mdi->isVisible());
}

// The files last opened or saved, newest first and at most four, in both File menus and in
// the next run; the dialogs start in the folder used last, in the next run too.
TEST_F(RunningApp, RecentFilesAndTheLastFolderOutliveTheRun) {
    auto recent = [](auto find) {
        QStringList files;
        for (int i = 1; i <= 4; ++i)
            if (QAction* a = find(u"mnuRecentFile%1"_s.arg(i)); a && a->isVisible())
                files << a->data().toString();
        return files;
    };
    auto inMain = [this](const QString& name) { return mdi->MainAction(name); };
    EXPECT_TRUE(recent(inMain).isEmpty());
    QStringList files;
    for (const char* name : {"a", "b", "c", "d", "e"})
        files << CopySample("vk-a1-16ch.cfg", u"%1/%1.cfg"_s.arg(QLatin1String(name)));
    for (const QString& file : files) ASSERT_TRUE(OpenThroughMenu(file));
    EXPECT_EQ(ui.OpenRequests()[1].folder, QFileInfo(files[0]).absolutePath());
    ASSERT_TRUE(OpenThroughMenu(files[1]));  // again: to the front, not twice
    EXPECT_EQ(recent([this](const QString& n) { return mdi->ActiveWindow()->Action(n); }),
              (QStringList{files[1], files[4], files[3], files[2]}));
    const QString saved = TempPath(u"saved/g.cfg"_s);
    QDir().mkpath(QFileInfo(saved).absolutePath());
    ui.AnswerSave(saved);
    Act("mnuFSaveAs");

    RestartMain();
    EXPECT_EQ(recent(inMain), (QStringList{saved, files[1], files[4], files[3]}));
    EXPECT_FALSE(OpenThroughMenu(QString()));  // cancelled; where did it start?
    EXPECT_EQ(ui.OpenRequests().back().folder, QFileInfo(saved).absolutePath());
    mdi->MainAction(u"mnuRecentFile3"_s)->trigger();
    ASSERT_EQ(Captions(), QStringList{files[4].toUpper()});
    // A file gone since is reported and leaves the list.
    QFile::remove(files[3]);
    ui.AnswerMessage(kOk);
    mdi->ActiveWindow()->Action(u"mnuRecentFile4"_s)->trigger();
    EXPECT_EQ(Texts(), QStringList{u"Can't open file: "_s + files[3]});
    EXPECT_EQ(recent(inMain), (QStringList{files[4], saved, files[1]}));
}

}  // namespace
}  // namespace talveron::app
