#pragma once
// Layout of the byte images the processor and the files hold: the 2792-byte state record
// of one sound program, its output channel records and band records, the input blocks,
// the effect images and the global blocks. Every offset has a name here; code elsewhere
// reads and writes fields through these names and the little-endian accessors.

#include <array>
#include <cstddef>
#include <cstdint>

namespace vantor::rec {

// --- Band record (8 bytes, the same in every block) ------------------------------------
inline constexpr std::size_t kBandRecordSize = 8;
inline constexpr std::size_t kBandFrequency = 0;  // i16, Hz (the filter's sent frequency)
inline constexpr std::size_t kBandGainCode = 2;   // i16, gain index + 400; 600 = 0 dB
inline constexpr std::size_t kBandWidth = 4;      // i16, bandwidth index 0..295
inline constexpr std::size_t kBandSlope = 6;      // u8
inline constexpr std::size_t kBandType = 7;       // u8, 0 peaking, 1 low shelf, 2 high shelf
inline constexpr int kBandGainCodeOffset = 400;   // gain code = gain index + 400

// --- Items: every block is addressed in 8-byte items ------------------------------------
inline constexpr std::size_t kItemSize = 8;
inline constexpr std::size_t ItemOffset(int item) {
  return kItemSize * static_cast<std::size_t>(item);
}

// --- State record (2792 bytes) ----------------------------------------------------------
inline constexpr std::size_t kStateRecordSize = 2792;
inline constexpr std::size_t kProgramName = 0;  // 16 bytes, at most 15 characters
inline constexpr std::size_t kProgramNameSize = 16;
inline constexpr std::size_t kProgramNameSent = 15;  // what the device is told
inline constexpr std::size_t kSecondText = 16;       // 16 bytes, carried, not interpreted
inline constexpr std::size_t kSecondTextSize = 16;
inline constexpr std::size_t kEffectBlock = 32;  // 96 bytes: 8 band records + 32 bytes
inline constexpr std::size_t kEffectBlockSize = 96;
inline constexpr std::size_t kEffectCrossover = 152;  // 8 bytes, like output bytes 256..263
inline constexpr std::size_t kEffectParams = 160;     // 16 bytes
inline constexpr std::size_t kEffectParamsSize = 16;
inline constexpr std::size_t kEffectName = 176;  // 8 characters
inline constexpr std::size_t kEffectNameSize = 8;
inline constexpr std::size_t kMicBlock = 184;    // 112 bytes
inline constexpr std::size_t kMusicBlock = 296;  // 112 bytes
inline constexpr std::size_t kInputBlockSize = 112;
inline constexpr std::size_t kMusicOnFlag = 371;  // music block byte 75
inline constexpr std::size_t kOutputRecords = 408;
inline constexpr std::size_t kOutputRecordSize = 298;
inline constexpr std::size_t kOutputBlockSize = 296;  // what a whole-output write carries
inline constexpr int kOutputCount = 8;
inline constexpr std::size_t OutputOffset(int channel) {
  return kOutputRecords + kOutputRecordSize * static_cast<std::size_t>(channel);
}

// Effect parameter bytes: record offsets of the eleven values the effect object carries.
inline constexpr std::array<std::size_t, 11> kEffectParamOffsets = {160, 161, 162, 163, 166, 168,
                                                                    169, 170, 171, 172, 175};

// --- Output channel record (298 bytes), offsets within the record ---------------------
inline constexpr int kOutputBands = 31;
inline constexpr std::size_t OutBand(int band) {
  return kBandRecordSize * static_cast<std::size_t>(band);
}
inline constexpr std::size_t kOutOn = 248;            // u8, item 31
inline constexpr std::size_t kOutPhase = 249;         // u8
inline constexpr std::size_t kOutGain = 250;          // i16, 0..60, 0 = muted
inline constexpr std::size_t kOutDelay = 252;         // i16, 0..2400 in 1/48 ms
inline constexpr std::size_t kOutEqMode = 254;        // u8, 0 parametric, 1 graphic
inline constexpr std::size_t kOutAuxLevel = 255;      // u8, value − 80 dB
inline constexpr std::size_t kOutHighPassFreq = 256;  // i16, item 32
inline constexpr std::size_t kOutHighPassFamily = 258;
inline constexpr std::size_t kOutHighPassSlope = 259;
inline constexpr std::size_t kOutLowPassFreq = 260;
inline constexpr std::size_t kOutLowPassFamily = 262;
inline constexpr std::size_t kOutLowPassSlope = 263;
inline constexpr std::size_t kOutMixer = 264;  // 14 bytes, items 33 and 34
inline constexpr std::size_t kMixerSources = 14;
inline constexpr std::size_t kOutLimiterThreshold = 282;  // i16, item 35
inline constexpr std::size_t kOutLimiterAttack = 284;     // u8
inline constexpr std::size_t kOutLimiterRelease = 285;    // u8
inline constexpr std::size_t kOutName = 290;              // 8 characters; 296..297 in no item
inline constexpr std::size_t kOutNameSize = 8;

// Items of an output record.
inline constexpr int kItemSettings = 31;  // on, phase, gain, delay, EQ mode, aux level
inline constexpr int kItemCrossover = 32;
inline constexpr int kItemMixerLow = 33;   // mixer sources 0..7
inline constexpr int kItemMixerHigh = 34;  // mixer sources 8..13
inline constexpr int kItemLimiter = 35;
inline constexpr int kItemName = 36;
// Mixer sources 0..7 travel in item 33, sources 8..13 in item 34.
inline constexpr int MixerItemOfSource(int source) {
  return source < 8 ? kItemMixerLow : kItemMixerHigh;
}

// --- Mic and music input blocks (112 bytes), offsets within the block -----------------
inline constexpr int kInputBands = 9;
inline constexpr std::size_t kInLevelBytes = 72;  // 4 bytes; music byte 75 = music-on
inline constexpr std::size_t kInLevel = 76;       // i16
inline constexpr std::size_t kInGain = 78;        // i16, 0 = muted
inline constexpr std::size_t kInCrossover = 80;   // 8 bytes
inline constexpr std::size_t kInLevelByte = 88;   // u8
inline constexpr std::size_t kInCarried = 96;     // i16, u8, u8
inline constexpr std::size_t kInName = 104;       // 8 characters
inline constexpr std::size_t kInNameSize = 8;

// --- Effect images (168 bytes each, addressed as slots 21..40) --------------------------
inline constexpr std::size_t kEffectImageSize = 168;
inline constexpr int kEffectImageCount = 20;
inline constexpr std::size_t kEffectImageName = 0;    // 16 bytes
inline constexpr std::size_t kEffectImageBlock = 16;  // 96 bytes, like record bytes 32..127
inline constexpr int kFirstEffectSlot = 21;
inline constexpr int kLastEffectSlot = 40;

// --- Slots ------------------------------------------------------------------------------
inline constexpr int kSlotRecordCount = 20;  // slot records 1..20
inline constexpr int kDeviceSlots = 6;       // the processor keeps 1..6

// --- Global blocks ----------------------------------------------------------------------
// The system block, the speaker-type table, four further bytes and the hidden level block
// lie one after the other in one 32-byte area, which is how files store them.
inline constexpr std::size_t kSystemAreaSize = 32;
inline constexpr std::size_t kSystemBlock = 0;  // 8 bytes, system item 144
inline constexpr std::size_t kSystemBlockSize = 8;
inline constexpr std::size_t kSpeakerTypes = 8;  // 12 bytes, system item 145
inline constexpr std::size_t kSpeakerTypesSize = 12;
inline constexpr std::size_t kSystemAreaSpare = 20;  // 4 bytes
inline constexpr std::size_t kHiddenLevels = 24;     // 8 bytes, system item 146
inline constexpr std::size_t kHiddenLevelsSize = 8;

// Fields of the system block (offsets within the system block).
inline constexpr std::size_t kSysInputSource = 0;   // u8, 0..5
inline constexpr std::size_t kSysMasterVolume = 2;  // i16, 0..66, dB = value − 60
inline constexpr std::size_t kSysMasterOn = 5;      // u8
inline constexpr std::size_t kSysSpeakerMode = 6;   // u8, 0..5

inline constexpr std::size_t kLimiterBlockSize = 8;  // system item 64
inline constexpr std::size_t kDelayPositionsSize = 50;
inline constexpr std::size_t kDelaySelectedPosition = 48;
inline constexpr std::size_t DelayPositionOffset(int position, int channel) {
  return 2 * static_cast<std::size_t>(6 * position + channel);
}

// The identity the device reports (system item 136), and the program's copy of it: room
// for one character more, spaces where nothing was received.
inline constexpr std::size_t kIdentitySize = 17;
inline constexpr std::size_t kIdentityHeldSize = 18;

// --- System item codes (block type 4, frame byte 8) -----------------------------------
inline constexpr int kSysItemStatus = 3;
inline constexpr int kSysItemLimiter = 64;
inline constexpr int kSysItemProgramName = 134;
inline constexpr int kSysItemIdentity = 136;
inline constexpr int kSysItemFactoryReset = 137;
inline constexpr int kSysItemSystemBlock = 144;
inline constexpr int kSysItemSpeakerTypes = 145;
inline constexpr int kSysItemHiddenLevels = 146;

// --- Block types (frame byte 7) ---------------------------------------------------------
inline constexpr int kBlockMic = 1;
inline constexpr int kBlockMusic = 2;
inline constexpr int kBlockOutput = 3;
inline constexpr int kBlockSystem = 4;
inline constexpr int kBlockEffect = 10;
inline constexpr int kMusicInputIndex = 2;  // the music input's index in byte 8

using StateRecord = std::array<std::uint8_t, kStateRecordSize>;
using EffectImage = std::array<std::uint8_t, kEffectImageSize>;

}  // namespace vantor::rec
