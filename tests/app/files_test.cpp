// Documents and files: opening good and refused files, Save and Save As (refused targets
// included), the save question when closing with each answer, Exit with changed documents,
// file names with dots in folders and very long paths, and the recent files and the dialogs'
// folder kept between runs.

#include "app_fixture.h"
#include "image/cfg_file.h"

namespace talveron::app {
namespace {

using FilesTest = OfflineApp;
const QString kChanged = u"The data in [%1] has changed.\nDo you want to save the changes?"_s;

// Files too big or missing open no window; one document, behind dots in folders and a very long
// path, opens and walks through Save, a read-only file and a missing folder refused, each answer
// of the save question, Save As moving it, and No closing the last window, which resets the
// program. Then Ctrl+S reaches the active window; the files last opened or saved, newest first
// and at most four, are in both File menus; Exit asks about changed documents; the list and the
// dialogs' folder last used come back in the next run.
TEST_F(FilesTest, OpenSaveEachAnswerOfTheSaveQuestionExitAndTheRecentFiles) {
    auto recent = [](auto find) {
        QStringList files;
        for (int i = 1; i <= 4; ++i)
            if (QAction* a = find(u"mnuRecentFile%1"_s.arg(i)); a && a->isVisible())
                files << a->data().toString();
        return files;
    };
    auto inMain = [this](const QString& name) { return mdi->MainAction(name); };
    EXPECT_TRUE(recent(inMain).isEmpty());
    SCOPED_TRACE("refused files open no window");
    const QString big = WriteFile(u"big.cfg"_s, QByteArray(5001, '\x11'));
    const QString missing = TempPath(u"missing.cfg"_s);
    for (const QString& path : {big, missing}) {
        ui.AnswerMessage(kOk);
        EXPECT_FALSE(OpenThroughMenu(path));
    }
    EXPECT_FALSE(OpenThroughMenu(QString()));  // a cancelled dialog: nothing at all
    ASSERT_EQ(Texts(),
              (QStringList{u"File is too big to open"_s, u"Can't open file: "_s + missing}));
    for (const auto& m : ui.Messages())
        EXPECT_TRUE(BoxIs(m, m.text, u"TALVERON Programmer"_s, kOk, MsgIcon::None));
    EXPECT_TRUE(mdi->Status().TimerActive());  // running again after a refused file
    EXPECT_EQ(MenuBarNames(), (QStringList{"mnuFile", "mnuRadio", "mnuWindow", "munHelp"}));
    ui.ClearRecords();

    SCOPED_TRACE("open, then save to the file");
    QString folder = u"Site A/radios.2026"_s;
    while (folder.size() < 900) folder += u"/a.very.long.folder.name.with.dots"_s;
    const QString path = CopySample("vk-a1-16ch.cfg", folder + u"/Taxi.north.cfg"_s);
    ASSERT_TRUE(OpenThroughMenu(path));
    EXPECT_EQ(ui.OpenRequests()[0].filter, u"EEPROM.CFG (*.cfg)"_s);
    EXPECT_TRUE(ui.OpenRequests()[0].presetName.isEmpty());
    EXPECT_EQ(Captions(), QStringList{path.toUpper()});
    EXPECT_FALSE(QFile::exists(path.toUpper()));  // the caption names no file
    EXPECT_EQ(ActiveDoc().lines, LinesOfFile(path));
    EXPECT_EQ(MenuBarNames(),
              (QStringList{"mnuFile", "mnuEdit", "mnuOpion", "mnuRadio", "mnuWindow", "munHelp"}));
    EXPECT_EQ(Inside().ActiveDocumentValues().band.low, 140);
    EXPECT_EQ(Inside().ActiveDocumentValues().blockCount, 16);
    EXPECT_EQ(Inside().BandDigit(), 1);
    EXPECT_EQ(mdi->Status().Text(), u"ALL Channels In Range"_s);
    const int number = mdi->ActiveNumber();
    Document& doc = ActiveDoc();
    EditChannel(doc);
    Act("mnuFSave");
    EXPECT_TRUE(ui.SaveRequests().empty());  // a file document needs no dialog
    EXPECT_FALSE(doc.state.changed);
    EXPECT_EQ(ReadFile(path).toStdString(), EncodeCfgRecords(BuildImage(doc)));

    SCOPED_TRACE("refused saves keep the document changed");
    const QByteArray before = ReadFile(path);
    QFile::setPermissions(path, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther);
    EditChannel(doc, 3, 1);
    const std::vector<std::string> edited = doc.lines;
    const QString nowhere = TempPath(u"no/such/folder/x.cfg"_s);
    ui.AnswerMessage(kOk);
    Act("mnuFSave");
    ui.AnswerSave(nowhere);
    ui.AnswerMessage(kOk);
    Act("mnuFSaveAs");
    ASSERT_EQ(ui.Messages().size(), 2u);
    EXPECT_TRUE(BoxIs(ui.Messages()[0], path + u" is a read only file"_s,
                      u"Path/File access error"_s, kOk, MsgIcon::Exclamation));
    EXPECT_EQ(ui.Messages()[1].title, u"TALVERON Programmer"_s);
    EXPECT_TRUE(ui.Messages()[1].text.startsWith(nowhere + u": "_s));
    EXPECT_GT(ui.Messages()[1].text.size(), nowhere.size() + 2);  // the platform's reason
    EXPECT_TRUE(doc.state.changed);
    EXPECT_EQ(ReadFile(path), before);
    EXPECT_FALSE(ui.Busy());
    QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);

