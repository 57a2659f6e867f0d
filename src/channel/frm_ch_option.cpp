#include "channel/frm_ch_option.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QListView>
#include <QListWidget>
#include <QScreen>
#include <QStyle>

#include "document/frm_notepad.h"
#include "image/channel_line.h"
#include "image/option_edit.h"
#include "platform/courier_font.h"
#include "platform/twips.h"

namespace talveron::channel {

namespace {

using platform::TwipsToPixels;

constexpr int kMargin = 120;  // twips

}  // namespace

frmCHoption::frmCHoption(QWidget* parent) : QWidget(parent, Qt::Window) {
    setObjectName(QStringLiteral("frmCHoption"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("List of Channel Option "));
    setFont(platform::CourierFont(12));
    title_ = new QLabel(QString::fromLatin1(kOptionTitle.data(), int(kOptionTitle.size())), this);
    title_->setObjectName(QStringLiteral("lblTitle"));
    list_ = new QListWidget(this);
    list_->setObjectName(QStringLiteral("lstCHoption"));
    list_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    list_->installEventFilter(this);
    connect(list_, &QListWidget::itemDoubleClicked, this, [this] { OpenCurrent(); });
    const int margin = TwipsToPixels(kMargin);
    title_->move(margin, margin);
    title_->adjustSize();
    list_->move(margin, title_->geometry().bottom() + 1);
    list_->resize(title_->width() + 2 * list_->frameWidth() +
                      list_->style()->pixelMetric(QStyle::PM_ScrollBarExtent),
                  TwipsToPixels(3000));
}

void frmCHoption::Fill(int number, const Document& doc) {
    const QListWidgetItem* current = list_->currentItem();
    const int keep =
        current && number == number_ ? OptionLineChannel(current->text().toStdString()) : 0;
    number_ = number;
    list_->clear();
    for (const std::string& line : OptionListLines(doc.lines, doc.state.chOpt))
        list_->addItem(QString::fromStdString(line));
    SelectChannel(keep);
}

void frmCHoption::SelectChannel(int channel) {
    for (int row = 0; row < list_->count(); ++row)
        if (OptionLineChannel(list_->item(row)->text().toStdString()) == channel)
            list_->setCurrentRow(row);
}

void frmCHoption::PlaceBeside(const document::frmNotePad& window) {
    const QWidget* lst = window.List();
    list_->resize(list_->width(), lst->height());
    resize(list_->geometry().right() + TwipsToPixels(kMargin), lst->height() + TwipsToPixels(1000));
    QPoint at(window.mapToGlobal(QPoint(window.width(), 0)).x(), lst->mapToGlobal(QPoint()).y());
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        // Inside the screen, with room for the window frame.
        const QRect area = screen->availableGeometry().adjusted(0, 0, -TwipsToPixels(kMargin),
                                                                -TwipsToPixels(kMargin));
        at.setX(std::clamp(at.x(), area.left(), std::max(area.left(), area.right() - width())));
        at.setY(std::clamp(at.y(), area.top(), std::max(area.top(), area.bottom() - height())));
    }
    move(at);
}

void frmCHoption::OpenCurrent() {
    const QListWidgetItem* item = list_->currentItem();
    if (item && onOpen) onOpen(OptionLineChannel(item->text().toStdString()));
}

bool frmCHoption::eventFilter(QObject* watched, QEvent* event) {
    if (watched == list_ && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            OpenCurrent();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

}  // namespace talveron::channel
