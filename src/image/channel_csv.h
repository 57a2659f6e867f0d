// Channels as CSV for spreadsheets and scripts:
//   Channel,RxFreq,RxTone,TxFreq,TxTone,Spacing,Power,BCLO,Scan,Penalty
// Frequencies as the channel line shows them (empty for a side not in use), tones as
// "67.0" (CTCSS), "D023" (CDCSS) or empty, spacing "12.5"/"25.0", power "H"/"L", the rest
// "ON"/"OFF".
// The import also reads what a spreadsheet makes of the export when it saves: fewer decimals
// or none ("146", "146.52", tone "67", spacing "25"), "D23" for "D023", quoted fields, and ";"
// as the separator (named by the header line) with "," or "." as the decimal point.
#pragma once

#include <string>
#include <string_view>

#include "image/document.h"

namespace talveron {

inline constexpr std::string_view kCsvHeader =
    "Channel,RxFreq,RxTone,TxFreq,TxTone,Spacing,Power,BCLO,Scan,Penalty";

// separator: "," or ";" (for spreadsheets in the locales with a decimal comma).
std::string ExportCsv(const Document& doc, char separator = ',');

struct CsvImportResult {
    bool ok = false;
    std::string error;  // names the line and the column of the first fault
    Document doc;
};

// A copy of base whose channels are the CSV's rows; channels without a row become empty.
// sourceName prefixes the error messages. Nothing in base is changed.
CsvImportResult ImportCsv(std::string_view csv, const Document& base, std::string_view sourceName);

}  // namespace talveron
