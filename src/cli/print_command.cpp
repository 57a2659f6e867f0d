// talveron-cli print: the channel plan of a configuration as a PDF file, the same pages the
// desktop program prints, made without a display.
#include <QByteArray>
#include <QGuiApplication>
#include <iostream>
#include <memory>

#include "cli/args.h"
#include "cli/commands.h"
#include "cli/file_commands.h"
#include "platform/courier_font.h"
#include "platform/paged_print.h"

namespace talveron::cli {

namespace {

constexpr const char* kPrintUsage =
    "usage: talveron-cli print FILE.cfg -o PLAN.pdf [--customer TEXT] [--serial TEXT]\n"
    "  Writes the channel plan as the desktop program prints it: the page head, model,\n"
    "  band, customer and serial number with the date and time, the system options and\n"
    "  one row per channel in use with its options. Paper: Letter where the locale\n"
    "  measures in inches, A4 elsewhere. Needs no display.\n";

// Fonts and painting need a GUI application; the offscreen platform needs no display.
std::unique_ptr<QGuiApplication> OffscreenApplication() {
    if (QCoreApplication::instance()) return nullptr;
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // The platform's notes about its run-time folder and the like are not the tool's output.
    qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& text) {
        if (type == QtCriticalMsg || type == QtFatalMsg) std::cerr << text.toStdString() << "\n";
    });
    static int argc = 1;
    static char name[] = "talveron-cli";
    static char* argv[] = {name, nullptr};
    return std::make_unique<QGuiApplication>(argc, argv);
}

}  // namespace

int RunPrint(const std::vector<std::string>& argv, std::ostream& out, std::ostream& err) {
    if (WantsHelp(argv)) return out << kPrintUsage, kExitOk;
    Args args(argv, {"-o", "--output", "--customer", "--serial"}, {});
    if (!args.ok()) return Usage(err, kPrintUsage, args.error());
    auto target = args.value("-o");
    if (!target) target = args.value("--output");
    if (args.positional().size() != 1 || !target)
        return Usage(err, kPrintUsage, "print takes FILE.cfg and -o PLAN.pdf");
    auto doc = LoadDocument(args.positional()[0], err);
    if (!doc) return kExitUsage;
    doc->customer = args.value("--customer").value_or("");
    doc->serial = args.value("--serial").value_or("");

    const auto app = OffscreenApplication();
    const auto [date, time] = platform::PrintDateTime();
    const ChannelPlan plan = PlanOf(*doc, date, time);
    const QFont font = platform::CourierTwipsFont(11);
    const QByteArray pdf = platform::PdfPages(
        platform::LocalePaper(), font, font,
        [&](const PrintMetrics& m) { return LayoutChannelPlan(plan, m); },
        QString::fromStdString(plan.fileName));
    if (pdf.isEmpty()) {
        err << "talveron-cli: the plan could not be drawn\n";
        return kExitFault;
    }
    return WriteOutput(*target, std::string_view(pdf.constData(), pdf.size()), err);
}

}  // namespace talveron::cli
