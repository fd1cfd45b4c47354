#pragma once
// Every user-visible text of the program as a Chinese/English pair, looked up by id at the
// moment it is shown. The language flag (ProgramState::chinese) picks the half. Texts are
// UTF-8 here; names that go into records are converted to GBK (GbkCodec.h).
//
// Adding a text: add an id to TextId (before Count) and its pair to the switch in
// TextCatalog.cpp; the compiler then refuses to build until every id has a pair.

#include <string>
#include <string_view>

namespace vantor {

enum class TextId : int {
  // Output channel name packer: the name does not fit its 8-byte field.
  CharLenError,
  // A name holds a character that the record's code page (GBK) cannot store.
  NameNotEncodable,
  // Confirmation before an output's EQ is put back to its defaults.
  ResetAllEq,
  // A spin button refused a value outside its range ("<id>:" is put in front).
  DataError,
  // The six input sources of the system block, in list order.
  SourceHighLevel,
  SourceRca,
  SourceBluetooth,
  SourceOptical,
  SourceCoaxial,
  SourcePlayer,
  // The device cannot be reached (status message window).
  UnableToConnect,
  // A processor is plugged in but this user may not open it (status message window).
  DeviceAccessDenied,
  // A data reply came without data: the device's firmware is too old.
  FirmwareTooOld,
  // The transfer window: its title and its caption.
  TransferTitle,
  TransferCaption,
  // The main form: the system menu (the language entry names the language it switches to)
  // and the about box.
  MenuFirmwareUpdate,
  MenuLanguage,
  MenuAbout,
  // The preset menu.
  MenuPresetLoad,
  MenuPresetSave,
  // The connect button in its two looks.
  ConnectConnected,
  ConnectDisconnected,
  // The top bar: the preset button, the input-source and speaker-mode captions, and the
  // badge shown while the simulated processor stands in for the hardware.
  PresetButton,
  SourceCaption,
  SpeakerModeCaption,
  DemoBadge,
  // The channel strip: on/off and phase buttons, the master strip, the strip's captions.
  SwitchOn,
  SwitchOff,
  PhaseButton,
  MasterCaption,
  GainCaption,
  CurveCaption,
  // Buttons under the graph: EQ reset and the limiter and routing dialog.
  EqResetButton,
  LimiterRoutingButton,
  // The car picture's caption.
  SpeakerPositions,
  // The crossover panel's captions of its two halves.
  HighPassCaption,
  LowPassCaption,
  // The delay fields on the car picture: their caption and the three unit buttons.
  DelayCaption,
  DelayUnitMs,
  DelayUnitCm,
  DelayUnitInch,
  // The output channel dialog: its row captions, the band-off button, the limiter
  // captions, the whole-EQ controls (the EQ bypass button is also the main form's), and the
  // two questions before the EQ mode changes.
  BandFrequencyCaption,
  BandQCaption,
  BandOffButton,
  LimiterThresholdCaption,
  LimiterAttackCaption,
  LimiterReleaseCaption,
  EqBypassButton,
  AllBypassCheck,
  EqModeButton,
  EqToGraphicQuestion,
  EqToParametricQuestion,

  // The channel link: the form's link button, the link dialog (its caption by the kind of
  // group in English, "声场联调" in Chinese; its question; the two sides; OK and Cancel), and
  // the message when no left and right outputs of one role are present.
  LinkButton,
  LinkCaptionFront,
  LinkCaptionRear,
  LinkCaptionSub,
  LinkQuestion,
  LinkLeftData,
  LinkRightData,
  LinkOk,
  LinkCancel,
  LinkNoPair,
  // The limiter and routing dialog: the matrix's captions (a source is "{n}"), the limiter
  // block's caption and its three values, and the close button's tip.
  RoutingMatrixCaption,
  RoutingOutputsCaption,
  RoutingSource,
  LimiterBlockCaption,
  LimiterBlockValue1,
  LimiterBlockValue2,
  LimiterBlockRelease,
  DialogClose,

  // Preset slots and their dialogs.
  SlotLabelPrefix,     // "音效" / "Source", followed by the slot number
  SlotNameAllSpaces,   // the name check
  DeleteSlotQuestion,  // asked before a slot's name is deleted
  SourceLoadTitle,
  SourceSaveTitle,
  SlotMenuLoad,
  SlotMenuSave,
  SlotMenuDelete,
  SourceNameCaption,  // the name prompt's caption (the same in both languages)
  SourceNameLabel,
  ButtonOk,
  ButtonCancel,
  PresetMenuOpen,  // the preset button's popup menu
  PresetMenuSave,
  // Preset files.
  PresetFileError,      // a single-preset file cannot be read or is not one
  AllPresetsReadError,  // an all-presets file cannot be read or is not one
  PresetSaveError,      // a single-preset file cannot be written
  AllPresetsSaveError,  // an all-presets file cannot be written
  // The preset dialogs' file buttons, the save dialog's two options, a dialog's close button.
  PresetFileLoadButton,
  PresetFileSaveButton,
  SaveOptionCurrent,
  SaveOptionAll,

