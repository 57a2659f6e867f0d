// Start-up: the port question when no port opens, the notice about ports refused for lack of
// permission (a quiet start on a radio is in transfer_test) with the ReadMe viewer shown then,
// the command line and the virtual radio's place in the port list. The program also runs as a
// process, to be ended by signals with its radio.
#include <signal.h>

#include <map>

#include "app/app_main.h"
#include "app_fixture.h"
#include "link_fakes.h"
#include "platform/port_names.h"
#include "platform/twips.h"

namespace talveron::app {
namespace {

const char kDenied[] = ": permission denied (join the group dialout that owns it)";

// Detect Again is asked until No; the refusals are named on the status line after start-up and
// again after the Comm Port error. The ReadMe is reported missing or shown; its viewer's Exit
// and Print do nothing while that transfer runs, and work again after it; closing it restores
// the status.
TEST_F(AppTest, WithEveryPortRefusedTheQuestionRepeatsAndTheReadMeWaitsForTheTransfer) {
    link::test::FakeClock fakeClock;
    link::test::FakePort ports(fakeClock);  // 1 and 3 refused for lack of permission, no others
    ports.openable.clear();
    ports.denied = {1, 3};
    ui.AnswerMessage(kYes);
    ui.AnswerMessage(kNo);
    StartMain(false, &ports);
    ASSERT_EQ(ui.Messages().size(), 2u);
    for (const auto& m : ui.Messages())
        EXPECT_TRUE(BoxIs(m, u" No RS232 Port is available\nDetect Again ?"_s, u""_s,
                          kYes | kNo | platform::kCancel, platform::MsgIcon::Exclamation));
    const QString notice =
        u"COM1"_s + QLatin1String(kDenied) + u"; COM3"_s + QLatin1String(kDenied);
    EXPECT_EQ(mdi->Status().Text(), notice);
    EXPECT_EQ(mdi->Status().StatusText(), notice);
    EXPECT_TRUE(mdi->Status().TimerActive());

    SCOPED_TRACE("the ReadMe: missing, shown, and asked for again while it shows");
    ui.AnswerMessage(kOk);
    Act("mnuReadMe");
    EXPECT_EQ(Texts().last(), u"Can not find ReadMe.txt File in current Directory"_s);
    EXPECT_EQ(Inside().ReadMeWindow(), nullptr);
    const QString text = u"TALVERON\nline two\n\nlast line"_s;
    WriteFile(u"ReadMe.Txt"_s, text.toUtf8());
    Act("mnuReadMe");
    QPointer<frmReadMe> first = Inside().ReadMeWindow();
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->windowTitle(), u"ReadMe"_s);
    EXPECT_EQ(first->Text1()->toPlainText(), text);
    EXPECT_TRUE(first->Text1()->isReadOnly());
    const QString printHint = u"To print Readme pressb Ctrl+P, to close ReadMe press Ctrl+Q"_s;
    EXPECT_EQ(mdi->Status().Text(), printHint);
    // A new viewer replaces the one shown, and the hint stays, in black.
    mdi->Status().SetText(u"Not detected"_s, StatusColor::Red);
    Act("mnuReadMe");
    QPointer<frmReadMe> viewer = Inside().ReadMeWindow();
    ASSERT_NE(viewer, nullptr);
    EXPECT_NE(viewer, first);
    EXPECT_EQ(mdi->Status().Text(), printHint);
    EXPECT_EQ(mdi->Status().Color(), StatusColor::Black);
    EXPECT_TRUE(testing::WaitUntil([&] { return first.isNull(); }));
    // Resizing keeps the text box 400 twips narrower and 800 twips lower than the window.
    viewer->resize(700, 500);
    EXPECT_EQ(viewer->Text1()->width(), 700 - platform::TwipsToPixels(400));
    EXPECT_EQ(viewer->Text1()->height(), 500 - platform::TwipsToPixels(800));

