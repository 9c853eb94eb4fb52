// The SERVER gauge: publishes the FMS state to other gauges and modules and takes
// their commands through "_clicked" named variables and simulator key events.
#pragma once

#include <cstdint>

#include "platform/host/gauge_host.h"

// One command other gauges can give: a named variable they set non-zero (read and
// cleared on the pre-update service) and a key event (0 for none).
struct ServerCommand {
  const char* clicked_name;
  int32_t key_event;
  void (*action)(int32_t value);  // the variable's value (truncated) or the event's parameter
};

extern const ServerCommand server_commands[];
extern const int server_command_count;

// Per-gauge hook of the SERVER gauge.
void server_hook(GaugeHeader* gauge, int32_t service_id);

// The key-event handler registered with the host.
void server_key_event_handler(int32_t event_id, int32_t param, void* user);

// Reads every "_clicked" variable, runs the commands that are set and clears them.
void server_process_clicked();