  // The parameter report: title, headings and value words.
  ReportTitle,
  ReportParameter,
  ReportName,
  ReportSpeakerType,
  ReportOutputOn,
  ReportPhase,
  ReportGain,
  ReportDelay,
  ReportHighPass,
  ReportLowPass,
  ReportFrequency,
  ReportFamily,
  ReportSlope,
  ReportLimiterThreshold,
  ReportLimiterAttack,
  ReportLimiterRelease,
  ReportEqMode,
  ReportMix,
  ReportBand,
  ReportBandGain,
  ReportBandQ,
  ReportBandType,
  ValueOn,
  ValueOff,
  ValueNormal,
  ValueInverted,
  ValueParametric,
  ValueGraphic,
  FamilyLinkwitz,
  FamilyBessel,
  FamilyButterworth,
  BandPeak,
  BandLowShelf6,
  BandLowShelf12,
  BandHighShelf6,
  BandHighShelf12,
  // The report window's buttons, and a file that cannot be written (the path and the
  // system's reason follow).
  ReportPrint,
  ReportExportCsv,
  FileWriteError,
  // The about box: what the program is, and its version ("{version}" is replaced).
  AboutWhat,
  AboutVersion,

  // Undo and redo: the menu words and the names of the steps ("Undo band gain").
  MenuUndo,
  MenuRedo,
  StepBand,
  StepGraphDrag,
  StepCrossover,
  StepGain,
  StepPhase,
  StepOutputOn,
  StepDelay,
  StepMixer,
  StepLimiter,
  StepSpeakerType,
  StepSource,
  StepMasterLevel,
  StepChannelName,
  StepEqReset,
  StepEqMode,
  StepAllBypass,
  StepLinkCopy,
  StepAutoEq,
  StepFilterImport,
  // The A/B comparison of two programs.
  CompareCopyAToB,
  CompareCopyBToA,
  // The window's A/B toggle (its tip) and the option that draws the other program's curve.
  CompareToggleTip,
  CompareShowOther,
  // Filter exchange in the window: the system menu's entries, the export dialog ({channel}
  // in its title) and the import dialog with its line-by-line report.
  MenuExportFilters,
  MenuImportFilters,
  ExportTitle,
  ExportFormatCaption,
  ExportFormatRew,
  ExportFormatEqApo,
  ExportFormatCamillaDsp,
  ExportSave,
  ExportClose,
  ExportNoFilters,
  ExchangeFileFilterText,
  ExchangeFileFilterYaml,
  ExchangeFileFilterAll,
  ImportTitle,
  ImportReplacesBands,  // {bands}, {channel}
  ImportHighPassToo,
  ImportLowPassToo,
  ImportNothing,
  ImportRefusedHeading,  // {count}
  ImportAllLinesFit,
  ImportColumnLine,
  ImportColumnVerdict,
  ImportColumnReason,
  ImportColumnText,
  ImportVerdictRefused,
  ImportVerdictLeftOut,
  ImportAccept,
  ImportAcceptRest,
  ImportCancel,
  ImportFileTooLarge,
  // Filter exchange with other tools: why a line was not imported, and export notes.
  ImportTooManyBands,
  ImportUnsupportedType,
  ImportOutOfRange,
  ImportNotUnderstood,
  ImportCommandNotImported,
  ImportCrossoverUnmatched,
  ImportSwitchedOff,
  ImportFlatBand,
  ImportToParametric,
  ExportFirstOrderLeftOut,

  // Firmware update: the file, the dialog, the status line and the closing messages.
  FirmwareFileError,
  FirmwareTypeError,
  ControllerUpdateWarning,
  FirmwareDialogTitle,
  UpdateDontClose,
  SearchingUpdateDevice,
  UpgradeReady,
  UpgradeDataTransfer,
  UpgradeProgramming,
  UpgradeComplete,
  UpgradeControllerDone,
  UpdateFinished,
  // Factory reset: the question, and the answer when no device is connected.
  FactoryResetQuestion,
  DeviceNotConnected,
  // The firmware dialog's caption and buttons.
  FirmwareFileCaption,
  FirmwareBrowseButton,
  FirmwareStartButton,
  FactoryResetButton,
  // The backup of the six presets before an update or a factory reset: the offer ("{path}"
  // is replaced), the note when it is written, why it failed, and the question then
  // ("{reason}" is replaced).
  BackupOffer,
  BackupWritten,
  BackupInterrupted,
  BackupNotVerified,
  BackupFailedGoOn,

