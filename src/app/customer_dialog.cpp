#include "app/customer_dialog.h"

#include <QCloseEvent>
#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace talveron::app {

CustomerDialog::CustomerDialog(int number, const QString& customer, const QString& serial,
                               QWidget* parent)
    : QDialog(parent), number_(number) {
    setObjectName(QStringLiteral("frmCh_edit"));
    setWindowTitle(QStringLiteral("Customer Info."));
    setAttribute(Qt::WA_DeleteOnClose);
    setModal(false);
    QFont font(QStringLiteral("Courier"));
    font.setStyleHint(QFont::TypeWriter);
    font.setFixedPitch(true);
    font.setPointSize(12);
    setFont(font);

    auto* grid = new QGridLayout(this);
    auto* label0 = new QLabel(QStringLiteral("Customer     :"), this);
    label0->setObjectName(QStringLiteral("Label1_0"));
    auto* label1 = new QLabel(QStringLiteral("Serial Number:"), this);
    label1->setObjectName(QStringLiteral("Label1_1"));
    customer_ = new QLineEdit(customer, this);
    customer_->setObjectName(QStringLiteral("Rx_DTMF_0"));
    serial_ = new QLineEdit(serial, this);
    serial_->setObjectName(QStringLiteral("Rx_DTMF_1"));
    customer_->setMinimumWidth(QFontMetrics(font).horizontalAdvance(QString(24, QLatin1Char('W'))));
    grid->addWidget(label0, 0, 0);
    grid->addWidget(customer_, 0, 1);
    grid->addWidget(label1, 1, 0);
    grid->addWidget(serial_, 1, 1);

    ok_ = new QPushButton(QStringLiteral("OK"), this);
    ok_->setObjectName(QStringLiteral("Command1"));
    cancel_ = new QPushButton(QStringLiteral("CANCEL"), this);
    cancel_->setObjectName(QStringLiteral("Command2"));
    ok_->setAutoDefault(false);
    cancel_->setAutoDefault(false);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(ok_);
    buttons->addStretch();
    buttons->addWidget(cancel_);
    grid->addLayout(buttons, 2, 0, 1, 2);

    setTabOrder(customer_, serial_);
    setTabOrder(serial_, ok_);
    setTabOrder(ok_, cancel_);

    connect(ok_, &QPushButton::clicked, this, [this] {
        if (onAccept) onAccept(number_, customer_->text(), serial_->text());
        close();
    });
    connect(cancel_, &QPushButton::clicked, this, &QDialog::close);
}

void CustomerDialog::changeEvent(QEvent* event) {
    QDialog::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow() && !closed_ && onActivate)
        onActivate();
}

void CustomerDialog::closeEvent(QCloseEvent* event) {
    QDialog::closeEvent(event);
    if (!event->isAccepted() || closed_) return;
    closed_ = true;
    if (onClose) onClose();
}

}  // namespace talveron::app