    SCOPED_TRACE("Cancel, then Yes with the dialog cancelled: the window stays, still changed");
    ui.ClearRecords();
    QAction* close = mdi->ActiveWindow()->Action(u"mnuFClose"_s);
    ui.AnswerMessage(kCancel);
    ui.AnswerMessage(kYes);
    ui.AnswerSave(QString());
    close->trigger();
    close->trigger();
    ASSERT_EQ(ui.Messages().size(), 2u);
    EXPECT_TRUE(BoxIs(ui.Messages()[0], kChanged.arg(u"TAXI"_s), u"MDI PC programmer"_s,
                      kYes | kNo | kCancel, MsgIcon::Exclamation));
    ASSERT_EQ(ui.SaveRequests().size(), 1u);
    EXPECT_EQ(ui.SaveRequests()[0].presetName, path);
    ASSERT_EQ(Captions().size(), 1);
    EXPECT_TRUE(doc.state.changed);

    SCOPED_TRACE("Save As offers the real path and moves the document");
    const QString target = TempPath(u"copy.cfg"_s);
    ui.AnswerSave(target);
    ui.AnswerSave(QString());
    Act("mnuFSaveAs");
    Act("mnuFSaveAs");  // cancelled: nothing changes
    ASSERT_EQ(ui.SaveRequests().size(), 3u);
    EXPECT_EQ(ui.SaveRequests()[1].presetName, path);
    EXPECT_EQ(ui.SaveRequests()[1].filter, u"EEPROM.CFG (*.cfg)"_s);
    EXPECT_EQ(LinesOfFile(target), edited);
    EXPECT_EQ(Captions(), QStringList{target.toUpper()});
    EXPECT_EQ(Inside().Documents().Path(number), target.toStdString());

    SCOPED_TRACE("Yes, the offered file taken: saved over it, nothing in the program's folder");
    EditChannel(doc, 4, 2);
    const std::vector<std::string> last = doc.lines;
    ui.AnswerMessage(kYes);
    ui.AcceptSavePreset();
    close->trigger();
    EXPECT_EQ(ui.SaveRequests().back().presetName, target);
    EXPECT_TRUE(Captions().isEmpty());
    EXPECT_EQ(LinesOfFile(target), last);
    EXPECT_FALSE(QFile::exists(TempPath(u"COPY.cfg"_s)));

    SCOPED_TRACE("No closes without saving, and the last close resets the program");
    ASSERT_TRUE(OpenThroughMenu(target));
    EditChannel(ActiveDoc(), 5, 1);
    Inside().ClipLinesRef().push_back(ActiveDoc().lines[0]);
    ui.SetClipboardText(u"something"_s);
    mdi->Status().SetText(u"Not detected"_s, StatusColor::Red);
    ui.AnswerMessage(kNo);
    Act("mnuFClose");
    EXPECT_TRUE(Captions().isEmpty());
    EXPECT_EQ(LinesOfFile(target), last);
    EXPECT_EQ(mdi->Status().Text(), QString::fromLatin1(kMenuHint));
    EXPECT_EQ(mdi->Status().Color(), StatusColor::Black);
    EXPECT_TRUE(ui.ClipboardText().isEmpty());
    EXPECT_TRUE(Inside().ClipLinesRef().empty());
    EXPECT_EQ(Inside().Documents().UpperBound(), 0);
    EXPECT_EQ(ui.Unexpected(), 0);

