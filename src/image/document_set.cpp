#include "image/document_set.h"

#include <algorithm>
#include <utility>

namespace talveron {

int DocumentSet::FreeDocSlot() {
    for (std::size_t i = 0; i < slots_.size(); ++i) {
        if (slots_[i].deleted) {
            slots_[i].deleted = false;
            return static_cast<int>(i) + 1;
        }
    }
    slots_.emplace_back();
    slots_.back().deleted = false;
    return static_cast<int>(slots_.size());
}

int DocumentSet::Place(Document doc, const std::string& path, bool temp) {
    const int number = FreeDocSlot();
    Slot& slot = slots_[number - 1];
    slot.temp = temp;
    slot.path = path;
    slot.doc = std::make_unique<Document>(std::move(doc));
    return number;
}

int DocumentSet::AddFile(Document doc, const std::string& path) {
    doc.caption = UpperCaption(path);
    return Place(std::move(doc), path, false);
}

int DocumentSet::AddUpload(Document doc) {
    ++tempCount_;
    doc.caption = UpperCaption("Temp" + std::to_string(tempCount_) + ".cfg");
    return Place(std::move(doc), std::string(), true);
}

DocumentSet::Slot* DocumentSet::SlotAt(int number) {
    if (number < 1 || number > UpperBound()) return nullptr;
    Slot& slot = slots_[number - 1];
    return slot.deleted ? nullptr : &slot;
}

const DocumentSet::Slot* DocumentSet::SlotAt(int number) const {
    if (number < 1 || number > UpperBound()) return nullptr;
    const Slot& slot = slots_[number - 1];
    return slot.deleted ? nullptr : &slot;
}

Document* DocumentSet::Get(int number) {
    Slot* slot = SlotAt(number);
    return slot ? slot->doc.get() : nullptr;
}

const Document* DocumentSet::Get(int number) const {
    const Slot* slot = SlotAt(number);
    return slot ? slot->doc.get() : nullptr;
}

std::string DocumentSet::Path(int number) const {
    const Slot* slot = SlotAt(number);
    return slot ? slot->path : std::string();
}

bool DocumentSet::IsTemp(int number) const {
    const Slot* slot = SlotAt(number);
    return slot && slot->temp;
}

void DocumentSet::MarkSaved(int number, const std::string& path) {
    Slot* slot = SlotAt(number);
    if (!slot) return;
    if (slot->temp) {
        // The upload now has a file of its own; its TEMP number is given back.
        slot->temp = false;
        --tempCount_;
    }
    slot->path = path;
    slot->doc->caption = UpperCaption(path);
    slot->doc->state.changed = false;
    slot->doc->history.MarkSaved();
    RenumberTemps();  // the other uploads close the gap, so no TEMP number is given twice
}

bool DocumentSet::Close(int number) {
    Slot* slot = SlotAt(number);
    if (slot) {
        if (slot->temp) --tempCount_;
        slot->deleted = true;
        slot->temp = false;
        slot->path.clear();
        slot->doc.reset();
    }
    RenumberTemps();
    return AnyDocumentOpen();
}

bool DocumentSet::AnyDocumentOpen() const {
    return std::any_of(slots_.begin(), slots_.end(), [](const Slot& s) { return !s.deleted; });
}

void DocumentSet::RenumberTemps() {
    int counter = tempCount_;
    for (Slot& slot : slots_) {
        if (slot.deleted || !slot.temp) continue;
        slot.doc->caption = "TEMP" + std::to_string(counter);
        --counter;
    }
}

void DocumentSet::Reset() {
    slots_.clear();
    tempCount_ = 0;
}

std::vector<int> DocumentSet::OpenNumbers() const {
    std::vector<int> numbers;
    for (std::size_t i = 0; i < slots_.size(); ++i)
        if (!slots_[i].deleted) numbers.push_back(static_cast<int>(i) + 1);
    return numbers;
}

}  // namespace talveron
