// UiServices for tests and unattended runs: message boxes and file dialogs are answered from
// queues given in advance, and every question is recorded (text, title, buttons, icon, default
// button) so a test can check exactly what the user would have seen. An unexpected question
// is answered with Cancel/No (or an empty file name) and counted. Beeps are counted, not
// sounded. The busy pointer, the clipboard and event processing are the real ones.
#pragma once

#include <deque>
#include <functional>
#include <optional>
#include <vector>

#include "platform/ui_services.h"

namespace talveron::platform {

class ScriptedUiServices : public QtUiServices {
  public:
    void AnswerMessage(MsgButton answer) { messageAnswers_.push_back(answer); }
    void AnswerOpen(const QString& path) { openAnswers_.push_back(path); }
    void AnswerSave(const QString& path) { saveAnswers_.push_back(path); }
    // Answers the next save dialog as a user pressing Save at once would: with the name it
    // was preset with, taken in the dialog's starting folder (the current folder when none is
    // given) when it is relative, the default suffix added when the name has none.
    void AcceptSavePreset() { saveAnswers_.push_back(std::nullopt); }
    // Runs when a message box would show, before it is answered (to look at the program
    // while the question is open).
    std::function<void(const MessageRequest&)> onMessage;

    MsgButton Message(const MessageRequest& request) override;
    QString OpenFileName(const FileRequest& request) override;
    QString SaveFileName(const FileRequest& request) override;
    void Beep() override { ++beeps_; }

    int Beeps() const { return beeps_; }
    const std::vector<MessageRequest>& Messages() const { return messages_; }
    const std::vector<FileRequest>& OpenRequests() const { return openRequests_; }
    const std::vector<FileRequest>& SaveRequests() const { return saveRequests_; }
    int Unexpected() const { return unexpected_; }
    // Answers not used yet.
    std::size_t PendingAnswers() const {
        return messageAnswers_.size() + openAnswers_.size() + saveAnswers_.size();
    }
    void ClearRecords();

  private:
    std::deque<MsgButton> messageAnswers_;
    std::deque<QString> openAnswers_;
    std::deque<std::optional<QString>> saveAnswers_;  // nullopt: accept the preset
    std::vector<MessageRequest> messages_;
    std::vector<FileRequest> openRequests_;
    std::vector<FileRequest> saveRequests_;
    int unexpected_ = 0;
    int beeps_ = 0;
};

}  // namespace talveron::platform
