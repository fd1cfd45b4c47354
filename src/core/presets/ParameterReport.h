#pragma once
// The parameter report: one table of every output's parameters, a row per parameter and a
// column per output, with the headings in either language. It can be written as a CSV file
// that spreadsheets open directly (UTF-8 with a byte-order mark).

#include <optional>
#include <span>
#include <string>
#include <vector>

#include "model/KTV_Data.h"

namespace vantor {

struct ParameterReport {
  std::vector<std::string> headings;  // "Parameter", "CH1".."CH8"
  std::vector<std::vector<std::string>>
      rows;  // each: the parameter's name, then one value per output
};

// The report of the objects' outputs. `speakerTypes` (the speaker-type table of the system
// area) adds a speaker-type row when given.
ParameterReport BuildParameterReport(
    const CKTV_Data& model, bool chinese,
    std::optional<std::span<const std::uint8_t>> speakerTypes = std::nullopt);

// Display columns of a UTF-8 text on a terminal: characters from the CJK ranges on take two.
std::size_t TextColumns(std::string_view text);

// The report as a plain text table, columns aligned (CJK characters count two columns).
std::string ParameterReportText(const ParameterReport& report);

// The report as CSV: byte-order mark, comma-separated, fields quoted when they hold a comma,
// a quote or a line break, lines ended by CR LF.
std::string ParameterReportCsv(const ParameterReport& report);

// Texts of single values as the report (and the panels) show them.
std::string CrossoverSlopeText(int slope);        // "24dB/Oct", "OFF"
std::string LimiterReleaseText(int releaseCode);  // "Atk × 16"
std::string_view FamilyText(int family, bool chinese);
std::string_view BandTypeText(int eqType, bool chinese);

}  // namespace vantor
