// The undo history of one document: whole snapshots of what the user can edit (channel
// lines, option bytes, head copy, customer and serial). A document holds at most 99 lines of
// 54 characters, so a snapshot is a few kilobytes and whole copies keep undo simple and exact.
#pragma once

#include <array>
#include <cstdint>
#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "image/eeprom_image.h"

namespace talveron {

// The editable content of a document.
struct DocContent {
    std::vector<std::string> lines;
    std::vector<std::uint8_t> chOpt;
    std::array<std::uint8_t, kHeadSize> head{};
    std::string customer;
    std::string serial;

    bool operator==(const DocContent&) const = default;
};

// What an edit, an undo or a redo changed, found by comparing the content before and after,
// so that the windows redraw only that.
struct DocChanges {
    std::vector<int> lines;  // indices of the channel lines that changed, rising
    bool lineCount = false;  // the number of lines changed
    bool options = false;    // an option byte changed
    bool head = false;
    bool customer = false;  // customer or serial

    bool Any() const { return !lines.empty() || lineCount || options || head || customer; }
};

DocChanges CompareContent(const DocContent& before, const DocContent& after);

class EditHistory {
  public:
    // Steps kept; the oldest go first. Generous: a day's work on a 99-channel radio.
    static constexpr std::size_t kDepth = 500;

    // A new step after the current one; a redo branch is dropped, and with it the saved
    // point when it lay there.
    void Record(std::string label, DocContent before, DocContent after);

    bool CanUndo() const { return done_ > 0; }
    bool CanRedo() const { return done_ < steps_.size(); }
    // Labels of the step an undo or a redo would take ("Channel 5"); empty when none.
    std::string UndoLabel() const;
    std::string RedoLabel() const;

    // The content to restore, or nullptr when there is nothing to undo or redo.
    const DocContent* Undo();
    const DocContent* Redo();

    // The document was saved as it is now.
    void MarkSaved() { saved_ = done_; }
    // True when the content is the one last saved (or opened).
    bool AtSaved() const { return saved_ == done_; }

  private:
    struct Step {
        std::string label;
        DocContent before;
        DocContent after;
    };
    std::deque<Step> steps_;
    std::size_t done_ = 0;                  // steps applied
    std::optional<std::size_t> saved_ = 0;  // steps applied when last saved; none once lost
};

}  // namespace talveron
