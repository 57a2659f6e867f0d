// talveron as a user starts it, on an X display (Xvfb) with a window manager (openbox): the
// titles the window manager shows are the captions and nothing more.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <csignal>

#include "qt_test_util.h"

namespace talveron::app {
namespace {

using namespace Qt::Literals::StringLiterals;

// A short command's output, or an empty text when it fails.
QString Output(const QString& program, const QStringList& args, const QProcessEnvironment& env) {
    QProcess process;
    process.setProcessEnvironment(env);
    process.start(program, args);
    const bool ok = process.waitForFinished() && process.exitCode() == 0;
    return ok ? QString::fromUtf8(process.readAllStandardOutput()) : QString();
}

// The titles (_NET_WM_NAME) of the windows the window manager lists, sorted.
QStringList Titles(const QProcessEnvironment& env) {
    QStringList titles;
    const QString list = Output(u"xprop"_s, {u"-root"_s, u"_NET_CLIENT_LIST"_s}, env);
    for (const QString& id : list.section(u'#', 1).split(u',', Qt::SkipEmptyParts))
        titles << Output(u"xprop"_s, {u"-id"_s, id.trimmed(), u"_NET_WM_NAME"_s}, env)
                      .section(u'"', 1, -2);
    titles.sort();
    return titles;
}

// A program the test starts; it ends with the test, by SIGTERM first, which lets Xvfb remove
// the socket a later display would stumble over.
struct Started : QProcess {
    ~Started() override {
        terminate();
        if (!waitForFinished()) kill();
        waitForFinished();
    }
};

// With a document of a long path open the main window reads its caption alone; the box asking
// to detect again has no title of its own and reads blank, not the program's name. SIGTERM
// ends the program in order, even while that box waits for an answer.
TEST(DesktopProcess, TheWindowManagerShowsTheCaptionsAlone) {
    QTemporaryDir home;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    Started xvfb, wm, program;
    // -displayfd: the free display it took; -noreset: no starting over (refusing connections
    // meanwhile) each time its last client goes.
    xvfb.start(u"Xvfb"_s, {u"-displayfd"_s, u"1"_s, u"-screen"_s, u"0"_s, u"1280x800x24"_s,
                           u"-nolisten"_s, u"tcp"_s, u"-noreset"_s});
    ASSERT_TRUE(xvfb.waitForStarted() && xvfb.waitForReadyRead()) << "Xvfb is missing";
    env.insert(u"DISPLAY"_s, u":"_s + QString::fromLatin1(xvfb.readLine()).trimmed());
    env.insert(u"QT_QPA_PLATFORM"_s, u"xcb"_s);
    env.insert(u"XDG_CONFIG_HOME"_s, home.filePath(u"config"_s));  // not the user's settings
    wm.setProcessEnvironment(env);
    wm.start(u"openbox"_s, {});
    ASSERT_TRUE(testing::WaitUntil([&] {
        return Output(u"xprop"_s, {u"-root"_s, u"_NET_SUPPORTING_WM_CHECK"_s}, env)
            .contains(u"window id"_s);
    })) << "openbox did not take the display";
    auto titlesBecome = [&](const QStringList& titles) {
        return testing::WaitUntil([&] { return Titles(env) == titles; });
    };
    auto start = [&](const QStringList& args) {
        program.setProcessEnvironment(env);
        program.start(QCoreApplication::applicationDirPath() + u"/talveron"_s, args);
    };
    auto terminate = [&] {
        program.terminate();
        return program.waitForFinished() ? program.exitCode() : -1;
    };

    QString folder = home.filePath(u"Site A"_s);
    while (folder.size() < 300) folder += u"/a.long.folder.name"_s;
    ASSERT_TRUE(QDir().mkpath(folder));
    ASSERT_TRUE(
        QFile::copy(QStringLiteral(TALVERON_SAMPLES "/vk-a1-16ch.cfg"), folder + u"/Taxi.cfg"_s));
    start({u"--virtual-radio"_s, folder + u"/Taxi.cfg"_s});
    EXPECT_TRUE(titlesBecome({u"MDI PC programmer"_s})) << Titles(env).join(u'|').toStdString();
    EXPECT_EQ(terminate(), 128 + SIGTERM);

    env.insert(u"TALVERON_PORTS"_s, home.filePath(u"no-such-tty"_s));
    start({});
    EXPECT_TRUE(titlesBecome({u" "_s, u"MDI PC programmer"_s}))
        << Titles(env).join(u'|').toStdString();
    EXPECT_EQ(terminate(), 128 + SIGTERM);
}

}  // namespace
}  // namespace talveron::app
