// The main window's status line: the label labErrMsg on the tool strip picToolbar, written
// through ShowStatus and FitStatus, and Timer1, which blinks the line once a second while its
// colour is red. StatusText is the text saved for the ReadMe viewer to put back (in black).
#pragma once

#include <QObject>
#include <QString>
#include <QTimer>

#include "image/status_color.h"

class QLabel;
class QWidget;

namespace talveron::app {

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
    // Text and colour without fitting; channelWarning tells a document's channel warning
    // from any other text.
    void SetText(const QString& text, StatusColor color, bool channelWarning = false);
    bool ChannelWarning() const { return channelWarning_; }

    QString Text() const;
    StatusColor Color() const { return color_; }
    bool Visible() const;

    // The saved state the ReadMe viewer restores.
    void SaveState();
    QString StatusText() const { return statusText_; }
    bool SavedChannelWarning() const { return savedWarning_; }

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
    StatusColor color_ = StatusColor::Black;
    QString statusText_;
    bool channelWarning_ = false;
    bool savedWarning_ = false;
};

// A colour value as the program keeps it (red in the low byte, green, blue) as a QColor name.
QString ColorValueName(StatusColor color);

}  // namespace talveron::app
