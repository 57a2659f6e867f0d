#include "app/frm_readme.h"

#include <QAction>
#include <QCloseEvent>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFontMetrics>
#include <QMenuBar>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPrinter>
#include <QTextStream>
#include <memory>

#include "platform/twips.h"

namespace talveron::app {

namespace {

using platform::TwipsToPixels;

constexpr int kPageLimitTwips = 14772;
constexpr int kPrintFontTwips = 200;  // 10 point

}  // namespace

QString ReadMePath(const QString& programDir) {
    const QDir dir(programDir);
    const QString beside = dir.filePath(QString::fromLatin1(kReadMeFileName));
    const QString shared =
        dir.filePath(QStringLiteral("../share/talveron/") + QString::fromLatin1(kReadMeFileName));
    if (!QFileInfo(beside).isFile() && QFileInfo(shared).isFile()) return QDir::cleanPath(shared);
    return beside;
}

frmReadMe::frmReadMe(const QString& text, const QString& path, QWidget* parent)
    : QMainWindow(parent, Qt::Window), path_(path) {
    setObjectName(QStringLiteral("frmReadMe"));
    setWindowTitle(QStringLiteral("ReadMe"));
    setAttribute(Qt::WA_DeleteOnClose);
    auto* central = new QWidget(this);
    setCentralWidget(central);
    text1_ = new QPlainTextEdit(central);
    text1_->setObjectName(QStringLiteral("Text1"));
    text1_->setReadOnly(true);
    QFont font(QStringLiteral("MS Sans Serif"));
    font.setStyleHint(QFont::SansSerif);
    text1_->setFont(font);
    text1_->setPlainText(text);
    text1_->move(0, 0);

    QMenu* file = menuBar()->addMenu(tr("&File"));
    file->setObjectName(QStringLiteral("mnuFile"));
    print_ = file->addAction(tr("&Print"));
    print_->setObjectName(QStringLiteral("mnuPrint"));
    print_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_P));
    connect(print_, &QAction::triggered, this, &frmReadMe::PrintCommand);
    exit_ = file->addAction(tr("E&xit"));
    exit_->setObjectName(QStringLiteral("mnuExit"));
    exit_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));
    connect(exit_, &QAction::triggered, this, &frmReadMe::ExitCommand);
    resize(TwipsToPixels(9000), TwipsToPixels(6500));
}

void frmReadMe::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    if (height() > TwipsToPixels(800))
        text1_->resize(width() - TwipsToPixels(400), height() - TwipsToPixels(800));
}

void frmReadMe::SetLocked(bool locked) {
    locked_ = locked;
    print_->setEnabled(!locked);
    exit_->setEnabled(!locked);
}

void frmReadMe::closeEvent(QCloseEvent* event) {
    if (locked_) {
        event->ignore();
        return;
    }
    event->accept();
    if (!unloaded_) {
        unloaded_ = true;
        if (onUnload) onUnload();
    }
}

void frmReadMe::ExitCommand() {
    if (locked_ || !close()) return;
    if (onExit) onExit();
}

void frmReadMe::PrintCommand() {
    if (locked_) return;
    QFile file(path_);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) return;
    QStringList lines;
    QTextStream in(&file);
    while (!in.atEnd()) lines.append(in.readLine());
    std::unique_ptr<QPrinter> own;
    QPrinter* printer = printerProvider ? printerProvider() : nullptr;
    if (!printer) {
        // At the screen's resolution the printed text would be laid out on a coarse grid.
        own = std::make_unique<QPrinter>(QPrinter::HighResolution);
        printer = own.get();
    }
    PrintReadMeLines(*printer, lines);
}

int PrintReadMeLines(QPrinter& printer, const QStringList& lines) {
    QPainter painter;
    if (!painter.begin(&printer)) return 0;
    // Work in twips: one logical unit of the painter is one twip on paper, whatever the
    // printer's resolution.
    const double scale = platform::PixelsPerTwip(printer.resolution());
    painter.scale(scale, scale);
    QFont font = painter.font();
    font.setPixelSize(kPrintFontTwips);
    painter.setFont(font);
    // The font's size is given in logical units, so its metrics are in twips already.
    const QFontMetrics metrics = painter.fontMetrics();
    const int lineHeight = metrics.height();
    const int ascent = metrics.ascent();
    auto width = [&](const QString& s) { return metrics.horizontalAdvance(s); };
    const int pageWidth = static_cast<int>(printer.pageRect(QPrinter::DevicePixel).width() / scale);
    const int u = width(QStringLiteral("ZZ"));
    const int right = pageWidth - 4 * u;

    int page = 1;
    int y = 0;
    auto head = [&] {
        y = 0;
        const QString title = QStringLiteral("ReadMe");
        painter.drawText((right - width(title)) / 2, y + ascent, title);
        const int pageX = right - width(QStringLiteral("Page :1"));
        painter.drawText(pageX, y + ascent, QStringLiteral("Page :%1").arg(page));
        y += lineHeight * 2;  // the head line and one empty line
    };
    head();
    for (const QString& line : lines) {
        painter.drawText(0, y + ascent, line);
        y += lineHeight;
        if (y >= kPageLimitTwips) {
            printer.newPage();
            ++page;
            head();
        }
    }
    painter.end();
    return page;
}

}  // namespace talveron::app
