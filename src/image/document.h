// A configuration while it is open: its channel lines (authoritative while open) and its
// DocState record (head copy, option byte per channel, model, dirty flag). Windows show a
// Document; they do not own the data.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "image/edit_history.h"
#include "image/eeprom_image.h"
#include "image/model_table.h"

namespace talveron {

struct DocState {
    bool changed = false;
    std::uint8_t model = 0;                      // model code 0 or 1
    std::array<std::uint8_t, kHeadSize> head{};  // copy of image addresses 0x00-0x0F
    std::vector<std::uint8_t> chOpt;             // option byte of each channel record
};

struct Document {
    std::string caption;  // the name in upper case: a file's path or "TEMPn.CFG"
    DocState state;
    std::vector<std::string> lines;  // one channel line per record
    std::string customer;            // shown and printed only; never part of the image
    std::string serial;
    EditHistory history;  // undo and redo of the content above

    int BlockCount() const { return static_cast<int>(lines.size()); }
    std::string_view ModelLineText() const { return ModelLine(state.model); }
    std::string ModelName() const { return ModelNameField(ModelLineText()); }
    std::string Band() const { return BandText(ModelLineText()); }
    BandLimits Limits() const { return BandFromText(Band()); }
};

// Upper-cases a name the way a document caption shows it.
std::string UpperCaption(std::string_view name);

// A new document on an image (head, records, model byte last) read from a file or a radio.
// modelCode is the code the open check or the radio gave (bit 7 of the byte cleared).
Document OpenDocument(const EepromImage& image, int modelCode, std::string_view name);

// The image of a document: address 0 is 0, 0x01-0x0F from the head copy, one record per
// line, the model byte last.
EepromImage BuildImage(const Document& doc);

// Every change to a document is one step of its history. EditDocument runs edit on the
// document and sets its Changed flag (an accepted dialog marks the document changed even when
// nothing differs); a step is recorded only when the content changed. A line the edit puts in
// use starts with no options when its option byte was an empty channel's. Undo and redo restore a
// step and set Changed to "not at the saved point". Each returns what changed.
DocChanges EditDocument(Document& doc, std::string_view label,
                        const std::function<void(Document&)>& edit);
DocChanges UndoEdit(Document& doc);
DocChanges RedoEdit(Document& doc);
inline bool CanUndo(const Document& doc) {
    return doc.history.CanUndo();
}
inline bool CanRedo(const Document& doc) {
    return doc.history.CanRedo();
}

}  // namespace talveron
