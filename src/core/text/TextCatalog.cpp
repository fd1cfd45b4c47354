#include "text/TextCatalog.h"

#include <array>

namespace vantor {
namespace {

// Shown in Chinese in both languages.
constexpr std::string_view kControllerWarning =
    "          手控器升级之前请断开蓝牙、退出U盘，\n    "
    "并且升级过程中请勿触碰任何设备防止断电！！！";

}  // namespace

TextPair TextPairOf(TextId id) {
  switch (id) {
    case TextId::CharLenError:
      return {"字符长度错误!", "char Len error!"};
    case TextId::NameNotEncodable:
      return {"名称含有无法保存的字符!", "The name contains characters that cannot be stored!"};
    case TextId::ResetAllEq:
      return {"是否恢复所有EQ的初始值", "Whether the reset all EQ?"};
    case TextId::DataError:
      return {"数据错误", "Data err"};
    case TextId::SourceHighLevel:
      return {"高电平", "High level"};
    case TextId::SourceRca:
      return {"低电平", "RCA"};
    case TextId::SourceBluetooth:
      return {"蓝牙", "Bluetooth"};
    case TextId::SourceOptical:
      return {"光纤", "Optical"};
    case TextId::SourceCoaxial:
      return {"同轴", "Coaxial"};
    case TextId::SourcePlayer:
      return {"播放器", "Player"};
    case TextId::UnableToConnect:
      return {"无法连接设备", "unable to connect"};
    case TextId::DeviceAccessDenied:
      return {
          "已找到设备，但当前用户没有打开它的权限。请安装软件包中的 udev 规则"
          "（70-vantor.rules），然后拔下设备再重新插上。",
          "The processor is plugged in, but this user has no permission to open it. "
          "Install the package's udev rule (70-vantor.rules), then unplug the processor "
          "and plug it in again."};
    case TextId::FirmwareTooOld:
      return {"数据回传错误!", "Please Update the Firmware!"};
    case TextId::TransferTitle:
      return {"数据传输中", "Data transmissionning"};
    case TextId::TransferCaption:
      return {"数据正在传输中", "Data transmission"};
    case TextId::MenuFirmwareUpdate:
      return {"固件更新", "Firmware Update"};
    case TextId::MenuLanguage:
      return {"英文", "Chinese"};
    case TextId::MenuAbout:
      return {"关于", "About"};
    case TextId::MenuPresetLoad:
      return {"音效调用", "Open"};
    case TextId::MenuPresetSave:
      return {"音效保存", "Save"};
    case TextId::ConnectConnected:
      return {"已连接", "Connected"};
    case TextId::ConnectDisconnected:
      return {"连接设备", "Connect"};
    case TextId::PresetButton:
      return {"音效", "Presets"};
    case TextId::SourceCaption:
      return {"音源", "Source"};
    case TextId::SpeakerModeCaption:
      return {"模式", "Mode"};
    case TextId::DemoBadge:
      return {"演示：模拟处理器", "Demo: simulated processor"};
    case TextId::SwitchOn:
      return {"开", "ON"};
    case TextId::SwitchOff:
      return {"关", "OFF"};
    case TextId::PhaseButton:
      return {"POL", "POL"};
    case TextId::MasterCaption:
      return {"总音量", "Master"};
    case TextId::GainCaption:
      return {"增益", "Gain"};
    case TextId::CurveCaption:
      return {"曲线", "Curve"};
    case TextId::EqResetButton:
      return {"EQ复位", "EQ Reset"};
    case TextId::LimiterRoutingButton:
      return {"限幅与路由", "Limiter / Routing"};
    case TextId::SpeakerPositions:
      return {"扬声器位置", "Speaker positions"};
    case TextId::HighPassCaption:
      return {"高通", "HPF"};
    case TextId::LowPassCaption:
      return {"低通", "LPF"};
    case TextId::DelayCaption:
      return {"延时", "Delay"};
    case TextId::DelayUnitMs:
      return {"毫秒", "ms"};
    case TextId::DelayUnitCm:
      return {"厘米", "cm"};
    case TextId::DelayUnitInch:
      return {"英寸", "inch"};
    case TextId::BandFrequencyCaption:
      return {"频率", "Freq"};
    case TextId::BandQCaption:
      return {"Q值", "Q"};
    case TextId::BandOffButton:
      return {"BY", "BY"};
    case TextId::LimiterThresholdCaption:
      return {"限幅阈值", "Threshold"};
    case TextId::LimiterAttackCaption:
      return {"启动", "Attack"};
    case TextId::LimiterReleaseCaption:
      return {"释放", "Release"};
    case TextId::EqBypassButton:
      return {"EQ旁通", "EQ Bypass"};
    case TextId::AllBypassCheck:
      return {"全部旁通", "All ByPass"};
    case TextId::EqModeButton:
      return {"图示EQ", "GEQ"};
    case TextId::EqToGraphicQuestion:
      return {"是否把参量均衡模式转换为图示均衡模式?", "Whether the PEQMode convert to GEQMode?"};
    case TextId::EqToParametricQuestion:
      return {"是否把图示均衡模式转换为参量均衡模式?", "Whether the GEQMode convert to PEQMode?"};
    case TextId::LinkButton:
      return {"联调", "Link"};
    case TextId::LinkCaptionFront:
      return {"声场联调", "Grouping of Front channel"};
    case TextId::LinkCaptionRear:
      return {"声场联调", "Grouping of Rear channel"};
    case TextId::LinkCaptionSub:
      return {"声场联调", "Grouping of Sub channel"};
    case TextId::LinkQuestion:
      // The dialog's own line, the same in both languages.
      return {"Which channel data should be applied? ", "Which channel data should be applied? "};
    case TextId::LinkLeftData:
      return {"左侧数据", "Left side's data"};
    case TextId::LinkRightData:
      return {"右侧数据", "Right side's data"};
    case TextId::LinkOk:
      return {"确定", "OK"};
    case TextId::LinkCancel:
      return {"取消", "Cancel"};
    case TextId::LinkNoPair:
      return {"无通道可以联调", "无通道可以联调"};
    case TextId::RoutingMatrixCaption:
      return {"路由矩阵：各输出中每个输入的电平（0..100）",
              "Routing matrix: the level of each input in each output (0..100)"};
    case TextId::RoutingOutputsCaption:
      return {"输出", "Output"};
    case TextId::RoutingSource:
      return {"输入{n}", "IN{n}"};
    case TextId::LimiterBlockCaption:
      return {"全局限幅", "Global limiter"};
    case TextId::LimiterBlockValue1:
      return {"参数 1", "Value 1"};
    case TextId::LimiterBlockValue2:
      return {"参数 2", "Value 2"};
    case TextId::LimiterBlockRelease:
      return {"释放", "Release"};
    case TextId::DialogClose:
      return {"关闭", "Close"};
    case TextId::SlotLabelPrefix:
      return {"音效", "Source"};
    case TextId::SlotNameAllSpaces:
      return {"组名不能全为空格!", "The name can not be all spaces!"};
    case TextId::DeleteSlotQuestion:
      return {"是否删除本组音效数据?", "Are you delete this Source Data?"};
    case TextId::SourceLoadTitle:
      return {"音效调用", "Source Load"};
    case TextId::SourceSaveTitle:
      return {"音效保存", "Source Save"};
    case TextId::SlotMenuLoad:
      return {"读取", "Load"};
    case TextId::SlotMenuSave:
      return {"保存", "Save"};
    case TextId::SlotMenuDelete:
      return {"删除", "Delete"};
    case TextId::SourceNameCaption:
      return {"请输入音效名", "请输入音效名"};
    case TextId::SourceNameLabel:
      return {"音效组名:", "Source Name:"};
    case TextId::ButtonOk:
      return {"确定", "确定"};
    case TextId::ButtonCancel:
      return {"取消", "取消"};
    case TextId::PresetMenuOpen:
      return {"音效调用", "Open"};
    case TextId::PresetMenuSave:
      return {"音效保存", "Save"};
    case TextId::PresetFileError:
      return {"文件错误!", "error for file!"};
    case TextId::AllPresetsReadError:
      return {"读所有音乐文件错误!", "Read all MusicFile Error"};
    case TextId::PresetSaveError:
      return {"保存音乐文件错误!", "Save MusicFile Error!"};
    case TextId::AllPresetsSaveError:
      return {"保存文件错误!", "save File Error!"};
    case TextId::PresetFileLoadButton:
      return {"读取文件", "Load File"};
    case TextId::PresetFileSaveButton:
      return {"保存文件", "Save File"};
    case TextId::SaveOptionCurrent:
      return {"当前音效", "Current preset"};
    case TextId::SaveOptionAll:
      return {"所有音效", "All presets"};
    case TextId::ReportTitle:
      return {"参数报表", "Parameter report"};
    case TextId::ReportParameter:
      return {"参数", "Parameter"};
    case TextId::ReportName:
      return {"名称", "Name"};
    case TextId::ReportSpeakerType:
      return {"扬声器类型", "Speaker type"};
    case TextId::ReportOutputOn:
      return {"输出", "Output"};
    case TextId::ReportPhase:
      return {"相位", "Phase"};
    case TextId::ReportGain:
      return {"增益", "Gain"};
    case TextId::ReportDelay:
      return {"延时", "Delay"};
    case TextId::ReportHighPass:
      return {"高通", "High-pass"};
    case TextId::ReportLowPass:
      return {"低通", "Low-pass"};
    case TextId::ReportFrequency:
      return {"频率", "frequency"};
    case TextId::ReportFamily:
      return {"类型", "family"};
    case TextId::ReportSlope:
      return {"斜率", "slope"};
    case TextId::ReportLimiterThreshold:
      return {"限幅阈值", "Limiter threshold"};
    case TextId::ReportLimiterAttack:
      return {"限幅启动时间", "Limiter attack"};
    case TextId::ReportLimiterRelease:
      return {"限幅释放时间", "Limiter release"};
    case TextId::ReportEqMode:
      return {"均衡模式", "EQ mode"};
    case TextId::ReportMix:
      return {"混音", "Mix"};
    case TextId::ReportBand:
      return {"频段", "Band"};
    case TextId::ReportBandGain:
      return {"增益", "gain"};
    case TextId::ReportBandQ:
      return {"Q值", "Q"};
    case TextId::ReportBandType:
      return {"类型", "type"};
    case TextId::ValueOn:
      return {"开", "On"};
    case TextId::ValueOff:
      return {"关", "Off"};
    case TextId::ValueNormal:
      return {"正相", "Normal"};
    case TextId::ValueInverted:
      return {"反相", "Inverted"};
    case TextId::MenuUndo:
      return {"撤销", "Undo"};
    case TextId::MenuRedo:
      return {"重做", "Redo"};
    case TextId::StepBand:
      return {"EQ 频段", "band"};
    case TextId::StepGraphDrag:
      return {"曲线拖动", "graph drag"};
    case TextId::StepCrossover:
      return {"分频", "crossover"};
    case TextId::StepGain:
      return {"增益", "gain"};
    case TextId::StepPhase:
      return {"相位", "phase"};
    case TextId::StepOutputOn:
      return {"输出开关", "output on/off"};
    case TextId::StepDelay:
      return {"延时", "delay"};
    case TextId::StepMixer:
      return {"混音电平", "mixer level"};
    case TextId::StepLimiter:
      return {"限幅器", "limiter"};
    case TextId::StepSpeakerType:
      return {"喇叭类型", "speaker type"};
    case TextId::StepSource:
      return {"音源", "source"};
    case TextId::StepMasterLevel:
      return {"总音量", "master level"};
    case TextId::StepChannelName:
      return {"通道名称", "channel name"};
    case TextId::StepEqReset:
      return {"EQ 复位", "EQ reset"};
    case TextId::StepEqMode:
      return {"EQ 模式", "EQ mode"};
    case TextId::StepAllBypass:
      return {"EQ 全部旁通", "EQ bypass"};
    case TextId::StepLinkCopy:
      return {"通道联调复制", "link copy"};
    case TextId::StepAutoEq:
      return {"自动 EQ", "automatic EQ"};
    case TextId::StepFilterImport:
      return {"滤波器导入", "filter import"};
    case TextId::CompareCopyAToB:
      return {"复制 A 到 B", "Copy A to B"};
    case TextId::CompareCopyBToA:
      return {"复制 B 到 A", "Copy B to A"};
    case TextId::CompareToggleTip:
      return {"在方案 A 和方案 B 之间切换处理器（只发送不同之处）",
              "Switch the processor between programs A and B (only what differs is sent)"};
    case TextId::CompareShowOther:
      return {"显示另一方案的曲线", "Show the other program's curve"};
    case TextId::MenuExportFilters:
      return {"导出滤波器……", "Export filters..."};
    case TextId::MenuImportFilters:
      return {"导入滤波器……", "Import filters..."};
    case TextId::ExportTitle:
      return {"导出滤波器 - {channel}", "Export filters - {channel}"};
    case TextId::ExportFormatCaption:
      return {"格式", "Format"};
    case TextId::ExportFormatRew:
      return {"REW 滤波器设置", "REW filter settings"};
    case TextId::ExportFormatEqApo:
      return {"Equalizer APO 配置", "Equalizer APO configuration"};
    case TextId::ExportFormatCamillaDsp:
      return {"CamillaDSP 滤波器 (YAML)", "CamillaDSP filters (YAML)"};
    case TextId::ExportSave:
      return {"保存……", "Save..."};
    case TextId::ExportClose:
      return {"关闭", "Close"};
    case TextId::ExportNoFilters:
      return {"此输出没有可导出的滤波器（平坦和旁通的频段、关闭的分频不导出）",
              "This output has no filter to export (flat and bypassed bands and open "
              "crossovers are left out)"};
    case TextId::ExchangeFileFilterText:
      return {"滤波器文本 (*.txt)", "Filter text (*.txt)"};
    case TextId::ExchangeFileFilterYaml:
      return {"YAML (*.yml *.yaml)", "YAML (*.yml *.yaml)"};
    case TextId::ExchangeFileFilterAll:
      return {"所有文件 (*)", "All files (*)"};
    case TextId::ImportTitle:
      return {"导入滤波器 - {channel}", "Import filters - {channel}"};
    case TextId::ImportReplacesBands:
      return {"文件中的 {bands} 个频段将替换 {channel} 的全部 31 个频段（按频率排列）。",
              "The file's {bands} bands replace all 31 bands of {channel} (sorted by "
              "frequency)."};
    case TextId::ImportHighPassToo:
      return {"高通分频也将导入。", "The high-pass crossover is imported too."};
    case TextId::ImportLowPassToo:
      return {"低通分频也将导入。", "The low-pass crossover is imported too."};
    case TextId::ImportNothing:
      return {"文件中没有可导入的滤波器，不会有任何改变。",
              "The file holds no filter that can be imported; nothing changes."};
    case TextId::ImportRefusedHeading:
      return {"有 {count} 行无法导入。只有接受其余各行，才会导入。",
              "{count} lines cannot be imported. Nothing is imported unless you accept the "
              "rest."};
    case TextId::ImportAllLinesFit:
      return {"每一行都可以导入。", "Every line can be imported."};
    case TextId::ImportColumnLine:
      return {"行", "Line"};
    case TextId::ImportColumnVerdict:
      return {"结果", "Result"};
    case TextId::ImportColumnReason:
      return {"原因", "Reason"};
    case TextId::ImportColumnText:
      return {"内容", "Text"};
    case TextId::ImportVerdictRefused:
      return {"无法导入", "cannot be imported"};
    case TextId::ImportVerdictLeftOut:
      return {"未导入", "left out"};
    case TextId::ImportAccept:
      return {"导入", "Import"};
    case TextId::ImportAcceptRest:
      return {"导入其余各行", "Import the rest"};
    case TextId::ImportCancel:
      return {"取消", "Cancel"};
    case TextId::ImportFileTooLarge:
      return {"文件过大，不是滤波器文件", "too large for a filter file"};
    case TextId::ImportTooManyBands:
      return {"超过 31 个频段", "more than 31 bands"};
    case TextId::ImportUnsupportedType:
      return {"不支持的滤波器类型", "filter type not supported"};
    case TextId::ImportOutOfRange:
      return {"数值超出范围", "value out of range"};
    case TextId::ImportNotUnderstood:
      return {"无法识别", "not understood"};
    case TextId::ImportCommandNotImported:
      return {"此命令不导入", "command not imported"};
    case TextId::ImportCrossoverUnmatched:
      return {"与本机的分频器类型都不符", "matches no crossover this processor has"};
    case TextId::ImportSwitchedOff:
      return {"已关闭，未导入", "switched off, left out"};
    case TextId::ImportFlatBand:
      return {"0 dB，未导入", "0 dB, left out"};
    case TextId::ImportToParametric:
      return {"该输出将切换为参量均衡模式", "the output is switched to parametric EQ"};
    case TextId::ExportFirstOrderLeftOut:
      return {"一阶分频段在此格式中没有对应类型，未导出",
              "a first-order crossover section has no type in this format and was left out"};
    case TextId::ValueParametric:
      return {"参量均衡", "Parametric"};
    case TextId::ValueGraphic:
      return {"图示均衡", "Graphic"};
    case TextId::FamilyLinkwitz:
      return {"宁克", "Link_Ril"};
    case TextId::FamilyBessel:
      return {"贝塞尔", "Bessel"};
    case TextId::FamilyButterworth:
      return {"巴特沃斯", "Butter_W"};
    case TextId::BandPeak:
      return {"峰值", "Peak"};
    case TextId::BandLowShelf6:
      return {"低架 6dB/Oct", "Low shelf 6dB/Oct"};
    case TextId::BandLowShelf12:
      return {"低架 12dB/Oct", "Low shelf 12dB/Oct"};
    case TextId::BandHighShelf6:
      return {"高架 6dB/Oct", "High shelf 6dB/Oct"};
    case TextId::BandHighShelf12:
      return {"高架 12dB/Oct", "High shelf 12dB/Oct"};
    case TextId::ReportPrint:
      return {"打印…", "Print…"};
    case TextId::ReportExportCsv:
      return {"导出 CSV…", "Export CSV…"};
    case TextId::FileWriteError:
      return {"无法写入文件", "Cannot write the file"};
    case TextId::AboutWhat:
      return {"八路输出车载音频处理器调音软件",
              "Tuning software for the eight-output car-audio processor"};
    case TextId::AboutVersion:
      return {"Vantor 版本 {version}", "Vantor version {version}"};

    case TextId::FirmwareFileError:
      return {"固件文件错误!", "Hex File error!"};
    case TextId::FirmwareTypeError:
      return {"升级文件类型错误！", "升级文件类型错误！"};
    case TextId::ControllerUpdateWarning:
      return {kControllerWarning, kControllerWarning};
    case TextId::FirmwareDialogTitle:
      return {"设备固件更新", "Device Firmware Update"};
    case TextId::UpdateDontClose:
      return {"更新中 请勿关闭!", "Don't close up the update!"};
    case TextId::SearchingUpdateDevice:
      return {"搜索待升级设备", "Search for upgraded devices"};
    case TextId::UpgradeReady:
      return {"设备升级准备就绪", "Equipment upgrade ready"};
    case TextId::UpgradeDataTransfer:
      return {"数据传输", "Programming......"};
    case TextId::UpgradeProgramming:
      return {"DSP更新开始", "Programming......"};
    case TextId::UpgradeComplete:
      return {"更新完成!", "Update successfully!"};
    case TextId::UpgradeControllerDone:
      return {"DSP更新完成!", "DSP end of the update!"};
    case TextId::UpdateFinished:
      return {"固件更新完成!", "Update successfully!"};
    case TextId::FactoryResetQuestion:
      return {
          "恢复出厂设置后，您的数据会全部丢失，这个过程是不可恢复的！ "
          "选择'是'则清除数据，选择'否'则不进行操作",
          "After restoring the factory settings, all your data will be lost. This process is not "
          "recoverable!  Choose 'YES' to clear the data, and choose 'NO' to do nothing."};
    case TextId::DeviceNotConnected:
      return {"设备未连接", "The device is not connected"};
    case TextId::FirmwareFileCaption:
      return {"固件文件:", "Firmware file:"};
    case TextId::FirmwareBrowseButton:
      return {"浏览…", "Browse…"};
    case TextId::FirmwareStartButton:
      return {"开始更新", "Start"};
    case TextId::FactoryResetButton:
      return {"恢复出厂设置", "Factory Reset"};
    case TextId::BackupOffer:
      return {"继续之前，是否先将设备的六组音效备份到\n{path}？",
              "Back up the device's six presets to\n{path}\nbefore going on?"};
    case TextId::BackupWritten:
      return {"音效已备份到 {path}", "Presets backed up to {path}"};
    case TextId::BackupInterrupted:
      return {"备份完成前连接已断开", "the connection ended before the backup was complete"};
    case TextId::BackupNotVerified:
      return {"备份文件读回后与设备的音效不符",
              "the backup file does not read back as the device's presets"};
    case TextId::BackupFailedGoOn:
      return {"音效备份失败：{reason}\n不备份也要继续吗？",
              "The backup of the presets failed: {reason}\nGo on without a backup?"};
    case TextId::MeasureAtLine:
      return {"第 {line} 行：", "line {line}: "};
    case TextId::MeasureFileUnreadable:
      return {"无法读取文件", "cannot read the file"};
    case TextId::MeasureFileTooLarge:
      return {"文件太大", "the file is too large"};
    case TextId::MeasureBadNumber:
      return {"不是有效的数字（不接受 NaN 和无穷大）",
              "not a valid number (NaN and infinity are refused)"};
    case TextId::MeasureMissingField:
      return {"一行需要频率和电平两个数", "a row needs a frequency and a level"};
    case TextId::MeasureFrequencyNotRising:
      return {"频率必须大于 0 并逐行递增", "frequencies must be above 0 and rise from row to row"};
    case TextId::MeasureTooFewRows:
      return {"10 Hz 至 24 kHz 之间不足 10 行数据", "fewer than 10 rows between 10 Hz and 24 kHz"};
    case TextId::MeasureTooFewTargetPoints:
      return {"目标曲线至少需要两个点", "a target curve needs at least two points"};
    case TextId::MeasureBadSideFile:
      return {"不是测量文件或内容已损坏", "not a measurement file, or a damaged one"};
    case TextId::MeasureSideFileVersion:
      return {"测量文件来自更新的版本", "the measurement file was written by a newer version"};
    case TextId::MeasureCannotWrite:
      return {"无法写入文件", "cannot write the file"};
    case TextId::MeasureNoMeasurement:
      return {"该输出没有测量数据", "the output has no measurement"};
    case TextId::MeasureNoFreeBand:
      return {"该输出没有可用的EQ段（全部已关闭）",
              "the output has no band to use (every band is switched off)"};
    case TextId::MeasureEmptyRange:
      return {"频率范围内没有测量数据", "the frequency range holds no measured point"};
    case TextId::TargetFlat:
      return {"平直", "flat"};
    case TextId::TargetCar:
      return {"汽车", "car"};
    case TextId::MeasureButton:
      return {"测量…", "Measure…"};
    case TextId::MeasureTitle:
      return {"测量调音", "Tune from measurements"};
    case TextId::MeasureNone:
      return {"（未导入测量）", "(no measurement)"};
    case TextId::MeasureImport:
      return {"导入测量…", "Import…"};
    case TextId::MeasureRemove:
      return {"移除", "Remove"};
    case TextId::MeasureShift:
      return {"电平偏移", "Level shift"};
    case TextId::MeasureLayers:
      return {"显示", "Show"};
    case TextId::LayerMeasurement:
      return {"测量", "measurement"};
    case TextId::LayerPrediction:
      return {"预测", "prediction"};
    case TextId::LayerTarget:
      return {"目标", "target"};
    case TextId::LayerAutoEq:
      return {"自动EQ预览", "auto EQ preview"};
    case TextId::MeasureTargetCaption:
      return {"目标曲线", "Target"};
    case TextId::TargetHouseCurve:
      return {"自定义曲线", "house curve"};
    case TextId::MeasureLoadHouseCurve:
      return {"载入曲线…", "Load curve…"};
    case TextId::AutoEqCaption:
      return {"自动EQ（当前输出）", "Automatic EQ (current output)"};
    case TextId::AutoEqPassband:
      return {"分频通带", "Crossover passband"};
    case TextId::AutoEqFrom:
      return {"从", "From"};
    case TextId::AutoEqTo:
      return {"到", "to"};
    case TextId::AutoEqMaxBoost:
      return {"最大提升", "Boost limit"};
    case TextId::AutoEqBands:
      return {"段数", "Bands"};
    case TextId::AutoEqPreviewButton:
      return {"预览", "Preview"};
    case TextId::AutoEqApply:
      return {"应用", "Apply"};
    case TextId::AutoEqDiscard:
      return {"放弃", "Discard"};
    case TextId::AutoEqResult:
      return {"{from}–{to} Hz 偏差（RMS）：{before} dB → {after} dB",
              "Deviation {from}–{to} Hz (RMS): {before} dB → {after} dB"};
    case TextId::AutoEqNoPreview:
      return {"预览会画在曲线图上；应用后可撤销。",
              "The preview is drawn on the graph; Apply can be undone."};
    case TextId::MeasureFileFilter:
      return {"测量文件 (*.txt *.frd *.csv);;所有文件 (*)",
              "Measurements (*.txt *.frd *.csv);;All files (*)"};
    case TextId::HouseCurveFileFilter:
      return {"曲线文件 (*.txt *.csv);;所有文件 (*)", "Curves (*.txt *.csv);;All files (*)"};
    case TextId::MeasureImportFailed:
      return {"无法导入 {file}：", "Cannot import {file}: "};
    case TextId::MeasureFileRefused:
      return {"无法读取测量文件 {file}：{reason}。该文件保持不变，本次的测量不会保存到其中。",
              "Cannot read the measurement file {file}: {reason}. The file is left as it is; "
              "measurements of this session are not saved into it."};
    case TextId::MeasureSaveFailed:
      return {"无法保存测量文件 {file}：", "Cannot save the measurement file {file}: "};
    case TextId::AlignButton:
      return {"距离对齐", "Align…"};
    case TextId::AlignTitle:
      return {"按距离时间对齐", "Time alignment from distances"};
    case TextId::AlignHint:
      return {"输入每个喇叭到听音位置的距离；最远的喇叭不延时，其余的等待它的声音。",
              "Enter each speaker's distance to the listening seat; the farthest plays at "
              "once, the others wait for its sound."};
    case TextId::AlignOutput:
      return {"输出", "Output"};
    case TextId::AlignDistance:
      return {"距离", "Distance"};
    case TextId::AlignDelayNow:
      return {"当前延时", "Delay now"};
    case TextId::AlignDelayNew:
      return {"新延时", "New delay"};
    case TextId::AlignUnitCm:
      return {"厘米", "cm"};
    case TextId::AlignUnitInch:
      return {"英寸", "inch"};
    case TextId::AlignApply:
      return {"应用", "Apply"};
    case TextId::AlignClose:
      return {"关闭", "Close"};
    case TextId::AlignBadDistance:
      return {"{output}：距离必须是不小于 0 的数字",
              "{output}: the distance must be a number, 0 or more"};
    case TextId::AlignClamped:
      return {"超过 50 ms，已限制为 50 ms", "beyond 50 ms, held at 50 ms"};

    case TextId::FileReasonNotFound:
      return {"文件或文件夹不存在", "No such file or directory"};
    case TextId::FileReasonPermission:
      return {"没有权限", "Permission denied"};
    case TextId::FileReasonNotPermitted:
      return {"不允许的操作", "Operation not permitted"};
    case TextId::FileReasonReadOnly:
      return {"只读文件系统", "Read-only file system"};
    case TextId::FileReasonNoSpace:
      return {"磁盘空间不足", "No space left on device"};
    case TextId::FileReasonQuota:
      return {"超出磁盘配额", "Disk quota exceeded"};
    case TextId::FileReasonIsFolder:
      return {"这是一个文件夹", "Is a directory"};
    case TextId::FileReasonNotFolder:
      return {"路径中有一部分不是文件夹", "Not a directory"};
    case TextId::FileReasonNameTooLong:
      return {"文件名太长", "File name too long"};
    case TextId::FileReasonTooLarge:
      return {"文件太大", "File too large"};
    case TextId::FileReasonIo:
      return {"输入/输出错误", "Input/output error"};
    case TextId::FileReasonInUse:
      return {"文件正被另一个程序使用", "The file is in use by another program"};
    case TextId::FileReasonNotRegular:
      return {"不是普通文件", "Not a regular file"};
    case TextId::FileReasonExists:
      return {"文件已存在", "File exists"};
    case TextId::FileWaiting:
      return {"{file} 正被另一个程序使用，等待它结束……",
              "{file} is in use by another program; waiting for it to finish..."};
    case TextId::FileSameAsInput:
      return {"{output} 与输入文件 {input} 是同一个文件，不能覆盖",
              "{output} is the same file as the input {input}; it is not overwritten"};
    case TextId::FileNotPresetSize:
      return {"不是音效文件（{size} 字节；.dsps 为 2808 字节，.dspa 为 58730 字节）",
              "not a preset file ({size} bytes; a .dsps has 2808, a .dspa 58730)"};
    case TextId::FileNotPresetSignature:
      return {"不是音效文件（签名不符）", "not a preset file (wrong signature)"};
    case TextId::FileNotSinglePreset:
      return {"不是单音效文件 (.dsps)", "not a single-preset file (.dsps)"};
    case TextId::FileNotAllPresets:
      return {"不是全部音效文件 (.dspa)", "not an all-presets file (.dspa)"};
    case TextId::TransferBrokeOff:
      return {"传输中断!", "The transfer broke off!"};
    case TextId::TransferStoppedAt:
      return {"{operation}在第 {k} 条命令处中断（共 {n} 条）。",
              "{operation} stopped at command {k} of {n}."};
    case TextId::TransferMayBeMixed:
      return {"处理器现在可能混有新旧设置，部分输出可能没有声音。",
              "The processor may now hold a mix of old and new settings, and some outputs may "
              "be silent."};
    case TextId::TransferRepeatWrite:
      return {"请重新连接设备，然后再做一次。", "Connect the device again and do it once more."};
    case TextId::TransferReadNothingChanged:
      return {"处理器上的设置没有改变；请重新连接设备后再试。",
              "Nothing on the processor was changed; connect the device again and try again."};
    case TextId::TransferOpPush:
      return {"发送音效文件", "Sending the preset file"};
    case TextId::TransferOpStore:
      return {"保存音效到设备", "Storing the preset in the device"};
    case TextId::TransferOpSendAll:
      return {"发送全部音效", "Sending all presets"};
    case TextId::TransferOpRecall:
      return {"调用音效", "Recalling the preset"};
    case TextId::TransferOpReadAll:
      return {"读取全部音效", "Reading all presets"};
    case TextId::DeviceNotAnswering:
      return {"设备没有响应（找到了设备，但它不回答任何命令）",
              "the device is not answering (it was found, but answers no command)"};
    case TextId::Count:
      break;
  }
  return {};
}

namespace {

constexpr std::array<std::string_view, kSpeakerTypeTableSize> kSpeakerTypeNames = {
    "空",         "前左高频", "前左中频", "前左低频",   "前左中高频", "前左中低频", "前左全频",
    "前右高频",   "前右中频", "前右低频", "前右中高频", "前右中低频", "前右全频",   "后左高频",
    "后左中低频", "后左全频", "后右高频", "后右中低频", "后右全频",   "中置高频",   "中置中低频",
    "中置全频",   "左超低",   "右超低",   "超低",       "前自定义",   "后自定义",   "",
    "",           "",         ""};

constexpr std::array<std::string_view, kSpeakerModeCount> kSpeakerModeNames = {
    "默认全频", "前主三分", "前主两分", "前两超低", "前两中置", "一般模式"};

constexpr std::array<std::string_view, kSpeakerPositionCount> kPositionWords = {
    "前左", "前右", "后左", "后右", "中置", "超低"};

}  // namespace

std::string_view InputSourceName(int source, bool chinese) {
  if (source < 0 || source >= kInputSourceCount) return {};
  return Tr(static_cast<TextId>(static_cast<int>(TextId::SourceHighLevel) + source), chinese);
}

std::string_view SpeakerTypeName(int type) {
  if (type < 0 || type >= kSpeakerTypeTableSize) return {};
  return kSpeakerTypeNames[static_cast<std::size_t>(type)];
}

std::string_view SpeakerModeName(int mode) {
  if (mode < 0 || mode >= kSpeakerModeCount) return {};
  return kSpeakerModeNames[static_cast<std::size_t>(mode)];
}

std::string_view SpeakerPositionWord(int index) {
  if (index < 0 || index >= kSpeakerPositionCount) return {};
  return kPositionWords[static_cast<std::size_t>(index)];
}

}  // namespace vantor
