#include "image/channel_clipboard.h"

#include <algorithm>

#include "image/auto_fill.h"
#include "image/channel_line.h"
#include "image/text_util.h"

namespace talveron {

namespace {

// The selected indices that name a line, in list order, each once.
std::vector<int> InList(std::vector<int> selected, std::size_t lineCount) {
    std::sort(selected.begin(), selected.end());
    selected.erase(std::unique(selected.begin(), selected.end()), selected.end());
    std::erase_if(selected, [&](int i) { return i < 0 || i >= static_cast<int>(lineCount); });
    return selected;
}

}  // namespace

std::string CopyChannels(const std::vector<std::string>& lines, const std::vector<int>& selected,
                         ClipLines& clip) {
    clip.clear();
    std::string text;
    for (int i : InList(selected, lines.size())) {
        const std::string& line = lines[static_cast<std::size_t>(i)];
        text += line + '\n';
        clip.emplace_back(Mid(line, 2, std::string::npos));
    }
    return text;
}

std::vector<int> ClearChannels(std::vector<std::string>& lines, const std::vector<int>& selected) {
    const std::vector<int> cleared = InList(selected, lines.size());
    for (int i : cleared) {
        std::string line = EmptyChannelLine(0);
        RenumberLine(line, i + 1);
        lines[static_cast<std::size_t>(i)] = std::move(line);
    }
    return cleared;
}

int PasteStart(const std::vector<int>& selected, int current, int lineCount) {
    if (current < 0 || current >= lineCount) return -1;
    int start = current;
    for (int i : selected)
        if (i >= 0 && i < start) start = i;
    return start;
}

std::vector<int> PasteChannels(std::vector<std::string>& lines, const ClipLines& clip,
                               const std::vector<int>& selected, int current) {
    std::vector<int> written;
    const int lineCount = static_cast<int>(lines.size());
    const int start = PasteStart(selected, current, lineCount);
    if (start < 0) return written;
    const int count = std::min(lineCount - start, static_cast<int>(clip.size()));
    for (int k = 0; k < count; ++k) {
        std::string line = "  " + clip[static_cast<std::size_t>(k)];
        RenumberLine(line, start + k + 1);
        lines[static_cast<std::size_t>(start + k)] = std::move(line);
        written.push_back(start + k);
    }
    return written;
}

}  // namespace talveron
