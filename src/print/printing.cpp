#include "print/printing.h"

#include <QPageSetupDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QPrinterInfo>

#include "image/atomic_file.h"
#include "image/cfg_file.h"
#include "image/document.h"
#include "platform/courier_font.h"

namespace talveron::print {

PrintJob ChannelPlanJob(const Document& doc) {
    const auto [date, time] = platform::PrintDateTime();
    auto plan = std::make_shared<ChannelPlan>(PlanOf(doc, date, time));
    PrintJob job;
    job.name = QString::fromStdString(plan->fileName);
    job.font = platform::CourierTwipsFont(11);
    job.marginFont = job.font;
    job.layout = [plan](const PrintMetrics& m) { return LayoutChannelPlan(*plan, m); };
    return job;
}

PrintJob ReadMeJob(const QStringList& lines) {
    auto text = std::make_shared<std::vector<std::string>>();
    for (const QString& line : lines) text->push_back(line.toStdString());
    PrintJob job;
    job.name = QStringLiteral("ReadMe");
    job.font.setPixelSize(200);  // 10 points in twips
    job.marginFont = job.font;
    job.layout = [text](const PrintMetrics& m) { return LayoutReadMe(*text, m); };
    return job;
}

Printing::Printing(platform::UiServices& ui, QWidget* parent) : ui_(ui), parent_(parent) {}

Printing::~Printing() = default;

QPrinter& Printing::Printer() {
    if (printerProvider)
        if (QPrinter* given = printerProvider()) return *given;
    // At the screen's resolution the pages would be laid out on a coarse grid.
    if (!printer_) printer_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
    return *printer_;
}

int Printing::Print(const PrintJob& job) {
    const bool printerThere =
        hasPrinter ? hasPrinter() : !QPrinterInfo::availablePrinters().isEmpty();
    if (!printerThere) return SaveAsPdf(job);
    if (onPrinting) onPrinting(true);
    QPrinter& printer = Printer();
    printer.setDocName(job.name);
    const int pages = platform::PrintPages(printer, job.font, job.marginFont, job.layout);
    if (onPrinting) onPrinting(false);
    return pages;
}

int Printing::SaveAsPdf(const PrintJob& job) {
    platform::MessageRequest ask;
    ask.text = QString::fromLatin1(kNoPrinterText);
    ask.title = QStringLiteral("Print");
    ask.buttons = platform::kYes | platform::kNo;
    ask.icon = platform::MsgIcon::Question;
    if (ui_.Message(ask) != platform::kYes) return 0;
    platform::FileRequest request;
    request.title = QStringLiteral("Save As PDF");
    request.filter = QStringLiteral("PDF (*.pdf)");
    request.presetName = job.name + QStringLiteral(".pdf");
    request.defaultSuffix = QStringLiteral("pdf");
    const QString path = ui_.SaveFileName(request);
    if (path.isEmpty()) return 0;
    if (onPrinting) onPrinting(true);
    const QPrinter& printer = Printer();
    const QByteArray pdf = platform::PdfPages(printer.pageLayout().pageSize(), job.font,
                                              job.marginFont, job.layout, job.name);
    const FileWriteResult written =
        pdf.isEmpty() ? FileWriteResult{FileWriteResult::Status::Failed, "nothing was drawn"}
                      : WriteFileAtomically(path.toStdString(),
                                            std::string_view(pdf.constData(), pdf.size()));
    if (onPrinting) onPrinting(false);
    if (!written.ok()) {
        platform::MessageRequest failed;
        failed.text = path + QStringLiteral(": ") +
                      (written.status == FileWriteResult::Status::ReadOnly
                           ? QStringLiteral("read only file")
                           : QString::fromStdString(written.error));
        failed.title = QStringLiteral("Print");
        failed.icon = platform::MsgIcon::Exclamation;
        ui_.Message(failed);
        return 0;
    }
    return 1;
}

void Printing::Preview(const PrintJob& job) {
    QPrintPreviewDialog preview(&Printer(), parent_);
    preview.setWindowTitle(job.name);
    QObject::connect(&preview, &QPrintPreviewDialog::paintRequested, [&](QPrinter* printer) {
        platform::PrintPages(*printer, job.font, job.marginFont, job.layout);
    });
    preview.exec();
}

void Printing::Setup() {
    QPageSetupDialog setup(&Printer(), parent_);
    setup.exec();
}

}  // namespace talveron::print
