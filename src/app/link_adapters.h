// The radio link's small interfaces over the desktop program's own services: its questions
// become message boxes of UiServices, its status line is the main window's labErrMsg.
#pragma once

#include <functional>

#include "app/status_line.h"
#include "link/status_line.h"
#include "link/user_prompt.h"
#include "platform/ui_services.h"

namespace talveron::app {

class PromptAdapter : public link::UserPrompt {
  public:
    explicit PromptAdapter(platform::UiServices& ui) : ui_(ui) {}
    link::Answer Ask(const link::Question& question) override;

    // Runs after each question has been answered, with the question and its answer.
    std::function<void(const link::Question&, link::Answer)> onAnswered;

  private:
    platform::UiServices& ui_;
};

class StatusAdapter : public link::StatusLine {
  public:
    StatusAdapter() = default;
    explicit StatusAdapter(app::StatusLine* status) : status_(status) {}
    // The status line is created with the window after the link; it is attached here.
    void Attach(app::StatusLine* status) { status_ = status; }
    void SetStatus(const std::string& text, StatusColor color) override;
    void FitStatus(int fontSize) override {
        if (status_) status_->FitStatus(fontSize);
    }
    std::string StatusText() const override {
        return status_ ? status_->Text().toStdString() : std::string();
    }
    bool ShowsChannelWarning() const override { return status_ && status_->ChannelWarning(); }

  private:
    app::StatusLine* status_ = nullptr;
};

// A link question as the message box request the platform shows.
platform::MessageRequest ToMessageRequest(const link::Question& question);

}  // namespace talveron::app
