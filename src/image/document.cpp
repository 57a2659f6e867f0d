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

Document OpenDocument(const EepromImage& image, int modelCode, std::string_view name,
                      bool dotDecimal) {
    Document doc;
    doc.caption = UpperCaption(name);
    for (std::size_t i = 1; i < kHeadSize && i < image.size(); ++i) doc.state.head[i] = image[i];
    doc.state.model = static_cast<std::uint8_t>(modelCode);
    doc.state.changed = false;
    ChannelList list = ImageToList(image, dotDecimal);
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

}  // namespace talveron
