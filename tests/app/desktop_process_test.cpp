// talveron as a user starts it, on an X display (Xvfb) with a window manager (openbox): the
// titles the window manager shows are the captions and nothing more, and SIGTERM ends the
// program in order, even from a modal box, and its virtual radio with it.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <csignal>
#include <cstdio>
#include <fstream>
#include <memory>
#include <optional>
#include <string>

#include "qt_test_util.h"

namespace talveron::app {
namespace {

using namespace Qt::Literals::StringLiterals;

constexpr int kSafetyMs = 10000;

// A program started for the test; killed at the end if it still runs.
std::unique_ptr<QProcess> Launch(const QString& program, const QStringList& args,
                                 const QProcessEnvironment& env) {
    auto process = std::make_unique<QProcess>();
    process->setProcessEnvironment(env);
    process->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process->start(program, args);
    return process;
}

void Finish(QProcess* process) {
    if (process && process->state() != QProcess::NotRunning) {
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

struct ProcStat {
    std::string name;
    char state = 0;  // 'Z' for a process that has ended but was not reaped
    long ppid = 0;
};

std::optional<ProcStat> ReadStat(long pid) {
    std::ifstream in("/proc/" + std::to_string(pid) + "/stat");
    const std::string stat((std::istreambuf_iterator<char>(in)), {});
    const auto open = stat.find('('), close = stat.rfind(')');
    ProcStat result;
    if (open == std::string::npos || close == std::string::npos ||
        std::sscanf(stat.c_str() + close + 1, " %c %ld", &result.state, &result.ppid) != 2)
        return std::nullopt;
    result.name = stat.substr(open + 1, close - open - 1);
    return result;
}

bool Alive(long pid) {
    const auto stat = ReadStat(pid);
    return stat && stat->state != 'Z';
}

// The living processes named name whose parent is parent.
std::vector<long> LiveChildren(qint64 parent, const std::string& name) {
    std::vector<long> found;
    for (const QString& entry : QDir(u"/proc"_s).entryList(QDir::Dirs)) {
        bool number = false;
        const long pid = entry.toLong(&number);
        const auto stat = number ? ReadStat(pid) : std::nullopt;
        if (stat && stat->name == name && stat->ppid == parent && stat->state != 'Z')
            found.push_back(pid);
    }
    return found;
}

class DesktopProcess : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(home_.isValid());
        env_ = QProcessEnvironment::systemEnvironment();
        // Xvfb -displayfd writes the number of the free display it took.
        xvfb_ = Launch(u"Xvfb"_s,
                       {u"-displayfd"_s, u"1"_s, u"-screen"_s, u"0"_s, u"1280x800x24"_s,
                        u"-nolisten"_s, u"tcp"_s},
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
        program_ = Launch(QStringLiteral(TALVERON_PROGRAM), args, env_);
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

// The box asking to detect again has no title of its own: the window manager shows a blank,
// not the program's name. SIGTERM while it waits for an answer ends the program.
TEST_F(DesktopProcess, ABoxWithoutTitleShowsNoNameAndSigtermEndsTheProgramFromIt) {
    env_.insert(u"TALVERON_PORTS"_s, home_.filePath(u"no-such-tty"_s));
    StartProgram({});
    EXPECT_TRUE(TitlesBecome({u" "_s, u"MDI PC programmer"_s}))
        << Titles().join(u'|').toStdString();
    EXPECT_EQ(Terminate(), 128 + SIGTERM);
}

// A document with a long path open, the main window reads its caption alone; SIGTERM ends the
// program and the radio it started.
TEST_F(DesktopProcess, TheMainWindowShowsItsCaptionAndSigtermEndsTheRadioToo) {
    QString folder = home_.filePath(u"Site A"_s);
    while (folder.size() < 300) folder += u"/a.long.folder.name"_s;
    ASSERT_TRUE(QDir().mkpath(folder));
    const QString file = folder + u"/Taxi.cfg"_s;
    ASSERT_TRUE(QFile::copy(QStringLiteral(TALVERON_SAMPLES "/vk-a1-16ch.cfg"), file));
    StartProgram({u"--virtual-radio"_s, file});
    EXPECT_TRUE(TitlesBecome({u"MDI PC programmer"_s})) << Titles().join(u'|').toStdString();
    const std::vector<long> radios = LiveChildren(program_->processId(), "talveron-vradio");
    ASSERT_EQ(radios.size(), 1u);
    EXPECT_EQ(Terminate(), 128 + SIGTERM);
    EXPECT_TRUE(testing::WaitUntil([&] { return !Alive(radios[0]); }, kSafetyMs));
}

}  // namespace
}  // namespace talveron::app
