#include "vradio/virtual_radio.h"

#include <utility>

namespace talveron::vradio {

VirtualRadio::VirtualRadio(int modelCode, EepromImage memory, std::vector<Fault> faults)
    : model_(modelCode), memory_(std::move(memory)), faults_(std::move(faults)) {
    spent_.assign(faults_.size(), false);
    for (const Fault& f : faults_) {
        if (f.kind == Fault::Kind::Silent) silent_ = true;
    }
}

std::uint8_t VirtualRadio::IdentityByte() const {
    std::uint8_t id = static_cast<std::uint8_t>(kIdentityBase - model_);
    for (const Fault& f : faults_) {
        if (f.kind == Fault::Kind::Identity) id = f.identity;
    }
    return id;
}

EepromImage VirtualRadio::SaveImage() const {
    EepromImage image = memory_;
    image.push_back(static_cast<std::uint8_t>(model_));
    return image;
}

void VirtualRadio::Receive(std::uint8_t byte, Bytes& out) {
    if (silent_ || dead_) return;
    out.push_back(byte);  // the echo
    if (frame_.empty() && FrameLength(byte) == 0) return;
    frame_.push_back(byte);
    if (frame_.size() == FrameLength(frame_[0])) {
        if (frame_.size() >= 3) SpoilEcho(frame_[1] * 256 + frame_[2], out.back());
        Answer(out);
        frame_.clear();
    }
}

void VirtualRadio::SpoilEcho(int address, std::uint8_t& echo) {
    for (std::size_t i = 0; i < faults_.size(); ++i) {
        const Fault& f = faults_[i];
        if (f.kind != Fault::Kind::Echo || !f.Covers(address) || (spent_[i] && !f.always)) continue;
        echo ^= 0x01;
        spent_[i] = true;
    }
}

Bytes VirtualRadio::Receive(std::span<const std::uint8_t> bytes) {
    Bytes out;
    for (std::uint8_t b : bytes) Receive(b, out);
    return out;
}

Bytes VirtualRadio::MemoryAt(int address) const {
    Bytes data(kBlockBytes, 0xFF);
    for (std::size_t i = 0; i < kBlockBytes; ++i) {
        const std::size_t a = static_cast<std::size_t>(address) + i;
        if (a < memory_.size()) data[i] = memory_[a];
    }
    return data;
}

void VirtualRadio::ApplyFaults(int address, Bytes& answer) {
    bool cut = false;
    bool extra = false;
    for (std::size_t i = 0; i < faults_.size(); ++i) {
        const Fault& f = faults_[i];
        if (!f.Covers(address)) continue;
        switch (f.kind) {
            case Fault::Kind::Corrupt:
                if (f.always || !spent_[i]) {
                    answer[f.address - address] ^= 0xFF;
                    spent_[i] = true;
                }
                break;
            case Fault::Kind::Short:
                cut = true;
                break;
            case Fault::Kind::Long:
                extra = true;
                break;
            default:
                break;
        }
    }
    if (cut) answer.pop_back();
    // The stray byte repeats the last one, as a line that bounces would.
    if (extra) answer.push_back(answer.empty() ? 0x00 : answer.back());
}

void VirtualRadio::Answer(Bytes& out) {
    const std::uint8_t letter = frame_[0];
    if (letter == kLetterV) {
        out.push_back(kVAnswer);
        return;
    }
    if (letter == kLetterI) {
        out.push_back(IdentityByte());
        return;
    }
    const int address = frame_[1] * 256 + frame_[2];
    for (const Fault& f : faults_) {
        if (f.kind == Fault::Kind::Dead && f.Covers(address)) {
            // The line goes dead before the radio does anything with the frame.
            dead_ = true;
            return;
        }
    }
    if (letter == kLetterW) {
        for (int i = 0; i < 4; ++i) {
            const std::size_t a = static_cast<std::size_t>(address + i);
            if (a < memory_.size()) memory_[a] = frame_[3 + i];
        }
    }
    Bytes answer = MemoryAt(address);
    ApplyFaults(address, answer);
    out.insert(out.end(), answer.begin(), answer.end());
}

}  // namespace talveron::vradio
