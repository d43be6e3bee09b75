// The settings record shared by the dialogs and the embossing job, the two
// device step lengths, and the millimetre-to-step conversion.
#pragma once

#include <cstdint>

namespace tenji {

// One step of the embosser down the page (X) and across it (Y), in mm.
inline constexpr double VERTICAL_STEP_MM = 0.3175;
inline constexpr double HORIZONTAL_STEP_MM = 0.3454;

// Whole steps for a length: the quotient plus 0.5, truncated toward zero
// (halves round up for lengths of 0 and more; -1.6 steps gives -1). A result
// beyond the int range saturates, and a NaN gives 0, instead of overflowing.
int mm_to_steps(double length_mm, double step_mm);

// Every value of the settings section, named after its key. PITCH_X and
// PITCH_Y belong to the pitch test print and are never stored.
struct PrintSettings {
  double TEN_HEIGHT = 0.0;
  double TEN_WIDTH = 0.0;
  double MASU_BETWEEN = 0.0;
  double GYO_BETWEEN = 0.0;
  std::int32_t TEN_KIND = 0;
  std::int32_t PAPER_SIZE = 0;
  double START_X = 0.0;
  double START_Y = 0.0;
  double END_X = 0.0;
  double END_Y = 0.0;
  std::int32_t CPL = 0;
  std::int32_t LPP = 0;
  std::int32_t PITCH_X = 0;
  std::int32_t PITCH_Y = 0;
  std::int32_t COM_PORT = 0;
  std::int32_t COM_SPEED = 0;
  std::int32_t COM_FLOW = 0;
  std::int32_t BACK_PITCH = 0;
};

// The values of a newly created settings file.
PrintSettings default_print_settings();

}  // namespace tenji
