// The desktop program's command line and run: talveron [--virtual-radio[=MODEL,MEMORY]]
// [FILE.cfg ...]. Files named are opened after start-up; the virtual radio, when asked for,
// is started before the port detection so it is found as port 1.
#pragma once

#include <QIcon>
#include <QString>
#include <QStringList>
#include <optional>

#include "app/virtual_radio.h"

namespace talveron::app {

struct CommandLine {
    std::optional<VirtualRadioOptions> virtualRadio;
    QStringList files;
    QString screenshot;           // hidden: grab the screen into this file after start-up, then end
    bool uploadAtStart = false;   // hidden: run Radio > Upload once after start-up
    bool quitAfterStart = false;  // hidden: end once start-up is done (to time it)
    bool help = false;
    QString error;
};

CommandLine ParseCommandLine(const QStringList& arguments);

QString UsageText();

// The program's window icon: a white "T" on a blue square, drawn at the usual sizes.
QIcon ProgramIcon();

// The whole program; returns the exit code.
int RunDesktop(int argc, char** argv);

}  // namespace talveron::app
