// Helpers the file commands share with the radio commands.
#pragma once

#include <iosfwd>
#include <optional>
#include <string>
#include <string_view>

#include "image/document.h"

namespace talveron::cli {

// Opens a .cfg file as the desktop program would; prints the refusal message to err.
std::optional<Document> LoadDocument(const std::string& path, std::ostream& err);

// Saves a document as the desktop program's Save would; prints the failure to err.
bool SaveDocument(const Document& doc, const std::string& path, std::ostream& err);

// Writes an output file (CSV, PDF) through the safe replace; prints the failure to err.
// Returns the exit status: success, or a fault when the file could not be written.
int WriteOutput(const std::string& path, std::string_view bytes, std::ostream& err);

// The document as its window shows it: model, range, channel lines, channel options.
void PrintDocument(const Document& doc, std::ostream& out);

}  // namespace talveron::cli
