// Upload (read the radio's memory) and Download (write a document into the radio), with the
// connection, the retries, the questions and the band check around the frame-by-frame pass.
// The caller owns the documents: an Upload hands back the image, and the closing steps
// (the range check of the active document, or the reset when none is open) are the caller's.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "image/document.h"
#include "image/eeprom_image.h"
#include "image/range_check.h"
#include "link/radio_link.h"

namespace talveron::link {

// What RunTransfer does: read the radio's memory, or write a document into the radio.
enum Operation : int { kOpUpload = 0, kOpDownload = 1 };

inline constexpr std::string_view kConnectingErr = "Connecting Err";
inline constexpr std::string_view kUploadErr = "Upload Err";
inline constexpr std::string_view kDownloadErr = "Download Err";
inline constexpr std::string_view kCheckConnection = " !  Make sure the connection is OK";
inline constexpr std::string_view kTryAgain = "\nTry Again ?";
inline constexpr std::string_view kBandCrossed = "Error warning: Band are Crossed !";
inline constexpr std::string_view kContinueText = "\nDo you want to continue ?";

// What a Download writes and what its band check looks at, taken from the active document
// before the transfer starts: a transfer keeps no pointer into a document while the program
// goes on processing events.
struct DownloadContent {
    EepromImage image;       // the bytes to send, model byte last
    std::uint8_t model = 0;  // the document's model code
    std::string caption;     // the band warning's title
    RangeVerdict verdict;    // the document's band and raster check
};

// The content of a document: its rebuilt image, or when given the bytes as a file holds them
// (model byte last), so that writing a radio's backup gives it back byte for byte.
DownloadContent ContentOf(const Document& document, const EepromImage* image = nullptr);

struct TransferRequest {
    Operation operation = kOpUpload;  // 0 Upload, 1 Download, anything else only the closing steps
    // Title of the questions: the active document window's caption, or the main window's
    // caption when no document window is active.
    std::string title;
    // Download: what to write (none when no document is active).
    std::optional<DownloadContent> download;
};

struct TransferOutcome {
    enum class Result {
        Uploaded,       // image and modelCode hold what was read
        Downloaded,     // every block written and read back equal
        ConnectFailed,  // no radio found, and the user gave up
        Failed,         // a pass failed, and the user gave up
        Declined,       // the band warning was not answered Yes
        NothingDone,    // an operation code other than 0 and 1
    };
    Result result = Result::NothingDone;
    EepromImage image;  // Uploaded only: the memory and the model byte (= modelCode) last
    int modelCode = 0;
    // What went wrong: "Upload Err !  Make sure the connection is OK", the band warning, ...
    std::string message;

    bool ok() const { return result == Result::Uploaded || result == Result::Downloaded; }
    // Everything but a successful Upload ends with the closing steps of the caller.
    bool NeedsClosingSteps() const { return result != Result::Uploaded; }
};

// The whole operation. An Upload that fails or is given up never yields an image.
TransferOutcome RunTransfer(RadioLink& link, const TransferRequest& request);

// The memory probe: "R" at 0x0008, sent once more when it fails. On success sets
// state.largeMemory from bit 1 of the byte at 0x000A and returns true.
bool ProbeMemory(RadioLink& link);

// One pass over the radio's memory. Reading replaces image by the radio's memory plus a
// zero model byte (the caller sets it); writing sends image up to the radio's memory size,
// checking each block's read-back with one retry per pass. title is the questions' title.
// Returns whether the pass succeeded; on failure the status line reads "Not detected".
bool TransferBlocks(RadioLink& link, bool reading, EepromImage& image, const std::string& title);

// The bytes a Download writes into a radio: the radio's whole memory (144 or 808 bytes),
// taken from the document's image without its model byte, cut to the memory or filled up
// with empty records of zero bytes, and the memory-size bit of the radio type byte (0x0A
// bit 1) as the radio has it, since that bit describes the radio.
EepromImage SentImage(const EepromImage& image, bool largeMemory);

// Asks errorName + " !  Make sure the connection is OK" / "Try Again ?"; anything but Yes
// sets state.linkAbort.
void LinkErrorPrompt(RadioLink& link, std::string_view errorName, const std::string& title);

// The warning the Download asks about, or an empty text: the band crossed when the document's
// model is not the radio's, else a channel warning ("Chan...") of the status line or the
// document's range check when it found a fault.
std::string BandWarning(RadioLink& link, const DownloadContent& content);

}  // namespace talveron::link
