#include "platform/scripted_ui_services.h"

#include <QDir>
#include <QFileInfo>

namespace talveron::platform {

MsgButton ScriptedUiServices::Message(const MessageRequest& request) {
    messages_.push_back(request);
    if (onMessage) onMessage(request);
    if (messageAnswers_.empty()) {
        ++unexpected_;
        if (request.buttons & kCancel) return kCancel;
        if (request.buttons & kNo) return kNo;
        return kOk;
    }
    const MsgButton answer = messageAnswers_.front();
    messageAnswers_.pop_front();
    return answer;
}

QString ScriptedUiServices::OpenFileName(const FileRequest& request) {
    openRequests_.push_back(request);
    if (openAnswers_.empty()) {
        ++unexpected_;
        return {};
    }
    QString answer = openAnswers_.front();
    openAnswers_.pop_front();
    return answer;
}

QString ScriptedUiServices::SaveFileName(const FileRequest& request) {
    saveRequests_.push_back(request);
    if (saveAnswers_.empty()) {
        ++unexpected_;
        return {};
    }
    const std::optional<QString> answer = saveAnswers_.front();
    saveAnswers_.pop_front();
    if (answer) return *answer;
    if (request.presetName.isEmpty()) return {};
    const QDir folder = request.folder.isEmpty() ? QDir::current() : QDir(request.folder);
    QString path = folder.absoluteFilePath(request.presetName);
    if (QFileInfo(path).suffix().isEmpty() && !request.defaultSuffix.isEmpty())
        path += QLatin1Char('.') + request.defaultSuffix;
    return QDir::cleanPath(path);
}

void ScriptedUiServices::ClearRecords() {
    messages_.clear();
    openRequests_.clear();
    saveRequests_.clear();
    unexpected_ = 0;
    beeps_ = 0;
}

}  // namespace talveron::platform