    SCOPED_TRACE("five files: Ctrl+S, Exit, and the recent files in the next run");
    ui.ClearRecords();
    QStringList files;
    for (const char* name : {"a", "b", "c", "d", "e"})
        files << CopySample("vk-a1-16ch.cfg", u"%1/%1.cfg"_s.arg(QLatin1String(name)));
    for (const QString& file : files) ASSERT_TRUE(OpenThroughMenu(file));
    EXPECT_EQ(ui.OpenRequests()[1].folder, QFileInfo(files[0]).absolutePath());
    ASSERT_TRUE(OpenThroughMenu(files[1]));  // again: to the front, not twice
    EXPECT_EQ(recent([this](const QString& n) { return mdi->ActiveWindow()->Action(n); }),
              (QStringList{files[1], files[4], files[3], files[2]}));
    ASSERT_EQ(mdi->ActiveNumber(), 6);
    Document& one = *Inside().Documents().Get(1);
    Document& six = *Inside().Documents().Get(6);
    EditChannel(one);
    EditChannel(six);
    const std::vector<std::string> oneEdited = one.lines;
    mdi->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(mdi.get()));
    QTest::keyClick(mdi.get(), Qt::Key_S, Qt::ControlModifier);
    EXPECT_FALSE(six.state.changed);
    EXPECT_TRUE(one.state.changed);
    EXPECT_EQ(LinesOfFile(files[1]), six.lines);
    // Saved, it closes without a question, and another window becomes the active one.
    mdi->SubWindow(6)->close();
    EXPECT_TRUE(ui.Messages().empty());
    EXPECT_TRUE(mdi->ActiveNumber() > 0 && mdi->ActiveNumber() < 6);
    Inside().MdiArea()->setActiveSubWindow(mdi->SubWindow(5));
    const QString saved = TempPath(u"saved/g.cfg"_s);
    QDir().mkpath(QFileInfo(saved).absolutePath());
    ui.AnswerSave(saved);
    Act("mnuFSaveAs");
    // The main window's own Exit, Cancel: nothing closes; Exit from a document window, No:
    // the change is dropped and the program ends.
    ui.AnswerMessage(kCancel);
    mdi->MainAction(u"mnuFExit"_s)->trigger();
    EXPECT_EQ(Texts(), QStringList{kChanged.arg(u"A"_s)});
    EXPECT_TRUE(mdi->isVisible());
    ui.AnswerMessage(kNo);
    Act("mnuFExit");
    EXPECT_EQ(ui.Messages().size(), 2u);
    EXPECT_TRUE(Captions().isEmpty());
    EXPECT_FALSE(mdi->isVisible());
    EXPECT_NE(LinesOfFile(files[0]), oneEdited);

    mdi.reset();  // the next run, on the same settings
    StartMain();
    EXPECT_EQ(recent(inMain), (QStringList{saved, files[1], files[4], files[3]}));
    EXPECT_FALSE(OpenThroughMenu(QString()));  // cancelled; where did it start?
    EXPECT_EQ(ui.OpenRequests().back().folder, QFileInfo(saved).absolutePath());
    mdi->MainAction(u"mnuRecentFile3"_s)->trigger();
    ASSERT_EQ(Captions(), QStringList{files[4].toUpper()});
    // A file gone since is reported and leaves the list.
    QFile::remove(files[3]);
    ui.AnswerMessage(kOk);
    mdi->ActiveWindow()->Action(u"mnuRecentFile4"_s)->trigger();
    EXPECT_EQ(Texts().last(), u"Can't open file: "_s + files[3]);
    EXPECT_EQ(recent(inMain), (QStringList{files[4], saved, files[1]}));
}

}  // namespace
}  // namespace talveron::app
