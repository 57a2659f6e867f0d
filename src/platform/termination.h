// SIGTERM and SIGINT end the desktop program in order instead of killing it where it stands:
// the signal handler only writes the signal's number into a pipe, the event loop reads it and
// ends every running loop (modal dialogs included), and the program then closes the serial
// port (removing its lock file) and stops the virtual radio as at any other end. Unix only;
// elsewhere it does nothing.
#pragma once

#include <QObject>

class QSocketNotifier;

namespace talveron::platform {

class TerminationSignals : public QObject {
    Q_OBJECT
  public:
    // Catches SIGTERM and SIGINT for as long as it lives; one at a time.
    explicit TerminationSignals(QObject* parent = nullptr);
    ~TerminationSignals() override;
    TerminationSignals(const TerminationSignals&) = delete;
    TerminationSignals& operator=(const TerminationSignals&) = delete;

    // The signal that arrived (0 while none has). Once one has, the event loop must not be
    // entered again: starting it clears the request to end.
    int Received() const { return received_; }

  private:
    void Read();

    QSocketNotifier* notifier_ = nullptr;
    int received_ = 0;
};

}  // namespace talveron::platform
