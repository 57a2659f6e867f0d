#include "document/frm_notepad.h"

#include <QAction>
#include <QCloseEvent>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QLabel>
#include <QListView>
#include <QMenu>
#include <QStyle>
#include <algorithm>

#include "document/channel_list_model.h"
#include "document/document_host.h"
#include "document/header_fit.h"
#include "image/channel_line.h"
#include "image/range_check.h"
#include "platform/courier_font.h"
#include "platform/named_menu.h"
#include "platform/twips.h"

namespace talveron::document {

namespace {

using platform::CourierFont;
using platform::PixelsToTwips;
using platform::TwipsToPixels;

constexpr int kStartPointSize = 10;

QLabel* MakeLabel(const QString& text, QWidget* parent, const char* name) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setFont(CourierFont(kStartPointSize));
    label->adjustSize();
    return label;
}

// The text after the first ":" of a label (the value part of "Customer:ACME").
QString AfterColon(const QString& caption) {
    const auto colon = caption.indexOf(QLatin1Char(':'));
    return colon < 0 ? QString() : caption.mid(colon + 1);
}

}  // namespace

frmNotePad::frmNotePad(DocumentHost* host, int number, QWidget* parent)
    : QWidget(parent), host_(host), number_(number) {
    setObjectName(QStringLiteral("frmNotePad"));
    setFont(CourierFont(kStartPointSize));
    setWindowTitle(QStringLiteral("Editor"));
    labModel_ = MakeLabel(QStringLiteral("Model:"), this, "Label3_8");
    labRange_ = MakeLabel(QStringLiteral("Range:"), this, "Label3_9");
    labCustomer_ = MakeLabel(QStringLiteral("Customer:"), this, "Label3_10");
    labSerial_ = MakeLabel(QStringLiteral("Serial No:"), this, "Label3_11");
    labHeader_ = MakeLabel(QString::fromLatin1(kColumnHeader.data(), kColumnHeader.size()), this,
                           "Label3_12");
    lstClient_ = new QListView(this);
    lstClient_->setObjectName(QStringLiteral("lstClient"));
    model_ = new ChannelListModel(host_, number_, this);
    lstClient_->setModel(model_);
    lstClient_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    lstClient_->setFont(CourierFont(kStartPointSize));
    lstClient_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    lstClient_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    lstClient_->setUniformItemSizes(true);
    lstClient_->setTextElideMode(Qt::ElideNone);
    lstClient_->installEventFilter(this);
    connect(lstClient_, &QListView::doubleClicked, this, [this] { OpenCurrentChannel(); });
    BuildMenus();
    Refresh();
}

