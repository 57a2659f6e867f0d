// The desktop program on a scripted port list: the notice about ports refused
// for lack of permission, the save offered when a changed document closes, the
// customer editor's Changed flag and Timer1, the ReadMe viewer while a transfer
// runs, and the port list the virtual radio makes.
#include <gtest/gtest.h>

#include <QAction>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QPointer>
#include <QPrinter>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <map>
#include <memory>

#include "app/frm_mdi.h"
#include "app/virtual_radio.h"
#include "image/cfg_file.h"
#include "link/link_clock.h"
#include "link/port_detect.h"
#include "platform/port_names.h"
#include "platform/scripted_ui_services.h"
#include "qt_test_util.h"

namespace talveron::app {
namespace {

using namespace Qt::Literals::StringLiterals;
using link::OpenFailure;
using link::OpenResult;
using platform::kNo;
using platform::kOk;
using platform::kYes;

const QString kSamples = QStringLiteral(TALVERON_SAMPLES);

// Ports by number: each opens as scripted (a port not named does not exist).
// Nothing ever answers on an open port.
class ScriptedPorts : public link::SerialPort {
  public:
    std::map<int, OpenResult> ports;
    int opens = 0;

    void SelectPort(int number) override {
        if (!open_) number_ = number;
    }
    void SelectDevice(const std::string&) override {
        if (!open_) number_ = 0;
    }
    OpenResult Open() override {
        ++opens;
        auto it = ports.find(number_);
        OpenResult result;
        if (it == ports.end()) {
            result.failure = OpenFailure::NotFound;
            result.device = "port " + std::to_string(number_);
        } else {
            result = it->second;
        }
        open_ = result.ok();
        return result;
    }
    void Close() override { open_ = false; }
    bool IsOpen() const override { return open_; }
    void SetInputMode(link::InputMode) override {}
    void ClearReceiveBuffer() override {}
    std::size_t BytesWaiting() override { return 0; }
    bool Write(std::span<const std::uint8_t>) override { return open_; }
    link::Bytes ReadAll() override { return {}; }
    link::WaitResult WaitForBytes(std::chrono::microseconds) override {
        return link::WaitResult::TimedOut;
    }

  private:
    int number_ = 0;
    bool open_ = false;
};

OpenResult Opens(const std::string& device) {
    OpenResult r;
    r.device = device;
    return r;
}

OpenResult Refused(const std::string& device) {
    OpenResult r;
    r.failure = OpenFailure::Permission;
    r.device = device;
    r.message = device + ": permission denied (join the group dialout that owns it)";
    return r;
}

class MendsTest : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_TRUE(dir_.isValid()); }
    void TearDown() override {
        mdi.reset();
        QDir::setCurrent(QDir::tempPath());
    }

    void StartMain() {
        MainOptions options;
        options.programDir = dir_.path();
        options.showSplash = false;
        options.splashMs = 0;
        mdi = std::make_unique<frmMDI>(ui, ports, clock, options);
        mdi->Startup();
    }
    // Port 1 opens (no question at start-up).
    void StartWithAPort() {
        ports.ports[1] = Opens("/dev/ttyUSB0");
        StartMain();
    }

    QString Path(const QString& name) const { return dir_.filePath(name); }
    QString CopySample(const QString& name, const QString& as) {
        const QString target = Path(as);
        QDir().mkpath(QFileInfo(target).absolutePath());
        EXPECT_TRUE(QFile::copy(kSamples + u"/"_s + name, target));
        QFile::setPermissions(target, QFile::ReadOwner | QFile::WriteOwner);
        return target;
    }
    // Opens a file through File > Open; its window becomes the active one.
    int Open(const QString& path) {
        ui.AnswerOpen(path);
        mdi->MainAction(u"mnuFOpen"_s)->trigger();
        return mdi->ActiveNumber();
    }
    void WriteReadMe() {
        QFile f(Path(u"ReadMe.Txt"_s));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("ReadMe text\nsecond line\n");
    }
    QStringList Texts() const {
        QStringList texts;
        for (const auto& m : ui.Messages()) texts << m.text;
        return texts;
    }

    platform::ScriptedUiServices ui;
    ScriptedPorts ports;
    link::SteadyClock clock;
    std::unique_ptr<frmMDI> mdi;

  private:
    QTemporaryDir dir_;
};

