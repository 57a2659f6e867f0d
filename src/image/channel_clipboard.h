// Cut, copy, paste and delete of whole channel lines. The lines travel through ClipLines, the
// program's own clipboard shared by every document window; Copy also hands the lines to other
// programs as text, but Paste only ever reads ClipLines. Only the line text moves: a
// channel's option byte stays with its channel number.
#pragma once

#include <string>
#include <vector>

namespace talveron {

// The copied lines, each without its first two characters (the channel number), in list
// order. Empty means there is nothing to paste.
using ClipLines = std::vector<std::string>;

// Copy: the selected lines (indices in any order) go into clip in list order. Returns the
// text to append to the platform clipboard: each whole line and a line feed.
std::string CopyChannels(const std::vector<std::string>& lines, const std::vector<int>& selected,
                         ClipLines& clip);

// The selected lines become the empty line of their channel. Returns the indices cleared.
std::vector<int> ClearChannels(std::vector<std::string>& lines, const std::vector<int>& selected);

// The line a paste starts on: the first selected line up to the current one, else the current
// line itself; -1 when there is no current line (nothing is pasted then).
int PasteStart(const std::vector<int>& selected, int current, int lineCount);

// Overwrites consecutive lines from the start line with clip, renumbered for their places,
// stopping at the end of the list. Returns the indices written.
std::vector<int> PasteChannels(std::vector<std::string>& lines, const ClipLines& clip,
                               const std::vector<int>& selected, int current);

}  // namespace talveron
