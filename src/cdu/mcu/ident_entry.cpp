// Ident entry of the direct-to and airport pages: spelling with the arrow keys and
// the entry line.
#include <sstream>

#include "cdu/mcu/mcu_pages.h"
#include "cdu/mcu/mcu_state.h"
#include "draw/draw_toolkit.h"

namespace {

// Up steps forward through this cycle, down backward.
constexpr char ident_cycle[] = " 0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ";
constexpr int ident_cycle_len = sizeof ident_cycle - 1;
constexpr int32_t ident_positions = 7;

// The ident being spelled: one blank after a short ident, and blanks up to the
// edited position so that a position past the text edits a blank.
std::string spelled_text() {
  std::string text = mcu_scratchpad;
  if (text.size() < 6) text.push_back(' ');
  if (mcu_digit_sel >= 1 && text.size() < static_cast<size_t>(mcu_digit_sel)) text.resize(mcu_digit_sel, ' ');
  return text;
}

char step_char(char c, int step) {
  int i = 0;
  for (int k = 0; k < ident_cycle_len; ++k)
    if (ident_cycle[k] == c) i = k;
  return ident_cycle[(i + step + ident_cycle_len) % ident_cycle_len];
}

}  // namespace

void mcu_ident_arrows() {
  if (mcu_digit_sel < 1) return;
  if (mcu_digit_sel > ident_positions) mcu_digit_sel = ident_positions;
  if (mcu_arrow == MCU_ARROW_LEFT && mcu_digit_sel > 1) --mcu_digit_sel;
  if (mcu_arrow == MCU_ARROW_RIGHT && mcu_digit_sel < ident_positions) ++mcu_digit_sel;
  if (mcu_arrow != MCU_ARROW_UP && mcu_arrow != MCU_ARROW_DOWN) return;
  std::string text = spelled_text();
  char& c = text[mcu_digit_sel - 1];
  c = step_char(c, mcu_arrow == MCU_ARROW_UP ? 1 : -1);
  std::istringstream words(text);
  std::string first;
  words >> first;
  mcu_scratchpad = first;
}

void mcu_ident_entry_line(const McuPage& p) {
  if (mcu_digit_sel < 1) {
    mcu_text(p, p.green, 0, MCU_ENTRY_Y, "> " + mcu_scratchpad);
    return;
  }
  mcu_text(p, p.green, 0, MCU_ENTRY_Y, "> ");
  std::string text = spelled_text();
  for (size_t k = 0; k < text.size(); ++k) mcu_text(p, p.green, 17 + 9.0 * k, MCU_ENTRY_Y, std::string(1, text[k]));
  double x = 19 + 9.0 * (mcu_digit_sel - 1);
  draw_line_d(p.g, p.magenta_pen, x, 75, x + 9, 75);
}
