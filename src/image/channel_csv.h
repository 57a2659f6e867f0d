// Channels as CSV for spreadsheets and scripts:
//   Channel,RxFreq,RxTone,TxFreq,TxTone,Spacing,Power,BCLO,Scan,Penalty
// Frequencies as the channel line shows them (empty for a side not in use), tones as
// "67.0" (CTCSS), "D023" (CDCSS) or empty, spacing "12.5"/"25.0", power "H"/"L", the rest
// "ON"/"OFF".
#pragma once

#include <string>
#include <string_view>

#include "image/document.h"

namespace talveron {

inline constexpr std::string_view kCsvHeader =
    "Channel,RxFreq,RxTone,TxFreq,TxTone,Spacing,Power,BCLO,Scan,Penalty";

std::string ExportCsv(const Document& doc);

struct CsvImportResult {
    bool ok = false;
    std::string error;  // names the line and the column of the first fault
    Document doc;
};

// A copy of base whose channels are the CSV's rows; channels without a row become empty.
// sourceName prefixes the error messages. Nothing in base is changed.
CsvImportResult ImportCsv(std::string_view csv, const Document& base, std::string_view sourceName);

}  // namespace talveron
