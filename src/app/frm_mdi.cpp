#include "app/frm_mdi.h"

#include <QAction>
#include <QCloseEvent>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QProgressBar>
#include <QScreen>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>

#include "app/frm_hi.h"
#include "app/frm_readme.h"
#include "image/cfg_file.h"
#include "link/port_detect.h"
#include "link/transfer.h"
#include "platform/courier_font.h"
#include "platform/named_menu.h"
#include "platform/twips.h"

namespace talveron::app {

namespace {

using document::frmNotePad;
using platform::CourierFont;
using platform::MessageRequest;
using platform::MsgIcon;
using platform::TwipsToPixels;

// The main window's size at design time; start-up grows it half way to the screen's size.
constexpr int kDesignWidthTwips = 9600;
constexpr int kDesignHeightTwips = 7200;

}  // namespace

frmMDI::frmMDI(platform::UiServices& ui, link::SerialPort& port, link::Clock& clock,
               MainOptions options, QWidget* parent)
    : QMainWindow(parent),
      ui_(ui),
      options_(std::move(options)),
      settings_(options_.settingsFile),
      prompt_(ui),
      transfer_(std::make_unique<TransferController>(port, prompt_, statusAdapter_, clock, ui)) {
    setObjectName(QStringLiteral("frmMDI"));
    setWindowTitle(QString::fromLatin1(kMainCaption));
    auto* central = new QWidget(this);
    auto* layout = new QVBoxLayout(central);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    mdi_ = new QMdiArea(central);
    mdi_->setObjectName(QStringLiteral("mdiArea"));
    layout->addWidget(mdi_, 1);
    picToolbar_ = new QWidget(central);
    picToolbar_->setObjectName(QStringLiteral("picToolbar"));
    picToolbar_->setFont(CourierFont(12));
    picToolbar_->setFixedHeight(QFontMetrics(CourierFont(15)).height() + 8);
    layout->addWidget(picToolbar_);
    setCentralWidget(central);

    labErrMsg_ = new QLabel(QStringLiteral("Err Mesage"), picToolbar_);
    labErrMsg_->setObjectName(QStringLiteral("labErrMsg"));
    labErrMsg_->setFont(CourierFont(12));
    labErrMsg_->setGeometry(TwipsToPixels(60), 0, 100, picToolbar_->height());
    progress_ = new QProgressBar(picToolbar_);
    progress_->setObjectName(QStringLiteral("ProgressBar1"));
    progress_->setTextVisible(false);
    progress_->hide();

    status_ = std::make_unique<app::StatusLine>(picToolbar_, labErrMsg_, this);
    statusAdapter_.Attach(status_.get());
    transfer_->Attach(*status_, picToolbar_, labErrMsg_, progress_, TransferWindow());
    files_ =
        std::make_unique<DocumentController>(ui_, settings_, documents_, *status_, FilesWindow());
    editing_ = std::make_unique<channel::ChannelEditing>(*this, this);
    printing_ = std::make_unique<print::Printing>(ui_, this);
    // Timer1 rests and the pointer is busy while pages are drawn.
    printing_->onPrinting = [this](bool printing) {
        ui_.SetBusy(printing);
        if (printing)
            status_->StopTimer();
        else
            status_->StartTimer();
    };

    recent_ = new RecentFiles(
        settings_,
        [this](const QString& path) {
            if (!TransferRunning() && !files_->OpenChosenFile(path)) recent_->Remove(path);
        },
        this);
    files_->AttachRecent(recent_);
    windowMenu_ = new WindowMenu(mdi_, this);
    BuildMainMenus();
    recent_->Attach([this](const QString& name) { return MainAction(name); });
    ShowMenusOf(nullptr);
    platform::OpenMenusWithF10(this);
    connect(mdi_, &QMdiArea::subWindowActivated, this, &frmMDI::OnSubWindowActivated);
    prompt_.onAnswered = [this](const link::Question& question, link::Answer) {
        // No port to try: say why, when a port was there but refused.
        if (question.kind == link::Asks::NoPort) {
            transfer_->NoPortToTry();
            ShowPermissionNotice();
        }
    };
    if (auto* qtUi = dynamic_cast<platform::QtUiServices*>(&ui_)) qtUi->SetParent(this);
}

frmMDI::~frmMDI() {
    // The document windows go first; their menus must not outlive the menu bar's view of them.
    menuBar()->clear();
    disconnect(mdi_, nullptr, this, nullptr);
}

void frmMDI::BuildMainMenus() {
    auto topMenu = [this](const char* name, const QString& caption) {
        QMenu* menu = platform::NamedMenu(this, name, caption);
        mainMenus_.append(menu);
        return menu;
    };
    const auto item = [](QMenu* menu, const char* name, const QString& caption) {
        return platform::NamedItem(menu, name, caption);
    };
    QMenu* file = topMenu("mnuFile", tr("&File"));
    QAction* fileNew =
        platform::NamedItem(file, "mnuFNew", tr("&New"), QKeySequence(Qt::CTRL | Qt::Key_N));
    fileNew->setVisible(false);
    fileNew->setEnabled(false);
    connect(item(file, "mnuFOpen", tr("&Open")), &QAction::triggered, this,
            [this] { files_->ShowOpenDialog(); });
    // Exit goes through the closing of the main window, so open documents are asked about.
    connect(item(file, "mnuFExit", tr("E&xit")), &QAction::triggered, this, &frmMDI::close);
    file->addSeparator()->setObjectName(QStringLiteral("mnuSeparator"));
    file->addSeparator()->setObjectName(QStringLiteral("mnuRecentFile0"));
    for (int i = 1; i <= 4; ++i)
        item(file, QStringLiteral("mnuRecentFile%1").arg(i).toLatin1().constData(),
             QStringLiteral("RecentFile%1").arg(i));

    QMenu* radio = topMenu("mnuRadio", tr("&Radio"));
    connect(item(radio, "mnuRadioItem0", tr("&Upload")), &QAction::triggered, this,
            [this] { transfer_->Run(link::kOpUpload); });

    QMenu* help = topMenu("munHelp", tr("&Help"));
    connect(item(help, "mnuReadMe", tr("&ReadMe")), &QAction::triggered, this,
            &frmMDI::ReadMeCommand);
    connect(item(help, "munVersion", tr("&About")), &QAction::triggered, this,
            &frmMDI::AboutCommand);
}

QAction* frmMDI::MainAction(const QString& name) const {
    for (QMenu* menu : mainMenus_) {
        if (menu->objectName() == name) return menu->menuAction();
        for (QAction* a : menu->actions())
            if (a->objectName() == name) return a;
    }
    return nullptr;
}

QList<QAction*> frmMDI::MenuBarActions() const {
    return menuBar()->actions();
}

void frmMDI::ShowMenusOf(frmNotePad* window) {
    menuBar()->clear();
    const QList<QMenu*>& menus = window ? window->Menus() : mainMenus_;
    for (QMenu* menu : menus) menuBar()->addAction(menu->menuAction());
    // The Window menu stands before Help on either menu bar.
    QAction* help = nullptr;
    for (QAction* a : menuBar()->actions())
        if (a->objectName() == QLatin1String("munHelp")) help = a;
    menuBar()->insertAction(help, windowMenu_->Menu()->menuAction());
}

void frmMDI::WaitMs(int ms) {
    if (ms <= 0) return;
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

void frmMDI::Startup() {
    if (QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->geometry();
        const int h = (area.height() + TwipsToPixels(kDesignHeightTwips)) / 2;
        const int w = (area.width() + TwipsToPixels(kDesignWidthTwips)) / 2;
        resize(w, h);
        move(area.x() + (area.width() - w) / 2, area.y() + (area.height() - h) / 2);
    }
    show();
    if (!options_.programDir.isEmpty()) QDir::setCurrent(options_.programDir);

    QPointer<frmHi> splash;
    if (options_.showSplash) {
        splash = new frmHi(this);
        splash->CenterOnScreen();
        splash->show();
        splash->raise();
    }
    ui_.SetBusy(true);
    ShowStatus(QStringLiteral("Detecting RS232 port..."));
    WaitMs(options_.splashMs);
    if (splash) splash->close();
    link::DetectRS(transfer_->Link());
    ui_.SetBusy(false);
    ResetDocuments();
    // The reset has put the menu hint over what the detection found; a port refused for lack
    // of permission is the one thing the user can mend, so it gets the line back.
    ShowPermissionNotice();
    status_->SaveState();
}

bool frmMDI::ShowPermissionNotice() {
    const std::string notice = link::PermissionNotice(transfer_->Link().state);
    if (notice.empty()) return false;
    ShowStatus(QString::fromStdString(notice));
    return true;
}

void frmMDI::ResetDocuments() {
    documents_.Reset();
    clipLines_.clear();
    ui_.SetClipboardText(QString());
    status_->SetText(QString(), StatusColor::Black);
    transfer_->Link().state.linkDown = true;
    status_->StartTimer();
    ShowStatus(QString::fromLatin1(kMenuHint));
    if (QAction* upload = MainAction(QStringLiteral("mnuRadioItem0"))) upload->setEnabled(true);
}

void frmMDI::ShowStatus(const QString& text) {
    status_->ShowStatus(text);
}

void frmMDI::ShowVerdict(const RangeVerdict& verdict) {
    if (!verdict.setsStatus) return;
    status_->SetText(QString::fromStdString(verdict.text), verdict.Color(), verdict.fault);
    status_->FitStatus(labErrMsg_->font().pointSize());
    status_->SaveState();
}

// ---- documents -------------------------------------------------------------------------

frmNotePad* frmMDI::Window(int number) const {
    auto it = windows_.find(number);
    if (it == windows_.end() || !it->second) return nullptr;
    return qobject_cast<frmNotePad*>(it->second->widget());
}

QMdiSubWindow* frmMDI::SubWindow(int number) const {
    auto it = windows_.find(number);
    return it == windows_.end() ? nullptr : it->second.data();
}

frmNotePad* frmMDI::ActiveWindow() const {
    if (!active_) return nullptr;
    auto* w = qobject_cast<frmNotePad*>(active_->widget());
    if (!w || !documents_.Get(w->Tag())) return nullptr;
    return w;
}

int frmMDI::ActiveNumber() const {
    frmNotePad* w = ActiveWindow();
    return w ? w->Tag() : 0;
}

int frmMDI::OpenDocumentWindow(int number) {
    const Document* doc = documents_.Get(number);
    auto* window = new frmNotePad(this, number);
    auto* sub = new DocumentSubWindow;
    sub->setWidget(window);
    mdi_->addSubWindow(sub);
    sub->setAttribute(Qt::WA_DeleteOnClose);
    sub->setObjectName(QStringLiteral("Document%1").arg(number));
    windows_[number] = sub;
    recent_->Attach([window](const QString& name) { return window->Action(name); });
    windowMenu_->KeepFileNameInView(sub);
    // Room for the sub-window's title bar and a few cascade steps below the window.
    window->Layout(width(), mdi_->height() - TwipsToPixels(1500));
    sub->resize(sub->sizeHint().expandedTo(window->size() + QSize(8, 30)));
    sub->KeepSize();
    sub->setWindowTitle(window->windowTitle());
    const std::string band = doc ? doc->Band() : std::string();
    if (!band.empty() && band[0] >= '0' && band[0] <= '9') bandDigit_ = band[0] - '0';
    sub->show();
    mdi_->setActiveSubWindow(sub);
    if (active_ != sub) OnSubWindowActivated(sub);
    return number;
}

void frmMDI::OnSubWindowActivated(QMdiSubWindow* sub) {
    if (!sub) {
        // Focus moving out of the main window also reports no window; only an empty area
        // brings the main window's menus back.
        bool anyOpen = false;
        for (QMdiSubWindow* s : mdi_->subWindowList()) {
            auto* w = qobject_cast<frmNotePad*>(s->widget());
            if (w && documents_.Get(w->Tag())) anyOpen = true;
        }
        if (!anyOpen) {
            active_ = nullptr;
            ShowMenusOf(nullptr);
        }
        return;
    }
    auto* window = qobject_cast<frmNotePad*>(sub->widget());
    if (!window || !documents_.Get(window->Tag())) return;
    active_ = sub;
    ShowMenusOf(window);
    if (!cascading_) {
        cascading_ = true;
        windowMenu_->Arrange();
        cascading_ = false;
    }
    activeValues_ = window->Activate();
}

void frmMDI::CheckActiveRanges() {
    if (frmNotePad* w = ActiveWindow()) activeValues_ = w->Activate();
}

void frmMDI::RefreshCaptions() {
    for (auto& [number, sub] : windows_) {
        const Document* doc = documents_.Get(number);
        if (!doc || !sub) continue;
        const QString caption = QString::fromStdString(doc->caption);
        sub->widget()->setWindowTitle(caption);
        sub->setWindowTitle(caption);
    }
}

DocChanges frmMDI::EditDocument(int number, std::string_view label,
                                const std::function<void(Document&)>& edit) {
    return editing_->Edit(number, label, edit);
}

void frmMDI::HoldTimer(bool hold) {
    if (!hold) {
        status_->StartTimer();
        return;
    }
    status_->StopTimer();
    status_->Label()->setVisible(true);
}

void frmMDI::ShowDialogVerdict(const QString& text) {
    status_->SetText(text, status_->Color());
    status_->FitStatus(15);
}

void frmMDI::closeEvent(QCloseEvent* event) {
    if (TransferRunning()) {
        event->ignore();
        return;
    }
    for (QMdiSubWindow* sub : mdi_->subWindowList()) {
        if (!sub->close()) {
            event->ignore();
            return;
        }
    }
    if (readMe_) readMe_->close();
    editing_->CloseAll();
    event->accept();
}

void frmMDI::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    if (progress_->isVisible()) transfer_->PlaceProgress();
}

}  // namespace talveron::app
