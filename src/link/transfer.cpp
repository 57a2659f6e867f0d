#include "link/transfer.h"

#include <algorithm>

#include "image/range_check.h"
#include "link/port_detect.h"
#include "link/radio_command.h"

namespace talveron::link {

namespace {

constexpr int kProbeAddress = 0x0008;

std::string FailureText(std::string_view errorName) {
    return std::string(errorName) + std::string(kCheckConnection);
}

// The pass over the memory once the probe has answered.
bool MovePass(RadioLink& link, bool reading, EepromImage& image, const EepromImage& sent) {
    LinkState& state = link.state;
    const Command command = reading ? kCmdR : kCmdW;
    bool retryLeft = true;
    link.view.SetProgressMaximum(state.imageLast);
    link.view.SetProgressValue(0);
    state.SetAddress(0);
    link.view.SetBusy(true);
    while (state.Address() < state.imageLast) {
        RadioCommand(link, command, sent);
        if (!state.replyOk) return false;
        const std::size_t address = static_cast<std::size_t>(state.Address());
        const Bytes& reply = state.reply;
        if (reading) {
            for (std::size_t i = 0; i < 4 && address + i < image.size(); ++i) {
                image[address + i] = reply.size() > 3 + i ? reply[3 + i] : 0;
            }
        } else {
            bool same = reply.size() >= 11;
            for (std::size_t i = 0; same && i < 4; ++i) {
                same = address + i < sent.size() && reply[7 + i] == sent[address + i];
            }
            if (!same) {
                if (!retryLeft) return false;
                retryLeft = false;
                continue;  // the same address once more
            }
        }
        state.SetAddress(state.Address() + 4);
        link.view.SetProgressValue(state.Address());
        link.view.ProcessEvents();
    }
    return true;
}

}  // namespace

EepromImage SentImage(const EepromImage& image, bool largeMemory) {
    if (image.empty()) return {};
    // The last byte is the model byte. A radio holds 144 or 808 bytes: a file with more
    // records than that is cut to the memory, and one with fewer (16 channels for a
    // 99-channel radio) is followed by empty records of zero bytes, so the radio holds
    // exactly what was written and none of its old channels stays live behind it.
    const std::size_t memory = largeMemory ? kLargeMemory : kSmallMemory;
    const std::size_t size = std::min(image.size() - 1, memory);
    EepromImage sent(image.begin(), image.begin() + static_cast<std::ptrdiff_t>(size));
    sent.resize(memory, 0);
    if (sent.size() > kAddrRadioType) {
        sent[kAddrRadioType] = static_cast<std::uint8_t>((sent[kAddrRadioType] & ~kLargeMemoryBit) |
                                                         (largeMemory ? kLargeMemoryBit : 0));
    }
    return sent;
}

void LinkErrorPrompt(RadioLink& link, std::string_view errorName, const std::string& title) {
    link.state.linkAbort = false;
    link.view.SetBusy(false);
    const Answer answer =
        link.prompt.Ask({Asks::TryAgain, FailureText(errorName) + std::string(kTryAgain), title,
                         Buttons::YesNo, Icon::Question, Answer::Yes});
    if (answer != Answer::Yes) link.state.linkAbort = true;
}

bool ProbeMemory(RadioLink& link) {
    LinkState& state = link.state;
    state.SetAddress(kProbeAddress);
    RadioCommand(link, kCmdR);
    if (!state.replyOk) RadioCommand(link, kCmdR);
    if (!state.replyOk || state.reply.size() < 7) return false;
    state.largeMemory = (state.reply[5] & kLargeMemoryBit) != 0;
    return true;
}

bool TransferBlocks(RadioLink& link, bool reading, EepromImage& image, const std::string& title) {
    LinkState& state = link.state;
    link.view.BeginTransfer();
    std::string& errorName = state.errorName;
    errorName.clear();
    bool passed = false;
    if (ProbeMemory(link)) {
        EepromImage sent;
        if (reading) {
            state.blockCount = state.largeMemory ? kLargeChannels : kSmallChannels;
            state.imageLast = static_cast<int>(MemorySize(state.blockCount));
            image.assign(static_cast<std::size_t>(state.imageLast) + 1, 0);
            errorName = kUploadErr;
        } else {
            sent = SentImage(image, state.largeMemory);
            state.imageLast = static_cast<int>(sent.size());
            errorName = kDownloadErr;
        }
        passed = MovePass(link, reading, image, sent);
    }
    if (!passed) {
        link.status.SetStatus(std::string(kNotDetected), StatusColor::Red);
        link.status.FitStatus(15);
        LinkErrorPrompt(link, errorName, title);
    }
    link.view.EndTransfer();
    return passed;
}

DownloadContent ContentOf(const Document& document, const EepromImage* image) {
    return {image ? *image : BuildImage(document), document.state.model, document.caption,
            CheckRanges(document.lines, document.Limits())};
}

std::string BandWarning(RadioLink& link, const DownloadContent& content) {
    if (content.model != link.state.modelCode) return std::string(kBandCrossed);
    if (link.status.ShowsChannelWarning()) return link.status.StatusText();
    // The status line holds the detection result at this moment, so the document's own
    // channel warning is looked at as well.
    if (content.verdict.fault) return content.verdict.text;
    return {};
}

TransferOutcome RunTransfer(RadioLink& link, const TransferRequest& request) {
    LinkState& state = link.state;
    TransferOutcome outcome;
    const bool upload = request.operation == kOpUpload;
    const bool download = request.operation == kOpDownload && request.download.has_value();
    while (upload || download) {
        ConnectRadio(link);
        if (state.linkDown) {
            LinkErrorPrompt(link, kConnectingErr, request.title);
            if (state.linkAbort) {
                outcome.result = TransferOutcome::Result::ConnectFailed;
                outcome.message = FailureText(kConnectingErr);
                break;
            }
            continue;
        }
        state.SetAddress(0);
        link.view.SetBusy(true);
        link.view.PlaceProgress();
        state.linkAbort = false;

        if (upload) {
            EepromImage image;
            const bool passed = TransferBlocks(link, true, image, request.title);
            if (passed) {
                image.back() = state.modelCode;
                outcome.result = TransferOutcome::Result::Uploaded;
                outcome.image = std::move(image);
                outcome.modelCode = state.modelCode;
                outcome.message.clear();
                break;
            }
            outcome.message = FailureText(state.errorName);
            if (state.linkAbort) {
                outcome.result = TransferOutcome::Result::Failed;
                break;
            }
            continue;
        }

        const DownloadContent& content = *request.download;
        const std::string warning = BandWarning(link, content);
        if (!warning.empty()) {
            link.view.SetBusy(false);
            const Answer answer =
                link.prompt.Ask({Asks::BandWarning, warning + std::string(kContinueText),
                                 content.caption, Buttons::YesNo, Icon::Critical, Answer::No});
            if (answer != Answer::Yes) {
                outcome.result = TransferOutcome::Result::Declined;
                outcome.message = warning;
                break;
            }
        }
        link.view.SetBusy(true);
        EepromImage image = content.image;
        if (TransferBlocks(link, false, image, request.title)) {
            outcome.result = TransferOutcome::Result::Downloaded;
            outcome.message.clear();
            break;
        }
        if (state.linkAbort) {
            outcome.result = TransferOutcome::Result::Failed;
            outcome.message = FailureText(state.errorName);
            break;
        }
    }
    link.view.SetBusy(false);
    return outcome;
}

}  // namespace talveron::link
