// The open documents of the desktop program, numbered from 1 as their windows' tags are:
// slot reuse (FreeDocSlot), the count of unsaved uploads (TempCount) and the renumbering of
// their "TEMP" captions when one of them closes. No widgets here: the windows only show the
// Document a slot holds.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "image/document.h"

namespace talveron {

class DocumentSet {
  public:
    // The number of the first free slot (its Deleted flag cleared), or a new slot at the end.
    int FreeDocSlot();

    // Places a document opened from a file (path kept as given; the caption is its upper-case
    // form) and returns its number.
    int AddFile(Document doc, const std::string& path);

    // Places a document read from the radio: TempCount grows by one and the document is named
    // "Temp" + TempCount + ".cfg" (captioned in upper case). Returns its number.
    int AddUpload(Document doc);

    // The document of an open slot, or nullptr for a free or unknown number. The pointer stays
    // valid until the slot is closed or the set is reset.
    Document* Get(int number);
    const Document* Get(int number) const;

    // The real path a document was loaded from or saved to; empty for an unsaved upload.
    std::string Path(int number) const;
    // True while a document is an upload that was never saved.
    bool IsTemp(int number) const;

    // After a successful save: the document now belongs to path and is no longer an upload.
    // Its caption becomes the path in upper case, its Changed flag is cleared and its history
    // notes the saved point (undoing back to it makes the document unchanged again).
    void MarkSaved(int number, const std::string& path);

    // Frees a slot (Deleted); an unsaved upload gives back its TEMP number and the others are
    // renumbered. Returns AnyDocumentOpen(), so false means the last document has gone.
    bool Close(int number);

    // True when a slot is still open.
    bool AnyDocumentOpen() const;

    // Renumbers the captions of the open unsaved uploads downwards from TempCount in slot
    // order ("TEMP" + number), so no TEMP number is shown twice.
    void RenumberTemps();

    // Empties every slot; TempCount back to 0.
    void Reset();

    int TempCount() const { return tempCount_; }
    int UpperBound() const { return static_cast<int>(slots_.size()); }
    // Numbers of the open documents in slot order.
    std::vector<int> OpenNumbers() const;

  private:
    struct Slot {
        bool deleted = true;
        bool temp = false;
        std::string path;
        std::unique_ptr<Document> doc;
    };
    Slot* SlotAt(int number);
    const Slot* SlotAt(int number) const;
    int Place(Document doc, const std::string& path, bool temp);

    std::vector<Slot> slots_;  // slot i holds document i + 1
    int tempCount_ = 0;
};

}  // namespace talveron
