#include "platform/win/win_ipc.h"

#include <cstring>
#include <vector>

#include "platform/win/win_internal.h"

namespace {

struct IpcServer {
  bool running = false;
  std::vector<uint8_t> block;
  int32_t messages = 0;
};

IpcServer& server() {
  static IpcServer s;
  return s;
}

bool in_block(uint32_t offset, uint32_t size) {
  return offset <= WIN_IPC_BLOCK_SIZE && size <= WIN_IPC_BLOCK_SIZE - offset;
}

// Checks the whole buffer before anything is done.
bool valid_requests(const uint8_t* data, uint32_t size) {
  uint32_t pos = 0;
  while (true) {
    if (size - pos < sizeof(uint32_t)) return false;
    uint32_t kind;
    std::memcpy(&kind, data + pos, sizeof kind);
    if (kind == WIN_IPC_END) return true;
    if (size - pos < sizeof(WinIpcRecordHeader)) return false;
    WinIpcRecordHeader h;
    std::memcpy(&h, data + pos, sizeof h);
    if (h.kind != WIN_IPC_READ && h.kind != WIN_IPC_WRITE) return false;
    pos += sizeof h;
    if (h.size > size - pos || !in_block(h.offset, h.size)) return false;
    pos += h.size;
  }
}

intptr_t serve(uint8_t* data, uint32_t size) {
  IpcServer& s = server();
  if (!data || !valid_requests(data, size)) return 0;
  uint32_t pos = 0;
  while (true) {
    WinIpcRecordHeader h;
    std::memcpy(&h.kind, data + pos, sizeof h.kind);
    if (h.kind == WIN_IPC_END) break;
    std::memcpy(&h, data + pos, sizeof h);
    pos += sizeof h;
    if (h.kind == WIN_IPC_READ) {
      std::memcpy(data + pos, s.block.data() + h.offset, h.size);
    } else {
      std::memcpy(s.block.data() + h.offset, data + pos, h.size);
    }
    pos += h.size;
  }
  ++s.messages;
  return 1;
}

}  // namespace

intptr_t win_send_message(WinHandle window, uint32_t message, void* data, uint32_t size) {
  IpcServer& s = server();
  if (window == 0 || !s.running || window != win_find_window(WIN_IPC_WINDOW_CLASS)) return 0;
  if (message != WIN_IPC_MESSAGE) return 0;
  return serve(static_cast<uint8_t*>(data), size);
}

bool win_ipc_server_start() {
  IpcServer& s = server();
  if (win_create_window(WIN_IPC_WINDOW_CLASS) == 0) return false;
  s.block.assign(WIN_IPC_BLOCK_SIZE, 0);
  s.running = true;
  s.messages = 0;
  return true;
}

void win_ipc_server_stop() {
  IpcServer& s = server();
  win_destroy_window(WIN_IPC_WINDOW_CLASS);
  s.running = false;
  s.block.clear();
}

bool win_ipc_server_running() { return server().running; }

bool win_ipc_server_write(uint32_t offset, const void* data, uint32_t size) {
  IpcServer& s = server();
  if (!s.running || !data || !in_block(offset, size)) return false;
  std::memcpy(s.block.data() + offset, data, size);
  return true;
}

bool win_ipc_server_read(uint32_t offset, void* data, uint32_t size) {
  IpcServer& s = server();
  if (!s.running || !data || !in_block(offset, size)) return false;
  std::memcpy(data, s.block.data() + offset, size);
  return true;
}

int32_t win_ipc_server_message_count() { return server().messages; }

void win_ipc_reset() {
  IpcServer& s = server();
  s.running = false;
  s.block.clear();
  s.messages = 0;
}
