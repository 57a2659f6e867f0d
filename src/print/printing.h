// Printing from the desktop program: File > Print, Print Preview and Printer Setup for the
// channel plan, and the ReadMe's own Print. One printer object lives for the whole run, so the
// paper and printer chosen in Printer Setup hold for every later print. Where the system has
// no printer (common on Linux), Print offers to save the same pages as a PDF file instead of
// failing silently.
#pragma once

#include <QFont>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>

#include "platform/paged_print.h"
#include "platform/ui_services.h"

class QPrinter;
class QWidget;

namespace talveron::print {

// What to print: a name (the PDF's default file name, the preview's title), the font the
// pages are printed in, the font the margin is measured in, and the layout.
struct PrintJob {
    QString name;
    QFont font;
    QFont marginFont;
    platform::LayoutMaker layout;
};

// The channel plan of a document, printed in Courier 11 at this moment's date and time.
PrintJob ChannelPlanJob(const Document& doc);
// The ReadMe text, in the printer's default face at 10 points.
PrintJob ReadMeJob(const QStringList& lines);

class Printing {
  public:
    Printing(platform::UiServices& ui, QWidget* parent);
    ~Printing();

    // Prints the job; without a printer, asks whether to save it as a PDF and does so.
    // Returns the pages that went out (to the printer or the file), 0 when none did.
    int Print(const PrintJob& job);
    // Shows the pages in the platform's print preview (from which they can be printed).
    void Preview(const PrintJob& job);
    // The platform's page setup for the printer; cancelling changes nothing.
    void Setup();

    // Called with true before and false after anything is drawn (busy pointer, Timer1).
    std::function<void(bool)> onPrinting;
    // Where the pages go and whether the system has a printer; tests give a PDF printer.
    std::function<QPrinter*()> printerProvider;
    std::function<bool()> hasPrinter;

  private:
    QPrinter& Printer();
    int SaveAsPdf(const PrintJob& job);

    platform::UiServices& ui_;
    QWidget* parent_;
    std::unique_ptr<QPrinter> printer_;
};

inline constexpr const char* kNoPrinterText =
    "No printer is installed on this computer.\nSave the pages as a PDF file instead?";

}  // namespace talveron::print
