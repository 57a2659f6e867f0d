// talveron as a user starts it, on an X display (Xvfb) with a window manager (openbox): the
// titles the window manager shows are the captions and nothing more.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <csignal>
#include <memory>

#include "qt_test_util.h"

namespace talveron::app {
namespace {

using namespace Qt::Literals::StringLiterals;

constexpr int kSafetyMs = 10000;

// A program started for the test.
std::unique_ptr<QProcess> Launch(const QString& program, const QStringList& args,
                                 const QProcessEnvironment& env) {
    auto process = std::make_unique<QProcess>();
    process->setProcessEnvironment(env);
    process->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process->start(program, args);
    return process;
}

// Ends a program that still runs: SIGTERM lets Xvfb remove its socket and lock file, which a
// later display would otherwise stumble over; SIGKILL if that is not enough.
void Finish(QProcess* process) {
    if (!process || process->state() == QProcess::NotRunning) return;
    process->terminate();
    if (!process->waitForFinished(kSafetyMs)) {
        process->kill();
        process->waitForFinished(kSafetyMs);
    }
}

// The output of a short command, or an empty text when it fails.
QString Output(const QString& program, const QStringList& args, const QProcessEnvironment& env) {
    QProcess process;
    process.setProcessEnvironment(env);
    process.start(program, args);
    if (!process.waitForFinished(kSafetyMs) || process.exitCode() != 0) return {};
    return QString::fromUtf8(process.readAllStandardOutput());
}

class DesktopProcess : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(home_.isValid());
        env_ = QProcessEnvironment::systemEnvironment();
        // Xvfb -displayfd writes the number of the free display it took; -noreset keeps it from
        // starting over (and refusing connections meanwhile) each time its last client goes.
        xvfb_ = Launch(u"Xvfb"_s,
                       {u"-displayfd"_s, u"1"_s, u"-screen"_s, u"0"_s, u"1280x800x24"_s,
                        u"-nolisten"_s, u"tcp"_s, u"-noreset"_s},
                       env_);
        ASSERT_TRUE(xvfb_->waitForStarted(kSafetyMs)) << "Xvfb (package xvfb) is missing";
        ASSERT_TRUE(testing::WaitUntil([&] { return xvfb_->canReadLine(); }, kSafetyMs));
        env_.insert(u"DISPLAY"_s, u":"_s + QString::fromLatin1(xvfb_->readLine()).trimmed());
        env_.insert(u"QT_QPA_PLATFORM"_s, u"xcb"_s);
        // The program keeps its settings here, never in the real user's folder.
        env_.insert(u"XDG_CONFIG_HOME"_s, home_.filePath(u"config"_s));
        wm_ = Launch(u"openbox"_s, {}, env_);
        ASSERT_TRUE(wm_->waitForStarted(kSafetyMs)) << "openbox is missing";
        ASSERT_TRUE(testing::WaitUntil(
            [&] {
                return Output(u"xprop"_s, {u"-root"_s, u"_NET_SUPPORTING_WM_CHECK"_s}, env_)
                    .contains(u"window id"_s);
            },
            kSafetyMs))
            << "openbox did not take the display";
    }

    void TearDown() override {
        Finish(program_.get());
        Finish(wm_.get());
        Finish(xvfb_.get());
    }

    void StartProgram(const QStringList& args) {
        program_ = Launch(QCoreApplication::applicationDirPath() + u"/talveron"_s, args, env_);
        ASSERT_TRUE(program_->waitForStarted(kSafetyMs));
    }

    // The titles (_NET_WM_NAME) of the windows the window manager lists, sorted.
    QStringList Titles() const {
        const QString list = Output(u"xprop"_s, {u"-root"_s, u"_NET_CLIENT_LIST"_s}, env_);
        QStringList titles;
        for (const QString& id : list.section(u'#', 1).split(u',', Qt::SkipEmptyParts)) {
            const QString name =
                Output(u"xprop"_s, {u"-id"_s, id.trimmed(), u"_NET_WM_NAME"_s}, env_);
            const auto first = name.indexOf(u'"'), last = name.lastIndexOf(u'"');
            if (first >= 0 && last > first) titles << name.mid(first + 1, last - first - 1);
        }
        titles.sort();
        return titles;
    }

    // Waits for the titles to be these; true when they were within the safety limit.
    bool TitlesBecome(const QStringList& titles) {
        return testing::WaitUntil([&] { return Titles() == titles; }, kSafetyMs);
    }

    // SIGTERM; the exit code once the program has ended.
    int Terminate() {
        program_->terminate();
        if (!program_->waitForFinished(kSafetyMs)) return -1;
        return program_->exitStatus() == QProcess::NormalExit ? program_->exitCode() : -1;
    }

    QTemporaryDir home_;
    QProcessEnvironment env_;
    std::unique_ptr<QProcess> xvfb_, wm_, program_;
};

// The main window, with a document of a long path open, reads its caption alone; the box asking
// to detect again has no title of its own and reads blank, not the program's name. SIGTERM
// ends the program in order even while that box waits for an answer.
TEST_F(DesktopProcess, TheWindowManagerShowsTheCaptionsAlone) {
    QString folder = home_.filePath(u"Site A"_s);
    while (folder.size() < 300) folder += u"/a.long.folder.name"_s;
    ASSERT_TRUE(QDir().mkpath(folder));
    const QString file = folder + u"/Taxi.cfg"_s;
    ASSERT_TRUE(QFile::copy(QStringLiteral(TALVERON_SAMPLES "/vk-a1-16ch.cfg"), file));
    StartProgram({u"--virtual-radio"_s, file});
    EXPECT_TRUE(TitlesBecome({u"MDI PC programmer"_s})) << Titles().join(u'|').toStdString();
    EXPECT_EQ(Terminate(), 128 + SIGTERM);

    env_.insert(u"TALVERON_PORTS"_s, home_.filePath(u"no-such-tty"_s));
    StartProgram({});
    EXPECT_TRUE(TitlesBecome({u" "_s, u"MDI PC programmer"_s}))
        << Titles().join(u'|').toStdString();
    EXPECT_EQ(Terminate(), 128 + SIGTERM);
}

}  // namespace
}  // namespace talveron::app