const QString kCommPortError = u"AvailableRS232 port was not detected !"_s;

// ---- the permission notice
// ---------------------------------------------------------------

TEST_F(MendsTest, ARefusedPortIsNamedOnTheStatusLineAfterStartUp) {
    ports.ports[1] = Opens("/dev/ttyS0");
    ports.ports[2] = Refused("/dev/ttyUSB0");
    StartMain();
    EXPECT_TRUE(ui.Messages().empty());
    EXPECT_EQ(mdi->LinkStateRef().portIndex, 1);
    const QString notice =
        u"/dev/ttyUSB0: permission denied (join the group dialout that owns it)"_s;
    EXPECT_EQ(mdi->Status().Text(), notice);
    EXPECT_EQ(mdi->Status().Color(), kStatusBlack);
    EXPECT_TRUE(mdi->Status().Visible());
    // It is the start-up status the ReadMe viewer puts back.
    EXPECT_EQ(mdi->Status().StatusText(), notice);
    // The reset itself has run: the blink timer and Upload.
    EXPECT_TRUE(mdi->Status().TimerActive());
    EXPECT_TRUE(mdi->MainAction(u"mnuRadioItem0"_s)->isEnabled());
}

TEST_F(MendsTest, WithoutRefusedPortsStartUpEndsOnTheMenuHint) {
    StartWithAPort();
    EXPECT_EQ(mdi->Status().Text(), QString::fromLatin1(kMenuHint));
}

TEST_F(MendsTest, WithEveryPortRefusedTheCommPortErrorIsFollowedByTheNotice) {
    ports.ports[1] = Refused("/dev/ttyUSB0");
    ports.ports[3] = Refused("/dev/ttyUSB1");
    ui.AnswerMessage(kNo);  // Detect Again ?
    StartMain();
    ASSERT_EQ(Texts(), QStringList{u" No RS232 Port is available\nDetect Again ?"_s});
    EXPECT_EQ(mdi->LinkStateRef().portIndex, 0);
    const QString notice = QString::fromStdString(link::PermissionNotice(mdi->LinkStateRef()));
    EXPECT_EQ(notice,
              u"/dev/ttyUSB0: permission denied (join the group dialout that owns it); "
              "/dev/ttyUSB1: permission denied (join the group dialout that owns it)"_s);
    EXPECT_EQ(mdi->Status().Text(), notice);

    // Upload: no port to try. Once the error box is answered the line names the
    // refused ports, while the connection question that follows is open.
    ui.ClearRecords();
    mdi->Status().SetText(u"something else"_s, kStatusBlack);
    QString statusAtQuestion;
    ui.onMessage = [&](const platform::MessageRequest& r) {
        if (r.text.startsWith(u"Connecting Err"_s)) statusAtQuestion = mdi->Status().Text();
    };
    ui.AnswerMessage(kOk);
    ui.AnswerMessage(kNo);
    mdi->MainAction(u"mnuRadioItem0"_s)->trigger();
    ASSERT_EQ(ui.Messages().size(), 2u);
    EXPECT_EQ(ui.Messages()[0].text, kCommPortError);
    EXPECT_EQ(ui.Messages()[0].title, u"Comm Port Error"_s);
    EXPECT_EQ(statusAtQuestion, notice);
    // The closing steps (the reset, no document being open) leave it in view as
    // well.
    EXPECT_EQ(mdi->Status().Text(), notice);
    EXPECT_EQ(mdi->Status().Color(), kStatusBlack);
    EXPECT_TRUE(mdi->Documents().OpenNumbers().empty());
    EXPECT_EQ(ui.Unexpected(), 0);
}

TEST_F(MendsTest, WithNoPortAtAllTheCommPortErrorLeavesTheLineToTheClosingSteps) {
    ui.AnswerMessage(kNo);
    StartMain();
    ui.ClearRecords();
    ui.AnswerMessage(kOk);
    ui.AnswerMessage(kNo);
    mdi->MainAction(u"mnuRadioItem0"_s)->trigger();
    EXPECT_EQ(ui.Messages()[0].text, kCommPortError);
    EXPECT_EQ(mdi->Status().Text(), QString::fromLatin1(kMenuHint));
}

// ---- closing a changed document with Yes
// ----------------------------------------------------

