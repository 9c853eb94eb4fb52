// The shared scratchpad editor: a fixed-width GNS-XLS entry field, padded with blanks.
#include "cdu/smiths/smiths_cdu.h"

int32_t gnsxls_page = 1;
std::string gnsxls_scratchpad;
int32_t gnsxls_prompt_open = 0;
int32_t gnsxls_clear_on_key = 1;

void scratchpad_add_key(std::string key, int32_t pad_only) {
  smiths_hold_at_index = 0;
  const std::size_t width = gnsxls_page == 14 ? 10 : 6;
  if (gnsxls_prompt_open != 1) return;
  std::string& field = gnsxls_scratchpad;
  if (pad_only == 0) {
    if (gnsxls_clear_on_key == 1) {
      field.clear();
      gnsxls_clear_on_key = 0;
    }
    if (field == "******") field.clear();
    if (field == "------") field.clear();
    while (!field.empty() && field.back() == ' ') field.pop_back();
    if (key == "*1") {
      if (!field.empty()) field.pop_back();
    } else if (field.size() < width) {
      field += key;
    }
    gnsxls_prompt_open = 1;
  }
  while (field.size() < width) field.push_back(' ');
}