    SCOPED_TRACE("the ReadMe is locked while a transfer runs");
    mdi->Printer().hasPrinter = [] { return false; };  // printing asks first
    QAction* exit = viewer->findChild<QAction*>(u"mnuExit"_s);
    QAction* print = viewer->findChild<QAction*>(u"mnuPrint"_s);
    ASSERT_TRUE(exit && print);
    ui.ClearRecords();
    QString statusAtQuestion;
    bool looked = false;
    ui.onMessage = [&](const platform::MessageRequest& r) {
        if (r.text.startsWith(u"Connecting Err"_s)) statusAtQuestion = mdi->Status().Text();
        if (looked || r.title != u"Comm Port Error"_s) return;
        looked = true;
        ASSERT_TRUE(mdi->TransferRunning());
        mdi->Status().SetText(u"mid transfer"_s, StatusColor::Black);
        const std::size_t asked = ui.Messages().size();
        print->trigger();
        exit->trigger();
        viewer->close();
        QCoreApplication::processEvents();
        EXPECT_EQ(ui.Messages().size(), asked);
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
    ASSERT_EQ(ui.Messages().size(), 2u);
    EXPECT_TRUE(BoxIs(ui.Messages()[0], u"AvailableRS232 port was not detected !"_s,
                      u"Comm Port Error"_s, ui.Messages()[0].buttons, platform::MsgIcon::Critical));
    EXPECT_TRUE(ui.Messages()[1].text.startsWith(u"Connecting Err !  "_s));
    EXPECT_EQ(statusAtQuestion, notice);
    EXPECT_EQ(mdi->Status().Text(), notice);
    EXPECT_EQ(mdi->Status().Color(), StatusColor::Black);
    EXPECT_TRUE(Captions().isEmpty());
    EXPECT_FALSE(mdi->TransferRunning());
    ASSERT_EQ(Inside().ReadMeWindow(), viewer);
    EXPECT_TRUE(exit->isEnabled() && print->isEnabled());
    ui.AnswerMessage(kNo);
    print->trigger();
    EXPECT_EQ(ui.Messages().back().title, u"Print"_s);
    exit->trigger();
    EXPECT_TRUE(testing::WaitUntil([&] { return Inside().ReadMeWindow() == nullptr; }));
    EXPECT_EQ(mdi->Status().Text(), QString::fromLatin1(kMenuHint));
    // With a document open, Exit checks the document again; so does closing the frame, in
    // black.
    ASSERT_TRUE(OpenThroughMenu(CopySample("vk-a1-16ch.cfg")));
    for (bool frame : {false, true}) {
        Act("mnuReadMe");
        ASSERT_NE(Inside().ReadMeWindow(), nullptr);
        mdi->Status().SetText(u"Not detected"_s, StatusColor::Red);
        if (frame)
            Inside().ReadMeWindow()->close();
        else
            Inside().ReadMeWindow()->findChild<QAction*>(u"mnuExit"_s)->trigger();
        EXPECT_TRUE(testing::WaitUntil([&] { return Inside().ReadMeWindow() == nullptr; }));
        EXPECT_EQ(mdi->Status().Text(), u"ALL Channels In Range"_s);
        EXPECT_EQ(mdi->Status().Color(), StatusColor::Black);
    }
    EXPECT_EQ(ui.Unexpected(), 0);
}

TEST(CommandLine, FilesTheVirtualRadioAndRefusals) {
    for (const auto& c : test::LoadCases("desktop/command_lines.txt")) {
        SCOPED_TRACE(c.where);
        ASSERT_EQ(c.f.size(), 5u);
        const CommandLine line = ParseCommandLine(QString::fromStdString(c[0]).split(u' '));
        EXPECT_EQ(line.files.join(u' ').toStdString(), c[1]);
        const auto& radio = line.virtualRadio;
        EXPECT_EQ(radio ? (radio->model + u',' + radio->memory).toStdString() : "", c[2]);
        EXPECT_TRUE(!radio || radio->systemPortsToo);
        EXPECT_EQ(line.error.isEmpty(), c[3] == "0");
        EXPECT_EQ(line.help, c[4] == "1");
    }
}

// Started, the radio goes in front of the port list: of the one set (empty included), or of
// the system's ports. A missing program is reported.
TEST(VirtualRadio, GoesInFrontOfThePortListOrIsReportedMissing) {
    EXPECT_EQ(PortListWithRadio(u"/dev/pts/7"_s, std::nullopt, {"/dev/ttyS0", "/dev/ttyUSB0"}),
              QByteArray("/dev/pts/7:/dev/ttyS0:/dev/ttyUSB0"));
    qunsetenv(platform::kPortsVariable);
    std::string system;
    for (const std::string& device : platform::NumberedPortDevices()) system += ":" + device;
    for (const char* set : {"/dev/ttyS9:/dev/ttyACM0", "", static_cast<const char*>(nullptr)}) {
        SCOPED_TRACE(set ? set : "unset");
        if (set) qputenv(platform::kPortsVariable, set);
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
                  radio.Device().toStdString() + (!set   ? system
                                                  : *set ? ":" + std::string(set)
                                                         : ""));
    }
    VirtualRadioProcess process;
    EXPECT_FALSE(process.Start(u"/nonexistent/talveron-vradio"_s, {}, 2000));
    EXPECT_FALSE(process.Error().isEmpty());
    EXPECT_FALSE(process.Running());
}

#ifdef __linux__
// The radio of --virtual-radio does not outlive the program: SIGTERM and SIGINT end the
// program in order (exit status 128 + the signal), and even one killed outright takes it along.
TEST(VirtualRadio, EndsWithTheProgramHoweverThatEnds) {
    for (const int signal : {SIGTERM, SIGINT, SIGKILL}) {
        QProcess program;
        program.start(QCoreApplication::applicationDirPath() + u"/talveron"_s,
                      {u"--virtual-radio"_s});
        ASSERT_TRUE(program.waitForStarted());
        QByteArray radio;
        ASSERT_TRUE(testing::WaitUntil(
            [&] {
                radio = ReadFile(u"/proc/%1/task/%1/children"_s.arg(program.processId())).trimmed();
                return ReadFile(u"/proc/"_s + radio + u"/comm"_s).startsWith("talveron-vradio");
            },
            30000));
        ::kill(static_cast<pid_t>(program.processId()), signal);
        program.waitForFinished();
        if (signal != SIGKILL) {
            EXPECT_EQ(program.exitStatus(), QProcess::NormalExit) << signal;
            EXPECT_EQ(program.exitCode(), 128 + signal) << signal;
        }
        const bool ended = testing::WaitUntil([&] {
            const QByteArray stat = ReadFile(u"/proc/"_s + radio + u"/stat"_s);
            return stat.isEmpty() || stat.contains(") Z ");
        });
        EXPECT_TRUE(ended) << signal;
        if (!ended) ::kill(radio.toInt(), SIGKILL);  // not left behind by a failed run either
    }
}

#endif

}  // namespace
}  // namespace talveron::app
