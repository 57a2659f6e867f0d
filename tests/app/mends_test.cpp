// The desktop program on a scripted port list: the notice about ports refused for lack of
// permission, the save offered when a changed document closes, the ReadMe viewer while a
// transfer runs, and the port list the virtual radio makes.
#include <QAction>
#include <QPointer>
#include <QPrinter>
#include <QTest>
#include <map>

#include "app_fixture.h"
#include "image/cfg_file.h"
#include "link/port_detect.h"
#include "platform/port_names.h"
#include "qt_test_util.h"

namespace talveron::app {
namespace {

using namespace Qt::Literals::StringLiterals;
using link::OpenFailure;
using link::OpenResult;
using platform::kNo;
using platform::kOk;
using platform::kYes;

// Ports by number: each opens as scripted (a port not named does not exist).
// Nothing ever answers on an open port.
class ScriptedPorts : public link::SerialPort {
  public:
    std::map<int, OpenResult> ports;

    void SelectPort(int number) override {
        if (!open_) number_ = number;
    }
    void SelectDevice(const std::string&) override {
        if (!open_) number_ = 0;
    }
    OpenResult Open() override {
        auto it = ports.find(number_);
        const OpenResult result =
            it != ports.end()
                ? it->second
                : OpenResult{OpenFailure::NotFound, "port " + std::to_string(number_), ""};
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

const char kDenied[] = ": permission denied (join the group dialout that owns it)";

OpenResult Refused(const std::string& device) {
    return {OpenFailure::Permission, device, device + kDenied};
}

class MendsTest : public AppTest {
  protected:
    void StartOnPorts() { StartMain(false, &ports); }
    ScriptedPorts ports;
};

const QString kCommPortError = u"AvailableRS232 port was not detected !"_s;

// A refused port is named on the status line after start-up, as the start-up status the
// ReadMe viewer puts back; the reset itself has run.
TEST_F(MendsTest, ARefusedPortIsNamedOnTheStatusLineAfterStartUp) {
    ports.ports[1] = OpenResult{OpenFailure::None, "/dev/ttyS0", ""};
    ports.ports[2] = Refused("/dev/ttyUSB0");
    StartOnPorts();
    EXPECT_TRUE(ui.Messages().empty());
    EXPECT_EQ(Inside().LinkStateRef().portIndex, 1);
    const QString notice = u"/dev/ttyUSB0"_s + QLatin1String(kDenied);
    EXPECT_EQ(mdi->Status().Text(), notice);
    EXPECT_EQ(mdi->Status().Color(), StatusColor::Black);
    EXPECT_TRUE(mdi->Status().Visible());
    EXPECT_EQ(mdi->Status().StatusText(), notice);
    EXPECT_TRUE(mdi->Status().TimerActive());
    EXPECT_TRUE(mdi->MainAction(u"mnuRadioItem0"_s)->isEnabled());
    // Yes on closing an unsaved upload offers its TEMP name.
    const CfgReadResult read = ReadCfgFile(Sample("vk-a1-16ch.cfg").toStdString());
    ASSERT_TRUE(read.ok());
    const int number = Inside().Documents().AddUpload(OpenDocument(read.image, read.modelCode, ""));
    ui.AnswerMessage(kYes);
    ui.AnswerSave(QString());
    EXPECT_FALSE(mdi->QueryClose(number));
    ASSERT_EQ(ui.SaveRequests().size(), 1u);
    EXPECT_EQ(ui.SaveRequests()[0].presetName, u"TEMP1"_s);
}

// With every port refused the Comm Port error is followed by the notice, which stays while the
// connection question is open and after the closing steps.
TEST_F(MendsTest, WithEveryPortRefusedTheCommPortErrorIsFollowedByTheNotice) {
    ports.ports[1] = Refused("/dev/ttyUSB0");
    ports.ports[3] = Refused("/dev/ttyUSB1");
    ui.AnswerMessage(kNo);  // Detect Again ?
    StartOnPorts();
    EXPECT_EQ(Inside().LinkStateRef().portIndex, 0);
    const QString notice =
        u"/dev/ttyUSB0"_s + QLatin1String(kDenied) + u"; /dev/ttyUSB1"_s + QLatin1String(kDenied);
    EXPECT_EQ(mdi->Status().Text(), notice);
    ui.ClearRecords();
    mdi->Status().SetText(u"something else"_s, StatusColor::Black);
    QString statusAtQuestion;
    ui.onMessage = [&](const platform::MessageRequest& r) {
        if (r.text.startsWith(u"Connecting Err"_s)) statusAtQuestion = mdi->Status().Text();
    };
    ui.AnswerMessage(kOk);
    ui.AnswerMessage(kNo);
    Upload();
    ASSERT_EQ(ui.Messages().size(), 2u);
    EXPECT_EQ(ui.Messages()[0].text, kCommPortError);
    EXPECT_EQ(statusAtQuestion, notice);
    EXPECT_EQ(mdi->Status().Text(), notice);
    EXPECT_EQ(mdi->Status().Color(), StatusColor::Black);
    EXPECT_EQ(ui.Unexpected(), 0);
}

// The ReadMe viewer's Exit and Print do nothing while a transfer runs (here one stopping at
// "Comm Port Error"), and work again after it.
TEST_F(MendsTest, TheReadMeViewersExitAndPrintDoNothingWhileATransferRuns) {
    ui.AnswerMessage(kNo);  // no port: Detect Again ? No
    StartOnPorts();
    WriteReadMe("ReadMe text\nsecond line\n");
    mdi->MainAction(u"mnuReadMe"_s)->trigger();
    QPointer<frmReadMe> viewer = Inside().ReadMeWindow();
    ASSERT_NE(viewer, nullptr);
    QTemporaryDir printDir;
    int printed = 0;
    std::unique_ptr<QPrinter> printer;
    mdi->Printer().hasPrinter = [] { return true; };
    mdi->Printer().printerProvider = [&]() -> QPrinter* {
        printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
        printer->setOutputFormat(QPrinter::PdfFormat);
        printer->setOutputFileName(printDir.filePath(u"r%1.pdf"_s.arg(++printed)));
        return printer.get();
    };
    QAction* exit = viewer->findChild<QAction*>(u"mnuExit"_s);
    QAction* print = viewer->findChild<QAction*>(u"mnuPrint"_s);
    ASSERT_TRUE(exit && print);
    ui.ClearRecords();
    bool looked = false;
    ui.onMessage = [&](const platform::MessageRequest& r) {
        if (looked || r.text != kCommPortError) return;
        looked = true;
        ASSERT_TRUE(mdi->TransferRunning());
        mdi->Status().SetText(u"mid transfer"_s, StatusColor::Black);
        print->trigger();
        exit->trigger();
        QTest::keyClick(viewer, Qt::Key_Q, Qt::ControlModifier);
        viewer->close();
        QCoreApplication::processEvents();
        EXPECT_EQ(printed, 0);
        ASSERT_NE(viewer, nullptr);
        EXPECT_EQ(Inside().ReadMeWindow(), viewer);
        EXPECT_TRUE(viewer->isVisible());
        EXPECT_FALSE(exit->isEnabled() || print->isEnabled());
        EXPECT_EQ(mdi->Status().Text(), u"mid transfer"_s);  // neither reset nor unload ran
    };
    ui.AnswerMessage(kOk);
    ui.AnswerMessage(kNo);
    Upload();
    EXPECT_TRUE(looked);
    EXPECT_FALSE(mdi->TransferRunning());
    ASSERT_EQ(Inside().ReadMeWindow(), viewer);
    EXPECT_TRUE(exit->isEnabled() && print->isEnabled());
    print->trigger();
    EXPECT_EQ(printed, 1);
    exit->trigger();
    EXPECT_TRUE(testing::WaitUntil([&] { return Inside().ReadMeWindow() == nullptr; }));
    EXPECT_EQ(mdi->Status().Text(), QString::fromLatin1(kMenuHint));
}

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

// Started, the radio goes in front of the port list: of the one set, or of the system's ports.
TEST(VirtualRadioPorts, StartingTheRadioPutsItInFrontOfThePortList) {
    qunsetenv(platform::kPortsVariable);
    std::string system;
    for (const std::string& device : platform::NumberedPortDevices()) system += ":" + device;
    for (const char* set : {"/dev/ttyS9", ""}) {
        SCOPED_TRACE(set);
        if (*set)
            qputenv(platform::kPortsVariable, set);
        else
            qunsetenv(platform::kPortsVariable);
        VirtualRadioProcess radio;
        std::optional<VirtualRadioOptions> options = ParseVirtualRadio(QString());
        ASSERT_TRUE(options.has_value());
        options->extra = QStringList{u"--baud"_s, u"0"_s};
        ASSERT_TRUE(
            radio.Start(VirtualRadioProgram(QCoreApplication::applicationDirPath()), *options))
            << radio.Error().toStdString();
        EXPECT_TRUE(radio.Running());
        const QByteArray ports = qgetenv(platform::kPortsVariable);
        radio.Stop();
        EXPECT_FALSE(radio.Running());
        qunsetenv(platform::kPortsVariable);
        EXPECT_EQ(ports.toStdString(),
                  radio.Device().toStdString() + (*set ? ":" + std::string(set) : system));
    }
}

}  // namespace
}  // namespace talveron::app
