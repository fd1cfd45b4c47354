#pragma once
// Serialisation of the two preset file kinds through a byte archive, as the document does
// it: storing writes the signature and the records (after the objects have been written
// into the live record), loading checks the whole image first and only then replaces the
// records and gives the live record to the objects.
//
// Loading takes an archive that holds exactly one file: an image of the wrong size or with
// a wrong signature is refused before any record changes, so a short, long or foreign file
// never leaves half a preset behind.
//
// The caller holds the queue lock while the link is running: storing packs the objects into
// the live record, which the worker's pending-change scan packs into as well.

#include "base/ByteArchive.h"
#include "model/KTV_Data.h"
#include "presets/PresetFormat.h"

namespace vantor {

// Store: signature; the objects into the live record (whole-model store); the live record's
// music-on flag := 1; the 2792 live bytes. Load: a 2808-byte image with the signature
// becomes the live record, which is then unpacked into the objects as a file load does
// (load argument -1, the effect object stays). Returns false (nothing changed) otherwise.
bool SerializePreset(ByteArchive& ar, CKTV_Data& model);

// Store: signature; the 32-byte system area; slot records 1..20, each with its music-on
// flag set to 1 first; the objects into the live record, its music-on flag := 1, the live
// record; the 50-byte delay-position table. Load: a 58730-byte image with the signature
// replaces the system area, the 20 slot records, the live record and the table (its selected
// listening position clamped to 0..3), then the live record is unpacked into the objects
// (load argument -1). False, nothing changed,
// otherwise.
bool SerializeAllPresets(ByteArchive& ar, CKTV_Data& model);

// Whether `image` starts with the preset signature.
bool HasPresetSignature(std::span<const std::uint8_t> image);

}  // namespace vantor