TEST_F(MendsTest, YesOnCloseOffersTheDocumentsOwnFileAndSavesOverIt) {
    StartWithAPort();
    const QString path = CopySample(u"vk-a1-16ch.cfg"_s, u"cfg/a.cfg"_s);
    const int number = Open(path);
    ASSERT_NE(number, 0);
    Document& doc = *mdi->Documents().Get(number);
    std::string line = doc.lines[1];
    line.replace(0, 4, "1   ");
    doc.lines[0] = line;
    doc.state.changed = true;
    const std::vector<std::string> edited = doc.lines;
    const CfgReadResult before = ReadCfgFile(path.toStdString());
    ASSERT_NE(edited, OpenDocument(before.image, before.modelCode, "x").lines);

    ui.AnswerMessage(kYes);
    ui.AcceptSavePreset();
    mdi->ActiveWindow()->Action(u"mnuFClose"_s)->trigger();
    ASSERT_EQ(Texts(),
              QStringList{u"The data in [A] has changed.\nDo you want to save the changes?"_s});
    ASSERT_EQ(ui.SaveRequests().size(), 1u);
    EXPECT_EQ(ui.SaveRequests()[0].presetName, path);
    // Saved over its own file, nothing in the program's folder, and the window
    // has gone.
    const CfgReadResult read = ReadCfgFile(path.toStdString());
    ASSERT_TRUE(read.ok()) << read.message;
    EXPECT_EQ(OpenDocument(read.image, read.modelCode, "x").lines, edited);
    EXPECT_FALSE(QFileInfo::exists(Path(u"A.cfg"_s)));
    EXPECT_EQ(mdi->SubWindow(number), nullptr);
    EXPECT_TRUE(mdi->Documents().OpenNumbers().empty());
    EXPECT_EQ(ui.Unexpected(), 0);
}

TEST_F(MendsTest, YesOnCloseOffersTheFileTheDocumentWasLastSavedTo) {
    StartWithAPort();
    // A document saved under a new name is offered that file, not the one it came
    // from.
    const QString path = CopySample(u"vk-a2-16ch.cfg"_s, u"first.cfg"_s);
    const int number = Open(path);
    ASSERT_NE(number, 0);
    const QString moved = Path(u"sub/Second.cfg"_s);
    QDir().mkpath(Path(u"sub"_s));
    ASSERT_TRUE(mdi->SaveImageFile(number, moved));
    mdi->Documents().Get(number)->state.changed = true;
    ui.AnswerMessage(kYes);
    ui.AnswerSave(QString());  // cancelled: the window stays
    mdi->ActiveWindow()->Action(u"mnuFClose"_s)->trigger();
    ASSERT_EQ(ui.SaveRequests().size(), 1u);
    EXPECT_EQ(ui.SaveRequests()[0].presetName, moved);
    EXPECT_NE(mdi->SubWindow(number), nullptr);
}

TEST_F(MendsTest, YesOnCloseOffersAnUnsavedUploadItsTempName) {
    StartWithAPort();
    const CfgReadResult read = ReadCfgFile((kSamples + u"/vk-a1-16ch.cfg"_s).toStdString());
    ASSERT_TRUE(read.ok());
    Document upload = OpenDocument(read.image, read.modelCode, "", true);
    upload.state.changed = true;
    const int number = mdi->Documents().AddUpload(std::move(upload));
    ui.AnswerMessage(kYes);
    ui.AnswerSave(QString());
    EXPECT_FALSE(mdi->QueryClose(number));
    ASSERT_EQ(ui.SaveRequests().size(), 1u);
    EXPECT_EQ(ui.SaveRequests()[0].presetName, u"TEMP1"_s);
}

// ---- the customer editor
// -------------------------------------------------------------------

