#include "app/frm_hi.h"

#include <QGuiApplication>
#include <QLabel>
#include <QScreen>
#include <QVBoxLayout>

#include "version.h"

namespace talveron::app {

frmHi::frmHi(QWidget* parent) : QWidget(parent, Qt::Dialog | Qt::FramelessWindowHint) {
    setObjectName(QStringLiteral("frmHi"));
    setWindowTitle(QStringLiteral("Hello"));
    setAttribute(Qt::WA_DeleteOnClose);
    setFocusPolicy(Qt::StrongFocus);
    setStyleSheet(QStringLiteral("frmHi { border: 2px solid #404040; background: #f4f4f4; }"));
    setAttribute(Qt::WA_StyledBackground);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(36, 28, 36, 28);
    layout->setSpacing(12);
    auto add = [&](const char* name, const QString& text, int pointSize, bool bold) {
        auto* label = new QLabel(text, this);
        label->setObjectName(QString::fromLatin1(name));
        QFont font = label->font();
        font.setPointSize(pointSize);
        font.setBold(bold);
        label->setFont(font);
        label->setAlignment(Qt::AlignCenter);
        layout->addWidget(label);
    };
    add("lblCompanyProduct", QStringLiteral("Welcome to PC Programmer !"), 16, true);
    add("lblProductName", QStringLiteral("Configuration utility for TALVERON"), 13, false);
    add("lblVersion", QStringLiteral("Version ") + QString::fromLatin1(kVersion), 11, false);
    add("lblNotice",
        QStringLiteral("Read, edit and write the memory of your radios.\n"
                       "Keep a copy of every radio's file before you write it."),
        9, false);
    adjustSize();
}

void frmHi::CenterOnScreen() {
    QScreen* screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen();
    if (!screen) return;
    const QRect area = screen->geometry();
    move(area.x() + (area.width() - width()) / 2, area.y() + (area.height() - height()) / 2);
}

void frmHi::mousePressEvent(QMouseEvent*) {
    close();
}

void frmHi::keyPressEvent(QKeyEvent*) {
    close();
}

void frmHi::focusOutEvent(QFocusEvent*) {
    close();
}

}  // namespace talveron::app