void frmNotePad::BuildMenus() {
    auto topMenu = [this](const char* name, const QString& caption) {
        QMenu* menu = platform::NamedMenu(this, name, caption);
        menus_.append(menu);
        return menu;
    };
    auto hide = [](QAction* a) {
        a->setVisible(false);
        a->setEnabled(false);
    };
    QMenu* file = topMenu("mnuFile", tr("&File"));
    hide(platform::NamedItem(file, "mnuFNew", tr("&New"), QKeySequence(Qt::CTRL | Qt::Key_N)));
    connect(
        platform::NamedItem(file, "mnuFOpen", tr("&Open..."), QKeySequence(Qt::CTRL | Qt::Key_O)),
        &QAction::triggered, this, [this] { Run(DocCommand::Open); });
    connect(platform::NamedItem(file, "mnuFClose", tr("&Close")), &QAction::triggered, this,
            [this] { Run(DocCommand::Close); });
    connect(platform::NamedItem(file, "mnuFSave", tr("&Save"), QKeySequence(Qt::CTRL | Qt::Key_S)),
            &QAction::triggered, this, [this] { Run(DocCommand::Save); });
    connect(platform::NamedItem(file, "mnuFSaveAs", tr("Save &As...")), &QAction::triggered, this,
            [this] { Run(DocCommand::SaveAs); });
    file->addSeparator()->setObjectName(QStringLiteral("mnuFCust"));
    connect(platform::NamedItem(file, "mnuFCustomer", tr("Cus&tomer")), &QAction::triggered, this,
            [this] { Run(DocCommand::Customer); });
    file->addSeparator()->setObjectName(QStringLiteral("mnuFSep"));
    const auto command = [this](QAction* a, DocCommand c) {
        connect(a, &QAction::triggered, this, [this, c] { Run(c); });
    };
    command(platform::NamedItem(file, "munPrint", tr("&Print"), QKeySequence(Qt::CTRL | Qt::Key_P)),
            DocCommand::Print);
    command(platform::NamedItem(file, "munPreview", tr("Print Pre&view")),
            DocCommand::PrintPreview);
    command(platform::NamedItem(file, "munPrnset", tr("Printer Set&up")), DocCommand::PrinterSetup);
    connect(platform::NamedItem(file, "mnuFExit", tr("E&xit"), QKeySequence(Qt::CTRL | Qt::Key_Q)),
            &QAction::triggered, this, [this] { Run(DocCommand::Exit); });
    QAction* recentSep = file->addSeparator();
    recentSep->setObjectName(QStringLiteral("mnuRecentFile0"));
    recentSep->setVisible(false);
    for (int i = 1; i <= 4; ++i) {
        QAction* a = file->addAction(QStringLiteral("RecentFile%1").arg(i));
        a->setObjectName(QStringLiteral("mnuRecentFile%1").arg(i));
        a->setVisible(false);
    }

    QMenu* edit = topMenu("mnuEdit", tr("&Edit"));
    command(platform::NamedItem(edit, "mnuECut", tr("Cu&t"), QKeySequence(Qt::CTRL | Qt::Key_X)),
            DocCommand::Cut);
    command(platform::NamedItem(edit, "mnuECopy", tr("&Copy"), QKeySequence(Qt::CTRL | Qt::Key_C)),
            DocCommand::Copy);
    QAction* paste =
        platform::NamedItem(edit, "mnuEPaste", tr("&Paste"), QKeySequence(Qt::CTRL | Qt::Key_V));
    paste->setEnabled(false);  // until the channel clipboard holds lines
    command(paste, DocCommand::Paste);
    command(platform::NamedItem(edit, "mnuEDelete", tr("&Delete"), QKeySequence(Qt::Key_Delete)),
            DocCommand::Delete);
    edit->addSeparator()->setObjectName(QStringLiteral("mnuESep1"));
    command(platform::NamedItem(edit, "mnuEautoF", tr("Auto&Freq")), DocCommand::AutoFreq);
    command(platform::NamedItem(edit, "mnuEautoT", tr("Auto&Tone")), DocCommand::AutoTone);
    edit->addSeparator()->setObjectName(QStringLiteral("mnuESep2"));
    connect(platform::NamedItem(edit, "mnuEUndo", tr("&Undo"), QKeySequence(Qt::CTRL | Qt::Key_Z)),
            &QAction::triggered, this, [this] { Run(DocCommand::Undo); });
    QAction* redo = platform::NamedItem(edit, "mnuERedo", tr("&Redo"));
    redo->setShortcuts(
        {QKeySequence(Qt::CTRL | Qt::Key_Y), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)});
    connect(redo, &QAction::triggered, this, [this] { Run(DocCommand::Redo); });
    connect(edit, &QMenu::aboutToShow, this, &frmNotePad::EditMenuOpening);

    QMenu* option = topMenu("mnuOpion", tr("&Option"));
    command(platform::NamedItem(option, "mnuOpSYS", tr("S&ystem")), DocCommand::SystemOptions);
    connect(platform::NamedItem(option, "mnuOpCH", tr("C&hannel")), &QAction::triggered, this,
            [this] { Run(DocCommand::ChannelOptions); });

    QMenu* radio = topMenu("mnuRadio", tr("&Radio"));
    connect(platform::NamedItem(radio, "mnuRadioItem0", tr("&Upload")), &QAction::triggered, this,
            [this] { Run(DocCommand::Upload); });
    connect(platform::NamedItem(radio, "mnuRadioItem1", tr("&Download")), &QAction::triggered, this,
            [this] { Run(DocCommand::Download); });
    hide(platform::NamedItem(radio, "mnuRadioItem2", tr("&Verify")));

    QMenu* help = topMenu("munHelp", tr("&Help"));
    connect(platform::NamedItem(help, "mnuReadMe", tr("&ReadMe")), &QAction::triggered, this,
            [this] { Run(DocCommand::ReadMe); });
    connect(platform::NamedItem(help, "mnuVersion", tr("&About")), &QAction::triggered, this,
            [this] { Run(DocCommand::About); });

    QMenu* test = topMenu("mnuTest", tr("&Test"));
    test->menuAction()->setVisible(false);
}

