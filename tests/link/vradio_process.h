// Test helpers around the programs: talveron-vradio started on its own pseudo-terminal and
// stopped with SIGTERM (so its --save file is written), and talveron-cli run to completion.
#pragma once

#include <QProcess>
#include <QStringList>
#include <QTemporaryDir>
#include <memory>
#include <string>

#include "image/eeprom_image.h"

namespace talveron::link::test {

class VradioProcess {
  public:
    // Starts talveron-vradio with these options (--baud 0 is added unless a --baud is given).
    explicit VradioProcess(QStringList options);
    ~VradioProcess();

    bool Started() const { return !path_.empty(); }
    // The pty slave the radio serves on.
    const std::string& Path() const { return path_; }
    // Stops the radio; returns its exit status.
    int Stop();
    QString ErrorText() const { return errors_; }

  private:
    std::unique_ptr<QProcess> process_;
    std::string path_;
    QString errors_;
};

struct CliResult {
    int status = -1;
    std::string out;
    std::string err;
};

// Runs talveron-cli with the arguments; at most two minutes.
CliResult RunCliProgram(const QStringList& args);

// Reads a .cfg file the way the program opens it; an empty image when that fails.
EepromImage ReadImage(const QString& path);

// Writes image (model byte last) as a .cfg file.
void WriteImage(const QString& path, const EepromImage& image);

}  // namespace talveron::link::test
