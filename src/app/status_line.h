// The main window's status line: the label labErrMsg on the tool strip picToolbar, written
// through ShowStatus and FitStatus, and Timer1, which blinks the line once a second while its
// colour is red (255). StatusText/StatusColor are the text and colour saved for the ReadMe
// viewer to put back.
#pragma once

#include <QObject>
#include <QString>
#include <QTimer>
#include <cstdint>

class QLabel;
class QWidget;

namespace talveron::app {

inline constexpr std::uint32_t kStatusBlack = 0;
inline constexpr std::uint32_t kStatusRed = 255;

class StatusLine : public QObject {
    Q_OBJECT
  public:
    // toolbar is picToolbar, label is labErrMsg (a child of toolbar).
    StatusLine(QWidget* toolbar, QLabel* label, QObject* parent = nullptr);

    // The text in black, fitted at font size 12.
    void ShowStatus(const QString& text);
    // Sets the font size on the tool strip and the label, makes the label exactly as wide as
    // its text in that font and makes it visible.
    void FitStatus(int pointSize);
    // Text and colour (a colour value: 255 is red, 0 black) without fitting.
    void SetText(const QString& text, std::uint32_t color);

    QString Text() const;
    std::uint32_t Color() const { return color_; }
    bool Visible() const;

    // The saved state the ReadMe viewer restores.
    void SaveState();
    QString StatusText() const { return statusText_; }
    std::uint32_t StatusColor() const { return statusColor_; }

    // Timer1.
    void StartTimer() { timer_.start(); }
    void StopTimer() { timer_.stop(); }
    bool TimerActive() const { return timer_.isActive(); }
    // One tick of Timer1: a red line changes its visibility, any other stays as it is.
    void Tick();

    QLabel* Label() const { return label_; }

  private:
    QWidget* toolbar_;
    QLabel* label_;
    QTimer timer_;
    std::uint32_t color_ = kStatusBlack;
    QString statusText_;
    std::uint32_t statusColor_ = kStatusBlack;
};

// A colour value as the program keeps it (red in the low byte, green, blue) as a QColor name.
QString ColorValueName(std::uint32_t value);

}  // namespace talveron::app