TEST_F(MendsTest, TheCustomerEditorsOkMarksTheDocumentChangedAndTimer1RestsWhileItIsOpen) {
    StartWithAPort();
    const QString path = CopySample(u"vk-a1-16ch.cfg"_s, u"c.cfg"_s);
    const int number = Open(path);
    ASSERT_NE(number, 0);
    ASSERT_FALSE(mdi->Documents().Get(number)->state.changed);
    ASSERT_TRUE(mdi->Status().TimerActive());

    // CANCEL: nothing changes, and the timer runs again.
    mdi->ActiveWindow()->Action(u"mnuFCustomer"_s)->trigger();
    ASSERT_NE(mdi->Customer(), nullptr);
    EXPECT_FALSE(mdi->Status().TimerActive());
    mdi->Customer()->CustomerBox()->setText(u"not kept"_s);
    QTest::mouseClick(mdi->Customer()->CancelButton(), Qt::LeftButton);
    EXPECT_TRUE(mdi->Status().TimerActive());
    EXPECT_FALSE(mdi->Documents().Get(number)->state.changed);
    EXPECT_TRUE(testing::WaitUntil([&] { return mdi->Customer() == nullptr; }));

    // OK: the texts are written and the document is changed; the timer rests
    // while the editor shows, even when it is activated again, and runs once it
    // has closed.
    mdi->ActiveWindow()->Action(u"mnuFCustomer"_s)->trigger();
    CustomerDialog* dialog = mdi->Customer();
    ASSERT_NE(dialog, nullptr);
    EXPECT_FALSE(mdi->Status().TimerActive());
    mdi->Status().StartTimer();
    dialog->activateWindow();
    QTest::keyClicks(dialog->CustomerBox(), u"Harbour Pilots"_s);
    EXPECT_TRUE(testing::WaitUntil([&] { return !mdi->Status().TimerActive(); }, 3000));
    QTest::mouseClick(dialog->OkButton(), Qt::LeftButton);
    EXPECT_TRUE(mdi->Status().TimerActive());
    EXPECT_EQ(mdi->Documents().Get(number)->customer, "Harbour Pilots");
    EXPECT_TRUE(mdi->Documents().Get(number)->state.changed);
    EXPECT_TRUE(testing::WaitUntil([&] { return mdi->Customer() == nullptr; }));

    // Close: the save question is asked.
    ui.AnswerMessage(kNo);
    mdi->ActiveWindow()->Action(u"mnuFClose"_s)->trigger();
    EXPECT_EQ(Texts(),
              QStringList{u"The data in [C] has changed.\nDo you want to save the changes?"_s});
    EXPECT_EQ(mdi->SubWindow(number), nullptr);
}

TEST_F(MendsTest, ClosingTheCustomerEditorThroughItsFrameStartsTimer1Too) {
    StartWithAPort();
    ASSERT_NE(Open(CopySample(u"vk-a1-16ch.cfg"_s, u"d.cfg"_s)), 0);
    mdi->ActiveWindow()->Action(u"mnuFCustomer"_s)->trigger();
    ASSERT_NE(mdi->Customer(), nullptr);
    EXPECT_FALSE(mdi->Status().TimerActive());
    // Opening it again replaces the shown one; the timer still rests.
    mdi->ActiveWindow()->Action(u"mnuFCustomer"_s)->trigger();
    EXPECT_FALSE(mdi->Status().TimerActive());
    mdi->Customer()->close();
    EXPECT_TRUE(mdi->Status().TimerActive());
}

// ---- the ReadMe viewer while a transfer runs
// -----------------------------------------------

