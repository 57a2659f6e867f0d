#include "image/edit_history.h"

#include <algorithm>

namespace talveron {

DocChanges CompareContent(const DocContent& before, const DocContent& after) {
    DocChanges changes;
    const std::size_t common = std::min(before.lines.size(), after.lines.size());
    for (std::size_t i = 0; i < common; ++i)
        if (before.lines[i] != after.lines[i]) changes.lines.push_back(static_cast<int>(i));
    changes.lineCount = before.lines.size() != after.lines.size();
    changes.options = before.chOpt != after.chOpt;
    changes.head = before.head != after.head;
    changes.customer = before.customer != after.customer || before.serial != after.serial;
    return changes;
}

void EditHistory::Record(std::string label, DocContent before, DocContent after) {
    steps_.erase(steps_.begin() + static_cast<std::ptrdiff_t>(done_), steps_.end());
    if (saved_ && *saved_ > done_) saved_.reset();
    steps_.push_back({std::move(label), std::move(before), std::move(after)});
    ++done_;
    if (steps_.size() > kDepth) {
        steps_.pop_front();
        --done_;
        if (saved_) {
            if (*saved_ == 0)
                saved_.reset();
            else
                --*saved_;
        }
    }
}

std::string EditHistory::UndoLabel() const {
    return CanUndo() ? steps_[done_ - 1].label : std::string();
}

std::string EditHistory::RedoLabel() const {
    return CanRedo() ? steps_[done_].label : std::string();
}

const DocContent* EditHistory::Undo() {
    if (!CanUndo()) return nullptr;
    --done_;
    return &steps_[done_].before;
}

const DocContent* EditHistory::Redo() {
    if (!CanRedo()) return nullptr;
    ++done_;
    return &steps_[done_ - 1].after;
}

}  // namespace talveron