  // Measurements, targets and automatic EQ (measure/): why an import or a fit was refused.
  // MeasureAtLine holds "{line}", where the line number goes.
  MeasureAtLine,
  MeasureFileUnreadable,
  MeasureFileTooLarge,
  MeasureBadNumber,
  MeasureMissingField,
  MeasureFrequencyNotRising,
  MeasureTooFewRows,
  MeasureTooFewTargetPoints,
  MeasureBadSideFile,
  MeasureSideFileVersion,
  MeasureCannotWrite,
  MeasureNoMeasurement,
  MeasureNoFreeBand,
  MeasureEmptyRange,
  // The built-in target curves' names.
  TargetFlat,
  TargetCar,
  // Files: why the system refused (the system's reason in words) and what the program does.
  FileReasonNotFound,
  FileReasonPermission,
  FileReasonNotPermitted,
  FileReasonReadOnly,
  FileReasonNoSpace,
  FileReasonQuota,
  FileReasonIsFolder,
  FileReasonNotFolder,
  FileReasonNameTooLong,
  FileReasonTooLarge,
  FileReasonIo,
  FileReasonInUse,
  FileReasonNotRegular,
  FileReasonExists,
  FileWaiting,             // {file}: another program holds it; this one waits
  FileSameAsInput,         // {output}, {input}: an output that would overwrite an input
  FileNotPresetSize,       // {size}: a file of neither preset size
  FileNotPresetSignature,  // the right size, a foreign signature
  FileNotSinglePreset,     // an all-presets file where a single-preset file is needed
  FileNotAllPresets,       // and the other way round
  // A batch transfer that broke off: the heading, where it stopped ({operation}, {k}, {n}),
  // what it may have left on the processor, and what to do.
  TransferBrokeOff,
  TransferStoppedAt,
  TransferMayBeMixed,
  TransferRepeatWrite,
  TransferReadNothingChanged,
  TransferOpPush,
  TransferOpStore,
  TransferOpSendAll,
  TransferOpRecall,
  TransferOpReadAll,
  // The device was found but answers no command.
  DeviceNotAnswering,

  // Tuning from measurements in the window: the graph row's button, the measurement
  // dialog, the graph's layer legend and the messages. MeasureImportFailed and
  // MeasureFileRefused hold "{file}", where the file's name goes.
  MeasureButton,
  MeasureTitle,
  MeasureNone,
  MeasureImport,
  MeasureRemove,
  MeasureShift,
  MeasureLayers,
  LayerMeasurement,
  LayerPrediction,
  LayerTarget,
  LayerAutoEq,
  MeasureTargetCaption,
  TargetHouseCurve,
  MeasureLoadHouseCurve,
  AutoEqCaption,
  AutoEqPassband,
  AutoEqFrom,
  AutoEqTo,
  AutoEqMaxBoost,
  AutoEqBands,
  AutoEqPreviewButton,
  AutoEqApply,
  AutoEqDiscard,
  AutoEqResult,  // holds {before}, {after}, {from}, {to}
  AutoEqNoPreview,
  MeasureFileFilter,
  HouseCurveFileFilter,
  MeasureImportFailed,
  MeasureFileRefused,
  MeasureSaveFailed,
  // Time alignment from distances (the delay panel's button and its dialog).
  AlignButton,
  AlignTitle,
  AlignHint,
  AlignOutput,
  AlignDistance,
  AlignDelayNow,
  AlignDelayNew,
  AlignUnitCm,
  AlignUnitInch,
  AlignApply,
  AlignClose,
  AlignBadDistance,  // holds {output}
  AlignClamped,

  Count
};

struct TextPair {
  std::string_view chinese;
  std::string_view english;
};

// The pair of an id; an id outside the catalogue gives two empty texts.
TextPair TextPairOf(TextId id);

// The text of an id in the current language.
inline std::string_view Tr(TextId id, bool chinese) {
  const TextPair p = TextPairOf(id);
  return chinese ? p.chinese : p.english;
}

// The input sources 0..5 in list order; empty outside.
inline constexpr int kInputSourceCount = 6;
std::string_view InputSourceName(int source, bool chinese);

// --- Lists that exist in Chinese only and are shown so in both languages.

// Speaker types: a table of 31 names of which 0..26 are filled.
inline constexpr int kSpeakerTypeTableSize = 31;
inline constexpr int kSpeakerTypeCount = 27;
// The name of speaker type t; empty for unfilled entries and anything outside the table.
std::string_view SpeakerTypeName(int type);

// Speaker configuration modes 0..5; empty outside.
inline constexpr int kSpeakerModeCount = 6;
std::string_view SpeakerModeName(int mode);

// Position words under which the speaker-type menu groups the types.
inline constexpr int kSpeakerPositionCount = 6;
std::string_view SpeakerPositionWord(int index);
// The two top-level groups of that menu above the position words: "前置", "后置".
inline constexpr std::string_view kSpeakerFrontGroup = "前置";
inline constexpr std::string_view kSpeakerRearGroup = "后置";

// The application title: the main window's text, the same in both languages.
inline constexpr std::string_view kApplicationTitle = "TRX-560-MAX";

}  // namespace vantor