QAction* frmNotePad::Action(const QString& name) const {
    for (QMenu* menu : menus_) {
        if (menu->objectName() == name) return menu->menuAction();
        for (QAction* a : menu->actions())
            if (a->objectName() == name) return a;
    }
    return nullptr;
}

QLabel* frmNotePad::Label3(int index) const {
    switch (index) {
        case 8:
            return labModel_;
        case 9:
            return labRange_;
        case 10:
            return labCustomer_;
        case 11:
            return labSerial_;
        case 12:
            return labHeader_;
        default:
            return nullptr;
    }
}

int frmNotePad::FontPointSize() const {
    return lstClient_->font().pointSize();
}

std::vector<int> frmNotePad::SelectedRows() const {
    std::vector<int> rows;
    for (const QModelIndex& index : lstClient_->selectionModel()->selectedIndexes())
        rows.push_back(index.row());
    std::sort(rows.begin(), rows.end());
    return rows;
}

int frmNotePad::CurrentRow() const {
    const QModelIndex current = lstClient_->currentIndex();
    return current.isValid() ? current.row() : -1;
}

void frmNotePad::UpdateLabels() {
    const Document* doc = host_->DocumentOf(number_);
    if (!doc) return;
    setWindowTitle(QString::fromStdString(doc->caption));
    labModel_->setText(QStringLiteral("Model:") + QString::fromStdString(doc->ModelName()));
    labRange_->setText(QStringLiteral("Range:") + QString::fromStdString(doc->Band()) +
                       QStringLiteral("MHz"));
    labCustomer_->setText(QStringLiteral("Customer:") + QString::fromStdString(doc->customer));
    labSerial_->setText(QStringLiteral("Serial No:") + QString::fromStdString(doc->serial));
    for (QLabel* l : {labModel_, labRange_, labCustomer_, labSerial_}) l->adjustSize();
}

void frmNotePad::Refresh() {
    UpdateLabels();
    model_->Reload();
    UpdateUndoActions();
}

void frmNotePad::ShowChanges(const DocChanges& changes) {
    if (changes.lineCount)
        model_->Reload();
    else
        model_->LinesChanged(changes.lines);
    if (changes.customer) UpdateLabels();
    UpdateUndoActions();
}

void frmNotePad::SelectRow(int row) {
    const QModelIndex index = model_->index(row);
    if (index.isValid()) lstClient_->selectionModel()->select(index, QItemSelectionModel::Select);
}

void frmNotePad::UpdateUndoActions() {
    const Document* doc = host_->DocumentOf(number_);
    QAction* undo = Action(QStringLiteral("mnuEUndo"));
    QAction* redo = Action(QStringLiteral("mnuERedo"));
    if (!undo || !redo) return;
    undo->setEnabled(doc && CanUndo(*doc));
    redo->setEnabled(doc && CanRedo(*doc));
    undo->setToolTip(doc ? QString::fromStdString(doc->history.UndoLabel()) : QString());
    redo->setToolTip(doc ? QString::fromStdString(doc->history.RedoLabel()) : QString());
}

