// frmCHoption, the list of channel options ("List of Channel Option "): one line per channel
// of a document whose receive side is in use, beside that document's channel list. A
// double-click or Enter on a line asks for the option dialog of its channel.
#pragma once

#include <QWidget>
#include <functional>

#include "image/document.h"

class QLabel;
class QListWidget;

namespace talveron::document {
class frmNotePad;
}

namespace talveron::channel {

class frmCHoption : public QWidget {
    Q_OBJECT
  public:
    explicit frmCHoption(QWidget* parent = nullptr);

    // The option lines of document number; the line of the channel selected before stays
    // selected.
    void Fill(int number, const Document& doc);
    // Makes the line of a channel the selected one.
    void SelectChannel(int channel);
    // As tall as the window's channel list and 1000 twips more, its top at the list's top.
    void PlaceBeside(const document::frmNotePad& window);
    int Number() const { return number_; }

    // Asked with the channel of the line double-clicked or entered.
    std::function<void(int channel)> onOpen;

    QLabel* lblTitle() const { return title_; }
    QListWidget* lstCHoption() const { return list_; }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void OpenCurrent();

    int number_ = 0;
    QLabel* title_;
    QListWidget* list_;
};

}  // namespace talveron::channel
