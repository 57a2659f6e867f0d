#include "app/app_main.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QGuiApplication>
#include <QIcon>
#include <QPainter>
#include <QPixmap>
#include <QScreen>
#include <QTimer>
#include <cstdio>

#include "app/frm_mdi.h"
#include "link/link_clock.h"
#include "platform/courier_font.h"
#include "platform/program_settings.h"
#include "platform/serial_port_qt.h"
#include "platform/termination.h"
#include "platform/ui_services.h"

namespace talveron::app {

CommandLine ParseCommandLine(const QStringList& arguments) {
    CommandLine line;
    bool optionsEnded = false;
    for (const QString& arg : arguments) {
        if (!optionsEnded && arg == QLatin1String("--")) {
            optionsEnded = true;
        } else if (!optionsEnded && (arg == QLatin1String("--virtual-radio") ||
                                     arg.startsWith(QLatin1String("--virtual-radio=")))) {
            const QString value = arg.section(QLatin1Char('='), 1);
            line.virtualRadio = ParseVirtualRadio(value);
            if (!line.virtualRadio)
                line.error = QStringLiteral(
                                 "--virtual-radio takes MODEL,MEMORY (0 or 1, "
                                 "small or large), not \"%1\"")
                                 .arg(value);
        } else if (!optionsEnded && arg.startsWith(QLatin1String("--screenshot="))) {
            line.screenshot = arg.section(QLatin1Char('='), 1);
        } else if (!optionsEnded && arg == QLatin1String("--upload-at-start")) {
            line.uploadAtStart = true;
        } else if (!optionsEnded && arg == QLatin1String("--quit-after-start")) {
            line.quitAfterStart = true;
        } else if (!optionsEnded &&
                   (arg == QLatin1String("--help") || arg == QLatin1String("-h"))) {
            line.help = true;
        } else if (!optionsEnded && arg.startsWith(QLatin1String("-")) && arg.size() > 1) {
            line.error = QStringLiteral("unknown option %1").arg(arg);
        } else {
            line.files.append(arg);
        }
        if (!line.error.isEmpty()) break;
    }
    return line;
}

QString UsageText() {
    return QStringLiteral(
        "usage: talveron [--virtual-radio[=MODEL,MEMORY]] [FILE.cfg ...]\n"
        "  FILE.cfg ...             open these configuration files at start\n"
        "  --virtual-radio[=M,MEM]  start talveron-vradio (model 0 or 1, memory small or\n"
        "                           large; default 0,small) and use it as port 1\n");
}

QIcon ProgramIcon() {
    QIcon icon;
    for (int size : {16, 24, 32, 48, 64}) {
        QPixmap pixmap(size, size);
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(Qt::NoPen);
        painter.setBrush(QColor(0x1f, 0x4e, 0x8c));
        painter.drawRoundedRect(QRectF(0, 0, size, size), size * 0.18, size * 0.18);
        QFont font = platform::CourierFace();
        font.setBold(true);
        font.setPixelSize(size * 3 / 4);
        painter.setFont(font);
        painter.setPen(Qt::white);
        painter.drawText(QRect(0, 0, size, size), Qt::AlignCenter, QStringLiteral("T"));
        painter.end();
        icon.addPixmap(pixmap);
    }
    return icon;
}

int RunDesktop(int argc, char** argv) {
    QElapsedTimer started;
    started.start();
    QApplication app(argc, argv);
    // No display name: the window system would append it to every window's caption.
    QApplication::setApplicationName(QStringLiteral("talveron"));
    QApplication::setWindowIcon(ProgramIcon());
    platform::TerminationSignals termination;
    QStringList arguments = QApplication::arguments();
    arguments.removeFirst();
    const CommandLine line = ParseCommandLine(arguments);
    if (line.help) {
        std::fputs(UsageText().toLocal8Bit().constData(), stdout);
        return 0;
    }
    if (!line.error.isEmpty()) {
        std::fprintf(stderr, "talveron: %s\n%s", line.error.toLocal8Bit().constData(),
                     UsageText().toLocal8Bit().constData());
        return 2;
    }
    const QString programDir = QApplication::applicationDirPath();
    // Files named relative to where the program was started, before the folder changes.
    QStringList files;
    for (const QString& file : line.files) files.append(QFileInfo(file).absoluteFilePath());

    VirtualRadioProcess radio;
    if (line.virtualRadio) {
        if (!radio.Start(VirtualRadioProgram(programDir), *line.virtualRadio)) {
            std::fprintf(stderr, "talveron: %s\n", radio.Error().toLocal8Bit().constData());
            return 1;
        }
    }

    platform::QtUiServices ui;
    platform::QtSerialPort port;
    link::SteadyClock clock;
    MainOptions options;
    options.programDir = programDir;
    options.settingsFile = platform::ProgramSettings::UserFile();
    frmMDI window(ui, port, clock, options);
    window.Startup();
    for (const QString& file : files) window.LoadImageFile(file);
    if (line.uploadAtStart) window.RadioCommand(0);
    if (line.quitAfterStart) {
        std::fprintf(stderr, "talveron: started in %lld ms\n",
                     static_cast<long long>(started.elapsed()));
        // Ends without the save questions: nobody is there to answer them.
        port.Close();
        radio.Stop();
        return 0;
    }

    if (!line.screenshot.isEmpty()) {
        QTimer::singleShot(1500, &window, [&] {
            if (QScreen* screen = QGuiApplication::primaryScreen())
                screen->grabWindow(0).save(line.screenshot);
            QCoreApplication::exit(0);
        });
    }
    // A signal during start-up has ended the loops that ran then; the main loop would forget it.
    const int code = termination.Received() ? 128 + termination.Received() : app.exec();
    port.Close();
    radio.Stop();
    return code;
}

}  // namespace talveron::app
