#include "app/link_adapters.h"

#include <QLabel>

namespace talveron::app {

platform::MessageRequest ToMessageRequest(const link::Question& question) {
    platform::MessageRequest request;
    request.text = QString::fromStdString(question.text);
    request.title = QString::fromStdString(question.title);
    switch (question.buttons) {
        case link::Buttons::Ok:
            request.buttons = platform::kOk;
            break;
        case link::Buttons::YesNo:
            request.buttons = platform::kYes | platform::kNo;
            break;
        case link::Buttons::YesNoCancel:
            request.buttons = platform::kYes | platform::kNo | platform::kCancel;
            break;
    }
    switch (question.icon) {
        case link::Icon::None:
            request.icon = platform::MsgIcon::None;
            break;
        case link::Icon::Critical:
            request.icon = platform::MsgIcon::Critical;
            break;
        case link::Icon::Question:
            request.icon = platform::MsgIcon::Question;
            break;
        case link::Icon::Exclamation:
            request.icon = platform::MsgIcon::Exclamation;
            break;
        case link::Icon::Information:
            request.icon = platform::MsgIcon::Information;
            break;
    }
    switch (question.defaultButton) {
        case link::Answer::Ok:
            request.defaultButton = platform::kOk;
            break;
        case link::Answer::Yes:
            request.defaultButton = platform::kYes;
            break;
        case link::Answer::No:
            request.defaultButton = platform::kNo;
            break;
        case link::Answer::Cancel:
            request.defaultButton = platform::kCancel;
            break;
    }
    // The first button is the default anyway; say so only when it is not.
    if (request.defaultButton == platform::kOk && !(request.buttons & platform::kOk))
        request.defaultButton = platform::kNoButton;
    return request;
}

link::Answer PromptAdapter::Ask(const link::Question& question) {
    link::Answer answer = link::Answer::Ok;
    switch (ui_.Message(ToMessageRequest(question))) {
        case platform::kYes:
            answer = link::Answer::Yes;
            break;
        case platform::kNo:
            answer = link::Answer::No;
            break;
        case platform::kCancel:
            answer = link::Answer::Cancel;
            break;
        default:
            break;
    }
    if (onAnswered) onAnswered(question, answer);
    return answer;
}

void StatusAdapter::SetStatus(const std::string& text, StatusColor color) {
    if (!status_) return;
    status_->SetText(QString::fromStdString(text), color);
    status_->Label()->setVisible(true);
}

}  // namespace talveron::app
