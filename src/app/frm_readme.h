// frmReadMe, the ReadMe viewer: the whole text of ReadMe.Txt in a read-only box, printed with
// a page head ("ReadMe" centred, "Page :n" at the right) by File > Print, closed by
// File > Exit. The main window opens it and is told when it goes.
#pragma once

#include <QMainWindow>
#include <QStringList>
#include <functional>

class QAction;
class QPlainTextEdit;
class QPrinter;

namespace talveron::app {

inline constexpr const char* kReadMeFileName = "ReadMe.Txt";

// Where ReadMe.Txt is looked for: in the program's folder (a build, or a copy of the program
// in a folder of its own) and then, for an installed program in PREFIX/bin, in
// PREFIX/share/talveron. The first that exists, else the one in the program's folder.
QString ReadMePath(const QString& programDir);

class frmReadMe : public QMainWindow {
    Q_OBJECT
  public:
    // text is the file's whole content; path is where it was read (printing reads it again).
    frmReadMe(const QString& text, const QString& path, QWidget* parent = nullptr);

    // Runs after File > Exit has closed the window.
    std::function<void()> onExit;
    // Runs whenever the window closes, whichever way.
    std::function<void()> onUnload;
    // File > Print, with the file's lines read again.
    std::function<void(const QStringList&)> onPrint;

    // While the main window runs a transfer, Print and Exit are disabled and the window
    // cannot be closed: closing it would rewrite the status line or reset the documents in
    // the middle of the transfer.
    void SetLocked(bool locked);
    bool Locked() const { return locked_; }

    QPlainTextEdit* Text1() const { return text1_; }
    QString Path() const { return path_; }

  protected:
    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

  private:
    void PrintCommand();
    void ExitCommand();

    QPlainTextEdit* text1_;
    QAction* print_;
    QAction* exit_;
    QString path_;
    bool unloaded_ = false;
    bool locked_ = false;
};

// Prints lines with the page head on every page: the title centred between the left edge
// and R (the page width less four times the width of "ZZ"), "Page :" + number ending at R,
// an empty line, then the lines, with a new page once the print position reaches 14772
// twips. Returns the number of pages printed.
int PrintReadMeLines(QPrinter& printer, const QStringList& lines);

}  // namespace talveron::app
