// The state of one dialog control: what a user sees and changes. Dialog
// models are made of these; nothing is drawn.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace kestrel::exporting {

enum class ControlKind : std::uint8_t { kFrame, kCheckBox, kOptionButton, kTextBox, kLabel, kComboBox, kProgressBar, kButton };

struct Control {
  ControlKind kind = ControlKind::kLabel;
  std::string caption;
  std::string text;             // text boxes and combo boxes
  int value = 0;                // check boxes 0/1, option buttons 0/1, progress bar position
  bool enabled = true;
  bool visible = true;
  std::vector<std::string> items;  // combo box list
  int min = 0;                  // progress bar range
  float max = 100;              // single precision, as the bar holds it (500.5 stays 500.5)
};

}  // namespace kestrel::exporting
