#include "link/port_detect.h"

#include <algorithm>
#include <string>

#include "image/model_table.h"
#include "link/radio_command.h"

namespace talveron::link {

namespace {

void Select(SerialPort& port, const PortChoice& choice) {
    if (choice.device.empty()) {
        port.SelectPort(choice.number);
    } else {
        port.SelectDevice(choice.device);
    }
}

void NoteRefusal(PortState& state, const OpenResult& result) {
    if (result.failure != OpenFailure::Permission) return;
    const bool known = std::any_of(state.refused.begin(), state.refused.end(),
                                   [&](const OpenResult& r) { return r.device == result.device; });
    if (!known) state.refused.push_back(result);
}

void ReportNotDetected(RadioLink& link) {
    std::string text(kNotDetected);
    const std::string notice = PermissionNotice(link.state);
    if (!notice.empty()) text += ": " + notice;
    link.status.SetStatus(text, StatusColor::Red);
    link.state.linkDown = true;
    link.status.FitStatus(15);
}

// "I", then the model code from its third byte; true when the radio is one of ours.
bool Identify(RadioLink& link) {
    RadioCommand(link, kCmdI);
    if (!link.state.replyOk || link.state.reply.size() < 3) return false;
    link.state.modelCode = static_cast<std::uint8_t>(kIdentityBase - link.state.reply[2]);
    if (!IsAcceptedModel(link.state.modelCode)) return false;
    link.status.SetStatus(ShortModelName(link.state.modelCode) + std::string(kDetectedSuffix),
                          StatusColor::Black);
    link.state.linkDown = false;
    link.status.FitStatus(15);
    return true;
}

}  // namespace

std::string PermissionNotice(const PortState& state) {
    std::string notice;
    for (const OpenResult& r : state.refused) {
        if (!notice.empty()) notice += "; ";
        notice += r.message.empty() ? r.device + ": permission denied" : r.message;
    }
    return notice;
}

void DetectRS(RadioLink& link) {
    LinkState& state = link.state;
    state.refused.clear();
    for (;;) {
        state.portList.clear();
        for (int number = 1; number <= 8; ++number) {
            link.port.SelectPort(number);
            const OpenResult opened = link.port.Open();
            if (opened.ok()) {
                state.portList.push_back(PortChoice{number, {}});
            } else {
                NoteRefusal(state, opened);
            }
            link.port.Close();
        }
        if (!state.portList.empty()) break;
        const Answer again =
            link.prompt.Ask({Asks::DetectAgain, std::string(kNoPortText), "", Buttons::YesNoCancel,
                             Icon::Exclamation, Answer::Yes});
        if (again != Answer::Yes) break;
    }
    state.portIndex = static_cast<int>(state.portList.size());
    if (!state.refused.empty()) ShowStatus(link.status, PermissionNotice(state));
}

void ConnectRadio(RadioLink& link) {
    LinkState& state = link.state;
    SerialPort& port = link.port;
    if (!port.IsOpen()) {
        if (state.portIndex == 0) {
            link.prompt.Ask({Asks::NoPort, std::string(kCommPortErrorText),
                             std::string(kCommPortErrorTitle), Buttons::Ok, Icon::Critical,
                             Answer::Ok});
            return;
        }
        bool answered = false;
        for (state.portIndex = 1; state.portIndex <= static_cast<int>(state.portList.size());
             ++state.portIndex) {
            Select(port, state.portList[state.portIndex - 1]);
            const OpenResult opened = port.Open();
            if (opened.ok()) {
                RadioCommand(link, kCmdV);
                if (state.replyOk) {
                    answered = true;
                    break;
                }
            } else {
                NoteRefusal(state, opened);
            }
            port.Close();
        }
        if (!answered) {
            ReportNotDetected(link);
            return;
        }
    } else {
        RadioCommand(link, kCmdV);
        if (!state.replyOk) {
            ReportNotDetected(link);
            return;
        }
    }
    if (!Identify(link)) ReportNotDetected(link);
}

}  // namespace talveron::link
