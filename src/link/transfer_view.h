// What a transfer shows while it runs: the progress bar, the busy pointer, menus and the
// blink timer, and the event processing that keeps the program responsive between frames.
#pragma once

namespace talveron::link {

class TransferView {
  public:
    virtual ~TransferView() = default;
    // Stops the blink timer and shows the progress bar.
    virtual void BeginTransfer() = 0;
    // Enables the menus again, hides the progress bar and starts the blink timer.
    virtual void EndTransfer() = 0;
    // Places the progress bar right of the status line, value 0.
    virtual void PlaceProgress() = 0;
    virtual void SetProgressMaximum(int maximum) = 0;
    virtual void SetProgressValue(int value) = 0;
    // The busy (hourglass) pointer on, or the normal pointer back.
    virtual void SetBusy(bool busy) = 0;
    // Lets the platform handle whatever events are pending, without waiting for more.
    virtual void ProcessEvents() = 0;
};

}  // namespace talveron::link
