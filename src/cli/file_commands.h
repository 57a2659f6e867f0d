// Helpers the file commands share with the radio commands.
#pragma once

#include <iosfwd>
#include <optional>
#include <string>

#include "image/document.h"

namespace talveron::cli {

// Opens a .cfg file as the desktop program would; prints the refusal message to err.
std::optional<Document> LoadDocument(const std::string& path, std::ostream& err);

// Saves a document as the desktop program's Save would; prints the failure to err.
bool SaveDocument(const Document& doc, const std::string& path, std::ostream& err);

// The document as its window shows it: model, range, channel lines, channel options.
void PrintDocument(const Document& doc, std::ostream& out);

}  // namespace talveron::cli
