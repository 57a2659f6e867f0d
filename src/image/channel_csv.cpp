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

// One row of fields split at the separator; a field may be quoted ("146.520000", "a ""b""")
// as spreadsheets write text cells.
std::vector<std::string> SplitCsvRow(std::string_view row, char separator) {
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
        } else if (c == separator) {
            fields.push_back(Trim(field));
            field.clear();
        } else {
            field += c;
        }
    }
    fields.push_back(Trim(field));
    return fields;
}

bool AllDigits(std::string_view s) {
    return std::all_of(s.begin(), s.end(), [](unsigned char c) { return std::isdigit(c); });
}

// Megahertz, whole ("146", as a spreadsheet saves 146.000000) or with decimals of which at
// most six count. Everything a channel line shows must read back: below 100 MHz the line pads
// to seven or eight decimals ("28.3550000"), and a receive frequency below the IF offset
// shows with a "-".
bool IsFrequencyText(std::string_view s) {
    if (!s.empty() && s[0] == '-') s.remove_prefix(1);
    const auto dot = std::min(s.find('.'), s.size());
    if (dot == 0 || dot > 4 || !AllDigits(s.substr(0, dot))) return false;
    const std::string_view decimals = s.substr(std::min(dot + 1, s.size()));
    if (!AllDigits(decimals)) return false;
    return decimals.size() <= 6 || decimals.find_first_not_of('0', 6) == std::string_view::npos;
}

// A number with one decimal as the tone table and the spacing column write it, from any
// spelling of the same value: "67" and "67.00" -> "67.0", "12.50" -> "12.5". Empty for no
// such number or one with a second decimal that counts.
std::optional<std::string> OneDecimal(std::string_view s) {
    const auto dot = std::min(s.find('.'), s.size());
    const std::string_view whole = s.substr(0, dot);
    std::string_view decimals = s.substr(std::min(dot + 1, s.size()));
    if (whole.empty() || whole.size() > 3 || !AllDigits(whole) || !AllDigits(decimals))
        return std::nullopt;
    while (!decimals.empty() && decimals.back() == '0') decimals.remove_suffix(1);
    if (decimals.size() > 1) return std::nullopt;
    return std::string(whole) + "." + (decimals.empty() ? "0" : std::string(decimals));
}

// "67.0", "67" (every CTCSS value of the table is a different number), "D023", "d23" (the
// octal code with its leading zeros dropped), "#200" (a code outside the table), or empty.
std::optional<int> ParseTone(std::string_view s) {
    if (s.empty()) return 0;
    if (s[0] == 'D' || s[0] == 'd') {
        const std::string_view octal = s.substr(1);
        if (octal.empty() || octal.size() > 3 || !AllDigits(octal)) return std::nullopt;
        return CdcssCode(std::string(3 - octal.size(), '0') + std::string(octal));
    }
    if (s[0] == '#') {
        const auto code = DigitsValue(s.substr(1), 3);
        return code && *code <= 255 ? code : std::nullopt;
    }
    const auto hz = OneDecimal(s);
    return hz ? CtcssCode(*hz) : std::nullopt;
}

}  // namespace

std::string ExportCsv(const Document& doc, char separator) {
    std::string out(kCsvHeader);
    std::replace(out.begin(), out.end(), ',', separator);
    out += "\n";
    const std::string sep(1, separator);
    for (int i = 0; i < doc.BlockCount(); ++i) {
        const std::string& line = doc.lines[i];
        const std::uint8_t opt =
            i < static_cast<int>(doc.state.chOpt.size()) ? doc.state.chOpt[i] : 0;
        const std::string rx = LineFreq(line, true);
        const std::string tx = LineFreq(line, false);
        const bool rxUsed = rx != kNone;
        const bool txUsed = tx != kNone;
        out += std::to_string(i + 1) + sep;
        out += (rxUsed ? rx : "") + sep;
        out += (rxUsed ? ToneCsv(LineToneCode(line, true)) : "") + sep;
        out += (txUsed ? tx : "") + sep;
        out += (txUsed ? ToneCsv(LineToneCode(line, false)) : "") + sep;
        out += std::string((opt & kOptNarrow) ? "12.5" : "25.0") + sep;
        out += std::string((opt & kOptHighPower) ? "H" : "L") + sep;
        out += OnOff(opt & kOptBclo) + sep + OnOff(opt & kOptScan) + sep + OnOff(opt & kOptPenalty);
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
    char separator = ',';
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
        if (!headerSeen) {
            // The header tells the separator: "," or, as spreadsheets in the locales with a
            // decimal comma save, ";".
            for (const char candidate : {',', ';'}) {
                const std::vector<std::string> names = SplitCsvRow(row, candidate);
                std::string joined;
                for (std::size_t k = 0; k < names.size(); ++k)
                    joined += (k ? "," : "") + Upper(names[k]);
                if (names.size() == kColumns.size() && joined == Upper(std::string(kCsvHeader))) {
                    separator = candidate;
                    headerSeen = true;
                }
            }
            if (!headerSeen) return fail(0, "expected the header " + std::string(kCsvHeader));
            continue;
        }
        const std::vector<std::string> f = SplitCsvRow(row, separator);
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

        // Where ";" separates, a "," in a number is its decimal point ("145,0125").
        std::vector<std::string> number = f;
        if (separator == ';') {
            for (std::string& v : number) std::replace(v.begin(), v.end(), ',', '.');
        }

        ChannelRecord rec;
        rec.number = ch;
        PllWord scratch;
        for (int side = 0; side < 2; ++side) {
            const bool receive = side == 0;
            const std::size_t freqCol = receive ? 2 : 4;
            const std::string& freq = number[freqCol - 1];
            const std::string& tone = number[freqCol];
            if (freq.empty()) {
                if (!tone.empty())
                    return fail(freqCol + 1, "a tone for a side without a frequency");
                continue;
            }
            if (!IsFrequencyText(freq))
                return fail(freqCol, "not a frequency in MHz: \"" + f[freqCol - 1] + "\"");
            const std::string text = HzToFreqText(*FreqToHz(freq));
            if (EncodeFreq(" " + text, receive, ctx, scratch) == kNotEncoded)
                return fail(freqCol, "not on the 5 or 6.25 kHz raster: \"" + f[freqCol - 1] + "\"");
            const auto code = ParseTone(tone);
            if (!code) return fail(freqCol + 1, "unknown tone \"" + f[freqCol] + "\"");
            (receive ? rec.rxFreq : rec.txFreq) = text;
            (receive ? rec.rxTone : rec.txTone) = *code;
        }
        if (rec.rxFreq == kNone && rec.txFreq != kNone)
            return fail(4, "a transmit frequency without a receive frequency");

        std::uint8_t opt = 0;
        const auto spacing = OneDecimal(number[5]);
        if (spacing == "12.5")
            opt |= kOptNarrow;
        else if (spacing != "25.0")
            return fail(6, "expected 12.5 or 25.0: \"" + f[5] + "\"");
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
