#include "image/channel_csv.h"

#include <algorithm>
#include <cctype>
#include <optional>
#include <vector>

#include "image/channel_line.h"
#include "image/text_util.h"
#include "image/tone_codec.h"

namespace talveron {

namespace {

constexpr std::array<std::string_view, 10> kColumns = {"Channel", "RxFreq",  "RxTone", "TxFreq",
                                                       "TxTone",  "Spacing", "Power",  "BCLO",
                                                       "Scan",    "Penalty"};

std::string ToneCsv(int code) {
    return code == 0 ? "" : ToneName(code);
}

std::string OnOff(bool on) {
    return on ? "ON" : "OFF";
}

std::string Upper(std::string s) {
    std::transform(s.begin(), s.end(), s.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return s;
}

std::vector<std::string> SplitCsvRow(std::string_view row) {
    std::vector<std::string> fields;
    std::string field;
    bool quoted = false;
    for (std::size_t i = 0; i < row.size(); ++i) {
        const char c = row[i];
        if (quoted) {
            if (c == '"' && i + 1 < row.size() && row[i + 1] == '"') {
                field += '"';
                ++i;
            } else if (c == '"') {
                quoted = false;
            } else {
                field += c;
            }
        } else if (c == '"') {
            quoted = true;
        } else if (c == ',') {
            fields.push_back(Trim(field));
            field.clear();
        } else {
            field += c;
        }
    }
    fields.push_back(Trim(field));
    return fields;
}

// Megahertz with a "." and at most six decimals that count. Everything a channel line shows
// must read back: below 100 MHz the line pads to seven or eight decimals ("28.3550000"), and
// a receive frequency below the IF offset shows with a "-".
bool IsFrequencyText(std::string_view s) {
    if (!s.empty() && s[0] == '-') s.remove_prefix(1);
    const auto dot = s.find('.');
    if (dot == 0 || dot == std::string_view::npos) return false;
    for (std::size_t i = 0; i < s.size(); ++i) {
        if (i != dot && !std::isdigit(static_cast<unsigned char>(s[i]))) return false;
    }
    const std::string_view decimals = s.substr(dot + 1);
    const bool sixDecimals =
        decimals.size() <= 6 || decimals.find_first_not_of('0', 6) == std::string_view::npos;
    return sixDecimals && dot <= 4;
}

std::optional<int> ParseTone(std::string_view s) {
    if (s.empty()) return 0;
    if (s[0] == 'D' || s[0] == 'd') return CdcssCode(s.substr(1));
    if (s[0] == '#') {
        const std::string digits(s.substr(1));
        if (digits.empty() || digits.size() > 3 ||
            !std::all_of(digits.begin(), digits.end(),
                         [](unsigned char c) { return std::isdigit(c); }))
            return std::nullopt;
        const int code = std::stoi(digits);
        return code <= 255 ? std::optional<int>(code) : std::nullopt;
    }
    return CtcssCode(s);
}

}  // namespace

std::string ExportCsv(const Document& doc) {
    std::string out(kCsvHeader);
    out += "\n";
    for (int i = 0; i < doc.BlockCount(); ++i) {
        const std::string& line = doc.lines[i];
        const std::uint8_t opt =
            i < static_cast<int>(doc.state.chOpt.size()) ? doc.state.chOpt[i] : 0;
        const std::string rx = LineFreq(line, true);
        const std::string tx = LineFreq(line, false);
        const bool rxUsed = rx != kNone;
        const bool txUsed = tx != kNone;
        out += std::to_string(i + 1) + ",";
        out += (rxUsed ? rx : "") + ",";
        out += (rxUsed ? ToneCsv(LineToneCode(line, true)) : "") + ",";
        out += (txUsed ? tx : "") + ",";
        out += (txUsed ? ToneCsv(LineToneCode(line, false)) : "") + ",";
        out += std::string((opt & kOptNarrow) ? "12.5" : "25.0") + ",";
        out += std::string((opt & kOptHighPower) ? "H" : "L") + ",";
        out += OnOff(opt & kOptBclo) + "," + OnOff(opt & kOptScan) + "," + OnOff(opt & kOptPenalty);
        out += "\n";
    }
    return out;
}

CsvImportResult ImportCsv(std::string_view csv, const Document& base, std::string_view sourceName) {
    CsvImportResult result;
    const int n = base.BlockCount();
    Document doc = base;
    doc.lines.clear();
    for (int i = 0; i < n; ++i) {
        ChannelRecord empty;
        empty.number = i + 1;
        doc.lines.push_back(FormatChannelLine(empty));
    }
    doc.state.chOpt.assign(n, 0);
    std::vector<bool> seen(n, false);
    const CodecContext ctx =
        CodecContext::FromHead(base.state.head[kAddrIfIndex], base.state.head[kAddrRefDiv625]);

    std::size_t lineNo = 0;
    std::size_t pos = 0;
    // Spreadsheets often start a UTF-8 file with a byte-order mark.
    if (csv.substr(0, 3) == "\xEF\xBB\xBF") pos = 3;
    bool headerSeen = false;
    auto fail = [&](std::size_t column, const std::string& what) {
        result.ok = false;
        result.error = std::string(sourceName) + ": line " + std::to_string(lineNo);
        if (column > 0) {
            result.error += ", column " + std::to_string(column) + " (" +
                            std::string(kColumns[column - 1]) + ")";
        }
        result.error += ": " + what;
        return result;
    };

    while (pos < csv.size()) {
        auto end = csv.find('\n', pos);
        if (end == std::string_view::npos) end = csv.size();
        std::string_view row = csv.substr(pos, end - pos);
        pos = end + 1;
        ++lineNo;
        if (!row.empty() && row.back() == '\r') row.remove_suffix(1);
        if (Trim(row).empty()) continue;
        std::vector<std::string> f = SplitCsvRow(row);
        if (!headerSeen) {
            std::string joined;
            for (std::size_t k = 0; k < f.size(); ++k) joined += (k ? "," : "") + Upper(f[k]);
            if (joined != Upper(std::string(kCsvHeader)))
                return fail(0, "expected the header " + std::string(kCsvHeader));
            headerSeen = true;
            continue;
        }
        if (f.size() != kColumns.size())
            return fail(0, "expected 10 columns, found " + std::to_string(f.size()));

        const std::string& chText = f[0];
        if (chText.empty() || chText.size() > 3 ||
            !std::all_of(chText.begin(), chText.end(),
                         [](unsigned char c) { return std::isdigit(c); }))
            return fail(1, "not a channel number: \"" + chText + "\"");
        const int ch = std::stoi(chText);
        if (ch < 1 || ch > n)
            return fail(1, "channel " + chText + " is outside 1.." + std::to_string(n));
        if (seen[ch - 1]) return fail(1, "channel " + chText + " appears twice");
        seen[ch - 1] = true;

        ChannelRecord rec;
        rec.number = ch;
        PllWord scratch;
        for (int side = 0; side < 2; ++side) {
            const bool receive = side == 0;
            const std::size_t freqCol = receive ? 2 : 4;
            const std::string& freq = f[freqCol - 1];
            const std::string& tone = f[freqCol];
            if (freq.empty()) {
                if (!tone.empty())
                    return fail(freqCol + 1, "a tone for a side without a frequency");
                continue;
            }
            if (!IsFrequencyText(freq))
                return fail(freqCol, "not a frequency in MHz: \"" + freq + "\"");
            const std::string text = HzToFreqText(*FreqToHz(freq));
            if (EncodeFreq(" " + text, receive, ctx, scratch) == kNotEncoded)
                return fail(freqCol, "not on the 5 or 6.25 kHz raster: \"" + freq + "\"");
            const auto code = ParseTone(tone);
            if (!code) return fail(freqCol + 1, "unknown tone \"" + tone + "\"");
            (receive ? rec.rxFreq : rec.txFreq) = text;
            (receive ? rec.rxTone : rec.txTone) = *code;
        }
        if (rec.rxFreq == kNone && rec.txFreq != kNone)
            return fail(4, "a transmit frequency without a receive frequency");

        std::uint8_t opt = 0;
        const std::string spacing = f[5];
        if (spacing == "12.5")
            opt |= kOptNarrow;
        else if (spacing != "25.0")
            return fail(6, "expected 12.5 or 25.0: \"" + spacing + "\"");
        const std::string power = Upper(f[6]);
        if (power == "H")
            opt |= kOptHighPower;
        else if (power != "L")
            return fail(7, "expected H or L: \"" + f[6] + "\"");
        const std::uint8_t bits[3] = {kOptBclo, kOptScan, kOptPenalty};
        for (int k = 0; k < 3; ++k) {
            const std::string v = Upper(f[7 + k]);
            if (v == "ON")
                opt |= bits[k];
            else if (v != "OFF")
                return fail(8 + k, "expected ON or OFF: \"" + f[7 + k] + "\"");
        }
        if (rec.rxFreq != kNone) opt |= kOptRxInUse;
        if (rec.txFreq != kNone) opt |= kOptTxInUse;
        doc.state.chOpt[ch - 1] = opt;
        doc.lines[ch - 1] = FormatChannelLine(rec);
    }
    if (!headerSeen) {
        lineNo = 1;
        return fail(0, "expected the header " + std::string(kCsvHeader));
    }
    doc.state.changed = true;
    result.ok = true;
    result.doc = std::move(doc);
    return result;
}

}  // namespace talveron
