#pragma once
// The document: owns the parameter model for as long as the program runs. Its title is
// empty; the preset files it will read and write are handled with the presets.

#include "model/KTV_Data.h"
#include "model/ProgramState.h"

namespace vantor {

class CVantorDoc {
 public:
  explicit CVantorDoc(ProgramState& state) : m_state(state), m_data(state) {}
  CVantorDoc(const CVantorDoc&) = delete;
  CVantorDoc& operator=(const CVantorDoc&) = delete;

  CKTV_Data& Data() { return m_data; }
  const CKTV_Data& Data() const { return m_data; }
  ProgramState& State() { return m_state; }

 private:
  ProgramState& m_state;
  CKTV_Data m_data;
};

}  // namespace vantor
