#include "app/frm_readme.h"

#include <QAction>
#include <QCloseEvent>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPrinter>
#include <QTextStream>

#include "platform/named_menu.h"
#include "platform/twips.h"
#include "print/printing.h"

namespace talveron::app {

namespace {

using platform::TwipsToPixels;

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
    platform::OpenMenusWithF10(this);
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
    if (onPrint) onPrint(lines);
}

int PrintReadMeLines(QPrinter& printer, const QStringList& lines) {
    const print::PrintJob job = print::ReadMeJob(lines);
    return platform::PrintPages(printer, job.font, job.marginFont, job.layout);
}

}  // namespace talveron::app
