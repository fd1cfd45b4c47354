#include "measure/MeasureError.h"

#include "text/TextCatalog.h"
#include "text/TextFormat.h"

namespace vantor {
namespace {

TextId TextOf(MeasureErrorKind kind) {
  switch (kind) {
    case MeasureErrorKind::kFileUnreadable:
      return TextId::MeasureFileUnreadable;
    case MeasureErrorKind::kFileTooLarge:
      return TextId::MeasureFileTooLarge;
    case MeasureErrorKind::kBadNumber:
      return TextId::MeasureBadNumber;
    case MeasureErrorKind::kMissingField:
      return TextId::MeasureMissingField;
    case MeasureErrorKind::kFrequencyNotRising:
      return TextId::MeasureFrequencyNotRising;
    case MeasureErrorKind::kTooFewRows:
      return TextId::MeasureTooFewRows;
    case MeasureErrorKind::kTooFewTargetPoints:
      return TextId::MeasureTooFewTargetPoints;
    case MeasureErrorKind::kBadSideFile:
      return TextId::MeasureBadSideFile;
    case MeasureErrorKind::kSideFileVersion:
      return TextId::MeasureSideFileVersion;
    case MeasureErrorKind::kCannotWrite:
      return TextId::MeasureCannotWrite;
    case MeasureErrorKind::kNoMeasurement:
      return TextId::MeasureNoMeasurement;
    case MeasureErrorKind::kNoFreeBand:
      return TextId::MeasureNoFreeBand;
    case MeasureErrorKind::kEmptyRange:
      return TextId::MeasureEmptyRange;
  }
  return TextId::MeasureFileUnreadable;
}

}  // namespace

std::string MeasureErrorText(const MeasureError& error, bool chinese) {
  std::string text;
  if (error.line > 0)
    text = FormatText(Tr(TextId::MeasureAtLine, chinese), {{"line", std::to_string(error.line)}});
  text += Tr(TextOf(error.kind), chinese);
  return text;
}

}  // namespace vantor
