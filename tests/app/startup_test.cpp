// Start-up: the port question when no port opens, a quiet start when one does, the splash,
// the state the document reset leaves, and the command line. The program also runs as a
// process: the titles a window manager (openbox on Xvfb) shows, and its end by signal.
#include <signal.h>

#include <QAction>
#include <QFile>
#include <QLabel>
#include <QProcess>
#include <QProgressBar>
#include <QScreen>
#include <QTemporaryDir>
#include <QTimer>

#include "app/app_main.h"
#include "app/frm_hi.h"
#include "app_fixture.h"
#include "qt_test_util.h"

namespace talveron::app {
namespace {

using namespace Qt::Literals::StringLiterals;
using platform::kCancel;
using platform::kNo;
using platform::kYes;

TEST_F(AppTest, WithoutPortsTheDetectAgainQuestionRepeatsUntilNo) {
    NoPorts();
    ui.AnswerMessage(kYes);
    ui.AnswerMessage(kNo);
    StartMain();
    ASSERT_EQ(ui.Messages().size(), 2u);
    for (const auto& m : ui.Messages())
        EXPECT_TRUE(BoxIs(m, u" No RS232 Port is available\nDetect Again ?"_s, u""_s,
                          kYes | kNo | kCancel, platform::MsgIcon::Exclamation));
    EXPECT_EQ(Inside().LinkStateRef().portIndex, 0);
    // Upload says there is no port, then asks about the connection; No ends it, and the
    // closing steps leave the line to the reset: the menu hint.
    ui.ClearRecords();
    ui.AnswerMessage(platform::kOk);
    ui.AnswerMessage(kNo);
    Upload();
    ASSERT_EQ(ui.Messages().size(), 2u);
    EXPECT_TRUE(BoxIs(ui.Messages()[0], u"AvailableRS232 port was not detected !"_s,
                      u"Comm Port Error"_s, ui.Messages()[0].buttons, platform::MsgIcon::Critical));
    EXPECT_TRUE(ui.Messages()[1].text.startsWith(u"Connecting Err !  "_s));
    EXPECT_TRUE(Captions().isEmpty());
    EXPECT_EQ(mdi->Status().Text(), QString::fromLatin1(kMenuHint));
}

TEST_F(AppTest, CancelAlsoEndsTheDetection) {
    NoPorts();
    ui.AnswerMessage(kCancel);
    StartMain();
    EXPECT_EQ(ui.Messages().size(), 1u);
    EXPECT_EQ(Inside().LinkStateRef().portIndex, 0);
}

// With a radio on port 1 nothing is asked; the splash shows while the ports are detected, then
// goes, and the reset's state follows; the window is centred on the screen.
TEST_F(AppTest, WithARadioOnPortOneTheSplashShowsAndNothingIsAsked) {
    StartRadio();
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
    EXPECT_EQ(Inside().LinkStateRef().portIndex, 1);
    EXPECT_TRUE(mdi->isVisible());
    EXPECT_EQ(mdi->windowTitle(), u"MDI PC programmer"_s);
    EXPECT_EQ(mdi->Status().Text(), QString::fromLatin1(kMenuHint));
    EXPECT_EQ(mdi->Status().Color(), StatusColor::Black);
    EXPECT_EQ(mdi->Status().Label()->font().pointSize(), 12);
    EXPECT_EQ(mdi->Status().StatusText(), QString::fromLatin1(kMenuHint));
    EXPECT_TRUE(mdi->Status().TimerActive());
    EXPECT_TRUE(ui.ClipboardText().isEmpty());
    EXPECT_TRUE(mdi->MainAction(u"mnuRadioItem0"_s)->isEnabled());
    EXPECT_EQ(MenuBarNames(), (QStringList{"mnuFile", "mnuRadio", "mnuWindow", "munHelp"}));
    EXPECT_FALSE(Inside().ProgressBar1()->isVisible());
    EXPECT_FALSE(ui.Busy());
    const QRect screen = mdi->screen()->geometry();
    EXPECT_TRUE(mdi->width() > 0 && mdi->width() <= screen.width());
    EXPECT_NEAR(mdi->x() + mdi->width() / 2, screen.center().x(), 2);
    EXPECT_NEAR(mdi->y() + mdi->height() / 2, screen.center().y(), 2);
}

TEST(CommandLine, FilesAndTheVirtualRadio) {
    CommandLine line = ParseCommandLine({"a.cfg", "--virtual-radio=1,large", "b.cfg"});
    EXPECT_TRUE(line.error.isEmpty());
    EXPECT_EQ(line.files, (QStringList{"a.cfg", "b.cfg"}));
    for (const auto& [arg, model, memory] : {std::tuple{"--virtual-radio=1,large", "1", "large"},
                                             {"--virtual-radio", "0", "small"},
                                             {"--virtual-radio=,large", "0", "large"}}) {
        line = ParseCommandLine({QString::fromLatin1(arg)});
        ASSERT_TRUE(line.virtualRadio.has_value()) << arg;
        EXPECT_EQ(line.virtualRadio->model, QString::fromLatin1(model)) << arg;
        EXPECT_EQ(line.virtualRadio->memory, QString::fromLatin1(memory)) << arg;
    }
    for (const char* bad : {"--virtual-radio=2", "--virtual-radio=0,huge",
                            "--virtual-radio=0,small,x", "--frobnicate"})
        EXPECT_FALSE(ParseCommandLine({QString::fromLatin1(bad)}).error.isEmpty()) << bad;
    EXPECT_EQ(ParseCommandLine({"--", "--odd-name.cfg"}).files, QStringList{"--odd-name.cfg"});
    EXPECT_TRUE(ParseCommandLine({"--help"}).help);
}

TEST(VirtualRadio, AMissingProgramIsReported) {
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
        const auto read = [](const QString& path) {
            QFile f(path);
            return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
        };
        QByteArray radio;
        ASSERT_TRUE(testing::WaitUntil(
            [&] {
                radio = read(u"/proc/%1/task/%1/children"_s.arg(program.processId())).trimmed();
                return read(u"/proc/"_s + radio + u"/comm"_s).startsWith("talveron-vradio");
            },
            30000));
        ::kill(static_cast<pid_t>(program.processId()), signal);
        program.waitForFinished();
        if (signal != SIGKILL) {
            EXPECT_EQ(program.exitStatus(), QProcess::NormalExit) << signal;
            EXPECT_EQ(program.exitCode(), 128 + signal) << signal;
        }
        const bool ended = testing::WaitUntil([&] {
            const QByteArray stat = read(u"/proc/"_s + radio + u"/stat"_s);
            return stat.isEmpty() || stat.contains(") Z ");
        });
        EXPECT_TRUE(ended) << signal;
        if (!ended) ::kill(radio.toInt(), SIGKILL);  // not left behind by a failed run either
    }
}

// A short command's output, or an empty text when it fails.
QString Output(const QString& program, const QStringList& args, const QProcessEnvironment& env) {
    QProcess process;
    process.setProcessEnvironment(env);
    process.start(program, args);
    const bool ok = process.waitForFinished() && process.exitCode() == 0;
    return ok ? QString::fromUtf8(process.readAllStandardOutput()) : QString();
}

// Under a window manager the main window reads its caption alone, and the box asking to detect
// again, which has no title of its own, reads blank, not the program's name. SIGTERM ends the
// program in order even while that box waits for an answer.
TEST(WindowManager, ShowsTheCaptionsAlone) {
    QTemporaryDir home;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    QProcess xvfb, wm, program;  // what still runs at the end is killed
    // -displayfd: the free display it took; -noreset: no starting over (refusing connections
    // meanwhile) each time its last client goes.
    xvfb.start(u"Xvfb"_s, {u"-displayfd"_s, u"1"_s, u"-screen"_s, u"0"_s, u"1280x800x24"_s,
                           u"-nolisten"_s, u"tcp"_s, u"-noreset"_s});
    ASSERT_TRUE(xvfb.waitForStarted() && xvfb.waitForReadyRead()) << "Xvfb is missing";
    env.insert(u"DISPLAY"_s, u":"_s + QString::fromLatin1(xvfb.readLine()).trimmed());
    env.insert(u"QT_QPA_PLATFORM"_s, u"xcb"_s);
    env.insert(u"XDG_CONFIG_HOME"_s, home.filePath(u"config"_s));  // not the user's settings
    env.insert(u"TALVERON_PORTS"_s, home.filePath(u"no-such-tty"_s));
    // Under AddressSanitizer: the X keyboard library (libxkbcommon-x11) hands strndup buffers
    // without a final NUL, which strict string checks take for an overflow.
    env.insert(u"ASAN_OPTIONS"_s, env.value(u"ASAN_OPTIONS"_s) + u":strict_string_checks=0"_s);
    wm.setProcessEnvironment(env);
    wm.start(u"openbox"_s, {});
    ASSERT_TRUE(testing::WaitUntil([&] {
        return Output(u"xprop"_s, {u"-root"_s, u"_NET_SUPPORTING_WM_CHECK"_s}, env)
            .contains(u"window id"_s);
    })) << "openbox did not take the display";
    program.setProcessEnvironment(env);
    program.start(QCoreApplication::applicationDirPath() + u"/talveron"_s, {});
    QStringList titles;  // _NET_WM_NAME of the windows the window manager lists
    EXPECT_TRUE(testing::WaitUntil([&] {
        titles.clear();
        const QString list = Output(u"xprop"_s, {u"-root"_s, u"_NET_CLIENT_LIST"_s}, env);
        for (const QString& id : list.section(u'#', 1).split(u',', Qt::SkipEmptyParts))
            titles << Output(u"xprop"_s, {u"-id"_s, id.trimmed(), u"_NET_WM_NAME"_s}, env)
                          .section(u'"', 1, -2);
        titles.sort();
        return titles == QStringList{u" "_s, u"MDI PC programmer"_s};
    })) << titles.join(u'|').toStdString();
    program.terminate();
    ASSERT_TRUE(program.waitForFinished());
    EXPECT_EQ(program.exitCode(), 128 + SIGTERM);
    xvfb.terminate();  // so that it removes its socket
    xvfb.waitForFinished();
}
#endif

}  // namespace
}  // namespace talveron::app
