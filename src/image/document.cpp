#include "image/document.h"

#include <algorithm>
#include <cctype>

#include "image/channel_line.h"

namespace talveron {

std::string UpperCaption(std::string_view name) {
    std::string out(name);
    std::transform(out.begin(), out.end(), out.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return out;
}

Document OpenDocument(const EepromImage& image, int modelCode, std::string_view name) {
    Document doc;
    doc.caption = UpperCaption(name);
    for (std::size_t i = 1; i < kHeadSize && i < image.size(); ++i) doc.state.head[i] = image[i];
    doc.state.model = static_cast<std::uint8_t>(modelCode);
    doc.state.changed = false;
    ChannelList list = ImageToList(image);
    doc.lines = std::move(list.lines);
    doc.state.chOpt = std::move(list.chOpt);
    return doc;
}

EepromImage BuildImage(const Document& doc) {
    EepromImage image(kHeadSize, 0);
    for (std::size_t i = 1; i < kHeadSize; ++i) image[i] = doc.state.head[i];
    const CodecContext ctx =
        CodecContext::FromHead(doc.state.head[kAddrIfIndex], doc.state.head[kAddrRefDiv625]);
    image.reserve(kHeadSize + kRecordSize * doc.lines.size() + 1);
    ListToImage(image, doc.lines, doc.state.chOpt, ctx);
    image.push_back(doc.state.model);
    return image;
}

namespace {

DocContent ContentOf(const Document& doc) {
    return {doc.lines, doc.state.chOpt, doc.state.head, doc.customer, doc.serial};
}

void Restore(Document& doc, const DocContent& content) {
    doc.lines = content.lines;
    doc.state.chOpt = content.chOpt;
    doc.state.head = content.head;
    doc.customer = content.customer;
    doc.serial = content.serial;
}

DocChanges Step(Document& doc, const DocContent* target) {
    if (!target) return {};
    const DocContent before = ContentOf(doc);
    Restore(doc, *target);
    doc.state.changed = !doc.history.AtSaved();
    return CompareContent(before, *target);
}

// A line that an edit puts in use keeps no options of the empty channel it was: a byte
// without its in-use bits (0x7F, 0xFF, ...) counts as no options, and bit 0 is always 0.
void StartNewlyUsedLines(const DocContent& before, Document& doc) {
    const std::size_t n = std::min({before.lines.size(), doc.lines.size(), doc.state.chOpt.size()});
    for (std::size_t i = 0; i < n; ++i) {
        if (LineInUse(before.lines[i]) || !LineInUse(doc.lines[i])) continue;
        std::uint8_t& option = doc.state.chOpt[i];
        option = IsEmptyOption(option) ? 0 : static_cast<std::uint8_t>(option & ~1u);
    }
}

}  // namespace

DocChanges EditDocument(Document& doc, std::string_view label,
                        const std::function<void(Document&)>& edit) {
    DocContent before = ContentOf(doc);
    edit(doc);
    StartNewlyUsedLines(before, doc);
    doc.state.changed = true;
    DocContent after = ContentOf(doc);
    DocChanges changes = CompareContent(before, after);
    if (changes.Any()) doc.history.Record(std::string(label), std::move(before), std::move(after));
    return changes;
}

DocChanges UndoEdit(Document& doc) {
    return Step(doc, doc.history.Undo());
}

DocChanges RedoEdit(Document& doc) {
    return Step(doc, doc.history.Redo());
}

}  // namespace talveron
