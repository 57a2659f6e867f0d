#include "vradio_process.h"

#include <gtest/gtest.h>

#include "image/cfg_file.h"

namespace talveron::link::test {

VradioProcess::VradioProcess(QStringList options) : process_(std::make_unique<QProcess>()) {
    if (!options.contains("--baud"))
        options << "--baud"
                << "0";
    process_->start(VRADIO_PATH, options);
    if (!process_->waitForStarted(10000)) {
        errors_ = process_->errorString();
        return;
    }
    // The first line on stdout is the pty's path.
    while (!process_->canReadLine()) {
        if (!process_->waitForReadyRead(10000)) {
            errors_ = QString::fromLocal8Bit(process_->readAllStandardError());
            return;
        }
    }
    path_ = QString::fromLocal8Bit(process_->readLine()).trimmed().toStdString();
}

VradioProcess::~VradioProcess() {
    Stop();
}

int VradioProcess::Stop() {
    if (!process_ || process_->state() == QProcess::NotRunning) {
        return process_ ? process_->exitCode() : -1;
    }
    process_->terminate();
    if (!process_->waitForFinished(10000)) {
        process_->kill();
        process_->waitForFinished(5000);
    }
    errors_ += QString::fromLocal8Bit(process_->readAllStandardError());
    return process_->exitCode();
}

CliResult RunCliProgram(const QStringList& args) {
    QProcess cli;
    cli.start(CLI_PATH, args);
    CliResult result;
    if (!cli.waitForStarted(10000) || !cli.waitForFinished(120000)) {
        cli.kill();
        cli.waitForFinished(5000);
        result.err = "talveron-cli did not finish";
        return result;
    }
    result.status = cli.exitStatus() == QProcess::NormalExit ? cli.exitCode() : -1;
    result.out = cli.readAllStandardOutput().toStdString();
    result.err = cli.readAllStandardError().toStdString();
    return result;
}

EepromImage ReadImage(const QString& path) {
    const CfgReadResult read = ReadCfgFile(path.toStdString());
    return read.ok() ? read.image : EepromImage{};
}

void WriteImage(const QString& path, const EepromImage& image) {
    const CfgWriteResult written = WriteCfgFile(path.toStdString(), image);
    ASSERT_TRUE(written.ok()) << written.message;
}

}  // namespace talveron::link::test
