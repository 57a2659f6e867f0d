#include "app/status_line.h"

#include <QColor>
#include <QFontMetrics>
#include <QLabel>
#include <QWidget>

namespace talveron::app {

QString ColorValueName(StatusColor color) {
    const auto value = static_cast<std::uint32_t>(color);
    return QColor(static_cast<int>(value & 0xFF), static_cast<int>((value >> 8) & 0xFF),
                  static_cast<int>((value >> 16) & 0xFF))
        .name();
}

StatusLine::StatusLine(QWidget* toolbar, QLabel* label, QObject* parent)
    : QObject(parent), toolbar_(toolbar), label_(label) {
    timer_.setInterval(1000);
    connect(&timer_, &QTimer::timeout, this, &StatusLine::Tick);
}

void StatusLine::SetText(const QString& text, StatusColor color, bool channelWarning) {
    color_ = color;
    channelWarning_ = channelWarning;
    label_->setText(text);
    label_->setStyleSheet(QStringLiteral("color: %1;").arg(ColorValueName(color)));
}

void StatusLine::ShowStatus(const QString& text) {
    SetText(text, StatusColor::Black);
    FitStatus(12);
}

void StatusLine::FitStatus(int pointSize) {
    QFont font = toolbar_->font();
    font.setPointSize(pointSize);
    toolbar_->setFont(font);
    label_->setFont(font);
    const int width = QFontMetrics(toolbar_->font()).horizontalAdvance(label_->text());
    label_->resize(width, label_->height());
    label_->setVisible(true);
}

QString StatusLine::Text() const {
    return label_->text();
}

bool StatusLine::Visible() const {
    return !label_->isHidden();
}

void StatusLine::SaveState() {
    statusText_ = label_->text();
    savedWarning_ = channelWarning_;
}

void StatusLine::Tick() {
    if (color_ == StatusColor::Red) label_->setVisible(label_->isHidden());
}

}  // namespace talveron::app