void frmNotePad::Run(DocCommand command) {
    host_->Command(number_, command, 0);
}

void frmNotePad::OpenCurrentChannel() {
    // A list without lines or without a current line gives no channel to open.
    const int row = CurrentRow();
    if (row >= 0 && lstClient_->isEnabled()) host_->Command(number_, DocCommand::Channel, row);
}

bool frmNotePad::eventFilter(QObject* watched, QEvent* event) {
    if (watched == lstClient_ && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            OpenCurrentChannel();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void frmNotePad::Layout(int mainWidth, int areaHeight) {
    host_->ShowStatus(QStringLiteral(" "));
    const int windowWidth = mainWidth - TwipsToPixels(400);
    const QString header = labHeader_->text();
    const int size = FitHeaderFontSize(kStartPointSize, windowWidth, [&](int pt) {
        return QFontMetrics(CourierFont(pt)).horizontalAdvance(header);
    });
    const QFont fitted = CourierFont(size);
    labHeader_->setFont(fitted);
    lstClient_->setFont(fitted);
    const QFontMetrics fm(fitted);
    const int headerWidth = fm.horizontalAdvance(header);

    // The four caption labels in two rows above the header.
    const int left = TwipsToPixels(120);
    const int gap = TwipsToPixels(60);
    const int labelHeight = labModel_->sizeHint().height();
    const int column2 = left + headerWidth / 2;
    labModel_->move(left, gap);
    labRange_->move(column2, gap);
    labCustomer_->move(left, gap * 2 + labelHeight);
    labSerial_->move(column2, gap * 2 + labelHeight);

    const int headerTop = gap * 4 + labelHeight * 2;
    labHeader_->setGeometry(left, headerTop, headerWidth, fm.height() + 2);
    const int listTop = headerTop + labHeader_->height();
    // The list's own frame and scroll bar come on top, so every column stays in view.
    const int listWidth = headerWidth + TwipsToPixels(150) + 2 * lstClient_->frameWidth() +
                          lstClient_->style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    const int bottom = TwipsToPixels(600);
    const int listHeight = std::max(fm.height() * 4, areaHeight - listTop - bottom);
    lstClient_->setGeometry(left, listTop, listWidth, listHeight);
    resize(listWidth + TwipsToPixels(350), listTop + listHeight + bottom);
    setMinimumSize(QWidget::size());
}

ActiveValues frmNotePad::Activate() {
    ActiveValues values;
    const Document* doc = host_->DocumentOf(number_);
    if (!doc) return values;
    values.blockCount = doc->BlockCount();
    // The band as the Range label shows it: seven characters after the first ":".
    const QString band = AfterColon(labRange_->text()).left(7).trimmed();
    values.band = BandFromText(band.toStdString());
    host_->ShowVerdict(CheckRanges(doc->lines, values.band));
    if (!host_->ClipLines().empty()) {
        if (QAction* paste = Action(QStringLiteral("mnuEPaste"))) paste->setEnabled(true);
    }
    return values;
}

void frmNotePad::EditMenuOpening() {
    if (QAction* paste = Action(QStringLiteral("mnuEPaste")))
        paste->setEnabled(!host_->ClipLines().empty());
    UpdateUndoActions();
}

void frmNotePad::SetTransferLock(bool locked) {
    for (const char* name : {"mnuFile", "mnuEdit", "mnuOpion", "mnuRadio", "munHelp"})
        if (QAction* a = Action(QString::fromLatin1(name))) a->setEnabled(!locked);
    lstClient_->setEnabled(!locked);
}

void frmNotePad::closeEvent(QCloseEvent* event) {
    if (released_) {
        event->accept();
        return;
    }
    if (!host_->QueryClose(number_)) {
        event->ignore();
        return;
    }
    released_ = true;
    event->accept();
}

}  // namespace talveron::document