TEST_F(MendsTest, TheReadMeViewersExitAndPrintDoNothingWhileATransferRuns) {
    ui.AnswerMessage(kNo);  // no port: Detect Again ? No
    StartMain();
    WriteReadMe();
    mdi->MainAction(u"mnuReadMe"_s)->trigger();
    QPointer<frmReadMe> viewer = mdi->ReadMeWindow();
    ASSERT_NE(viewer, nullptr);
    QTemporaryDir printDir;
    int printed = 0;
    std::unique_ptr<QPrinter> printer;
    viewer->printerProvider = [&]() -> QPrinter* {
        ++printed;
        printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
        printer->setOutputFormat(QPrinter::PdfFormat);
        printer->setOutputFileName(printDir.filePath(u"r%1.pdf"_s.arg(printed)));
        return printer.get();
    };
    QAction* exit = viewer->findChild<QAction*>(u"mnuExit"_s);
    QAction* print = viewer->findChild<QAction*>(u"mnuPrint"_s);
    ASSERT_NE(exit, nullptr);
    ASSERT_NE(print, nullptr);

    // The transfer stops at "Comm Port Error"; there the viewer is tried.
    ui.ClearRecords();
    bool looked = false;
    ui.onMessage = [&](const platform::MessageRequest& r) {
        if (looked || r.text != kCommPortError) return;
        looked = true;
        ASSERT_TRUE(mdi->TransferRunning());
        mdi->Status().SetText(u"mid transfer"_s, kStatusBlack);
        print->trigger();
        exit->trigger();
        QTest::keyClick(viewer, Qt::Key_Q, Qt::ControlModifier);
        viewer->close();
        QCoreApplication::processEvents();
        EXPECT_EQ(printed, 0);
        ASSERT_NE(viewer, nullptr);
        EXPECT_EQ(mdi->ReadMeWindow(), viewer);
        EXPECT_TRUE(viewer->isVisible());
        EXPECT_FALSE(exit->isEnabled());
        EXPECT_FALSE(print->isEnabled());
        // Neither the reset nor the unload has touched the line.
        EXPECT_EQ(mdi->Status().Text(), u"mid transfer"_s);
    };
    ui.AnswerMessage(kOk);
    ui.AnswerMessage(kNo);
    mdi->MainAction(u"mnuRadioItem0"_s)->trigger();
    EXPECT_TRUE(looked);
    EXPECT_FALSE(mdi->TransferRunning());

    // After the transfer both work again.
    ASSERT_EQ(mdi->ReadMeWindow(), viewer);
    EXPECT_TRUE(exit->isEnabled());
    EXPECT_TRUE(print->isEnabled());
    print->trigger();
    EXPECT_EQ(printed, 1);
    exit->trigger();
    EXPECT_TRUE(testing::WaitUntil([&] { return mdi->ReadMeWindow() == nullptr; }));
    EXPECT_EQ(mdi->Status().Text(), QString::fromLatin1(kMenuHint));
}

// ---- the virtual radio's port list
// ----------------------------------------------------------

TEST(VirtualRadioPorts, TheRadioComesFirstAndTheOtherPortsFollow) {
    const QString radio = u"/dev/pts/7"_s;
    const std::vector<std::string> system{"/dev/ttyS0", "/dev/ttyS2", "/dev/ttyUSB0"};
    // Unset: the system's ports follow, in their order.
    EXPECT_EQ(PortListWithRadio(radio, std::nullopt, system),
              QByteArray("/dev/pts/7:/dev/ttyS0:/dev/ttyS2:/dev/ttyUSB0"));
    EXPECT_EQ(PortListWithRadio(radio, std::nullopt, {}), QByteArray("/dev/pts/7"));
    // Set: its entries follow, and the system's ports are not added.
    EXPECT_EQ(PortListWithRadio(radio, QByteArray("/dev/ttyS9:/dev/ttyACM0"), system),
              QByteArray("/dev/pts/7:/dev/ttyS9:/dev/ttyACM0"));
    EXPECT_EQ(PortListWithRadio(radio, QByteArray(), system), QByteArray("/dev/pts/7"));
    // The link reads the value back with the radio as port 1 and the rest in
    // order.
    EXPECT_EQ(platform::SplitPortList(PortListWithRadio(radio, std::nullopt, system).toStdString()),
              (std::vector<std::string>{"/dev/pts/7", "/dev/ttyS0", "/dev/ttyS2", "/dev/ttyUSB0"}));
    // The command line's radio keeps the system's ports.
    ASSERT_TRUE(ParseVirtualRadio(u"1,large"_s).has_value());
    EXPECT_TRUE(ParseVirtualRadio(u"1,large"_s)->systemPortsToo);
    EXPECT_TRUE(ParseVirtualRadio(QString())->systemPortsToo);
}

TEST(VirtualRadioPorts, StartingTheCommandLinesRadioKeepsTheSystemsPorts) {
    qunsetenv(platform::kPortsVariable);
    std::string expected;
    for (const std::string& device : platform::NumberedPortDevices()) expected += ":" + device;
    VirtualRadioProcess radio;
    std::optional<VirtualRadioOptions> options = ParseVirtualRadio(QString());
    ASSERT_TRUE(options.has_value());
    options->extra = QStringList{u"--baud"_s, u"0"_s};
    ASSERT_TRUE(radio.Start(VirtualRadioProgram(QCoreApplication::applicationDirPath()), *options))
        << radio.Error().toStdString();
    const QByteArray ports = qgetenv(platform::kPortsVariable);
    radio.Stop();
    qunsetenv(platform::kPortsVariable);
    EXPECT_EQ(ports.toStdString(), radio.Device().toStdString() + expected);
}

}  // namespace
}  // namespace talveron::app
