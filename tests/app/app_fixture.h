// The main window under test: a real frmMDI with scripted questions and dialogs, a real serial
// port, and, when a test asks for one, talveron-vradio on a pseudo-terminal as port 1.
#pragma once

#include <gtest/gtest.h>

#include <QTest>
#include <QtWidgets>
#include <memory>

#include "app/frm_mdi.h"
#include "app/frm_readme.h"
#include "app/virtual_radio.h"
#include "link/link_clock.h"
#include "platform/scripted_ui_services.h"
#include "platform/serial_port_qt.h"
#include "qt_test_util.h"

namespace talveron::app {

using namespace Qt::Literals::StringLiterals;
using platform::kCancel;
using platform::kNo;
using platform::kOk;
using platform::kYes;
using platform::MsgIcon;

// What the tests look at inside the main window.
struct MdiProbe {
    frmMDI& m;
    DocumentSet& Documents() const { return m.documents_; }
    std::vector<std::string>& ClipLinesRef() const { return m.clipLines_; }
    link::LinkState& LinkStateRef() const { return m.transfer_->Link().state; }
    int BandDigit() const { return m.bandDigit_; }
    const document::ActiveValues& ActiveDocumentValues() const { return m.activeValues_; }
    QMdiArea* MdiArea() const { return m.mdi_; }
    QProgressBar* ProgressBar1() const { return m.progress_; }
    QList<QAction*> MenuBarActions() const { return m.MenuBarActions(); }
    frmReadMe* ReadMeWindow() const { return m.readMe_; }
    WindowMenu& Windows() const { return *m.windowMenu_; }
    channel::ChannelEditing& Editing() const { return *m.editing_; }
};

class AppTest : public ::testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;

    // Starts talveron-vradio unpaced (--baud 0), model 0 with the small memory, with the
    // further arguments, and makes it port 1.
    void StartRadio(const QStringList& extra);
    // Builds the main window on the given port (a real serial port when none) and runs its
    // start-up (no splash unless asked). Its settings live in the test's folder and start
    // with the dialogs in DocumentsFolder().
    void StartMain(bool splash = false, link::SerialPort* on = nullptr);
    QString DocumentsFolder() const { return dir_.filePath(QStringLiteral("documents")); }

    // A copy of a sample in the test's folder (under sub-folders when given).
    QString CopySample(const char* name, const QString& as = {});
    QString TempPath(const QString& name) const { return dir_.filePath(name); }
    // Writes a file into the test's folder, which is also the program's, and gives its path.
    QString WriteFile(const QString& name, const QByteArray& bytes);

    // Triggers the named action of the active document window, or of the main window.
    void Act(const char* name);
    // Opens a file through File > Open of the main window.
    bool OpenThroughMenu(const QString& path);
    // Radio > Upload or Download from whatever menu bar shows now.
    void Upload() { Act("mnuRadioItem0"); }
    void Download() { Act("mnuRadioItem1"); }
    // The document of the active window, and one changed by an edit: channel `to` takes the
    // frequencies and tones of channel `from`.
    Document& ActiveDoc() { return *Inside().Documents().Get(mdi->ActiveNumber()); }
    static void EditChannel(Document& doc, int from = 2, int to = 1);
    // Captions of the open document windows in document-number order.
    QStringList Captions() const;
    // The lines a .cfg file holds, as a document shows them.
    std::vector<std::string> LinesOfFile(const QString& path) const;
    // The texts of the message boxes shown so far.
    QStringList Texts() const;
    // The names of the menus the menu bar shows.
    QStringList MenuBarNames() const;

    platform::ScriptedUiServices ui;
    std::unique_ptr<platform::QtSerialPort> port;
    link::SteadyClock clock;
    std::unique_ptr<frmMDI> mdi;
    MdiProbe Inside() const { return MdiProbe{*mdi}; }
    std::unique_ptr<VirtualRadioProcess> radio;

  private:
    QTemporaryDir dir_;
};

// An AppTest without a port (the question answered Cancel), the main window started and its
// records cleared; with the mouse and keyboard the editing tests use.
class OfflineApp : public AppTest {
  protected:
    void SetUp() override;
    // Clicks lines of the active window's list (the first as the current line, the others
    // added with Ctrl); with `twice`, double-clicks the last one too.
    void Click(std::initializer_list<int> rows, bool twice = false);
    // Keys to whatever has the focus, as a user at the keyboard types them.
    static void Type(const QString& keys) { QTest::keyClicks(QApplication::focusWidget(), keys); }
    static void Press(Qt::Key key) { QTest::keyClick(QApplication::focusWidget(), key); }
    std::string Line(int channel) { return ActiveDoc().lines[channel - 1]; }
};

// A file's bytes (empty when it cannot be read).
inline QByteArray ReadFile(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// The path of a sample file.
inline QString Sample(const char* name) {
    return QStringLiteral(TALVERON_SAMPLES "/") + QString::fromLatin1(name);
}

// A message box as recorded: its text, title (a null title is not checked), buttons and icon.
::testing::AssertionResult BoxIs(const platform::MessageRequest& m, const QString& text,
                                 const QString& title, unsigned buttons, platform::MsgIcon icon);

}  // namespace talveron::app
