#include "module/ipc_client.h"

#include <cstdio>
#include <cstring>

#include "module/load_state.h"
#include "platform/win/win_ipc.h"

std::string active_rwy_lines[4];
int32_t mcu_aptinfo_subpage_count = 0;

namespace {

struct PendingRead {
  uint32_t data_pos;  // position of the data bytes in the queue
  uint32_t size;
  void* destination;
};

WinHandle ipc_window = 0;
uint8_t queue[IPC_QUEUE_BYTES];
uint32_t queue_used = 0;
PendingRead reads[IPC_MAX_READS];
int read_count = 0;

// Room for one record of `size` data bytes and the end marker.
bool queue_has_room(uint32_t size) {
  uint32_t room = IPC_QUEUE_BYTES - queue_used;
  return room >= sizeof(uint32_t) && size <= room - sizeof(uint32_t) &&
         sizeof(WinIpcRecordHeader) <= room - sizeof(uint32_t) - size;
}

uint32_t queue_record(uint32_t kind, uint32_t offset, uint32_t size) {
  WinIpcRecordHeader h{kind, offset, size};
  std::memcpy(queue + queue_used, &h, sizeof h);
  queue_used += sizeof h;
  uint32_t data_pos = queue_used;
  queue_used += size;
  return data_pos;
}

void clear_queue() {
  queue_used = 0;
  read_count = 0;
}

}  // namespace

int32_t ipc_open() {
  ipc_window = win_find_window(WIN_IPC_WINDOW_CLASS);
  clear_queue();
  return ipc_window != 0 ? 1 : 0;
}

bool ipc_read(uint32_t offset, uint32_t size, void* destination) {
  if (ipc_window == 0 || !destination || read_count >= IPC_MAX_READS || !queue_has_room(size)) return false;
  uint32_t pos = queue_record(WIN_IPC_READ, offset, size);
  std::memset(queue + pos, 0, size);
  reads[read_count++] = PendingRead{pos, size, destination};
  return true;
}

bool ipc_write(uint32_t offset, uint32_t size, const void* source) {
  if (ipc_window == 0 || !source || !queue_has_room(size)) return false;
  uint32_t pos = queue_record(WIN_IPC_WRITE, offset, size);
  std::memcpy(queue + pos, source, size);
  return true;
}

int32_t ipc_process() {
  if (ipc_window == 0) {
    clear_queue();
    return 0;
  }
  uint32_t end = WIN_IPC_END;
  std::memcpy(queue + queue_used, &end, sizeof end);
  intptr_t ok = win_send_message(ipc_window, WIN_IPC_MESSAGE, queue, queue_used + sizeof end);
  if (ok) {
    for (int i = 0; i < read_count; ++i) std::memcpy(reads[i].destination, queue + reads[i].data_pos, reads[i].size);
  }
  clear_queue();
  return ok ? 1 : 0;
}

void ipc_close() {
  ipc_window = 0;
  clear_queue();
}

void send_fplan_ipc(const char* text) {
  if (!text || !ipc_open()) return;
  char buffer[IPC_FPLAN_TEXT_SIZE] = {};
  std::strncpy(buffer, text, IPC_FPLAN_TEXT_SIZE - 1);
  ipc_write(IPC_OFFSET_FPLAN_TEXT, IPC_FPLAN_TEXT_SIZE, buffer);
  ipc_process();
  ipc_close();
}

void request_active_runways_ipc(const char* airport_ident) {
  for (std::string& line : active_rwy_lines) line.clear();
  mcu_aptinfo_subpage_count = 1;
  if (!airport_ident || !ipc_open()) return;
  char ident[8] = {};
  std::strncpy(ident, airport_ident, sizeof ident - 1);
  uint8_t answer[8] = {};
  ipc_write(IPC_OFFSET_RUNWAY_AIRPORT, sizeof ident, ident);
  ipc_read(IPC_OFFSET_RUNWAY_ANSWER, sizeof answer, answer);
  int32_t ok = ipc_process();
  ipc_close();
  if (!ok) return;
  static const char* const sides[5] = {"", "L", "R", "C", "W"};
  for (int i = 0; i < 4; ++i) {
    int number = answer[2 * i];
    int side = answer[2 * i + 1];
    if (number < 1 || number > 36) continue;
    char line[16];
    std::snprintf(line, sizeof line, "%02d%s\n", number, side <= 4 ? sides[side] : "");
    active_rwy_lines[i] = line;
  }
  mcu_aptinfo_subpage_count = 2;
}

void keep_ipc_client_state(LoadState& state) { state.keep(ipc_window, queue, queue_used, reads, read_count); }
