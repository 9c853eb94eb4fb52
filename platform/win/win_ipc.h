// Window-message IPC transport and the stand-in server of another add-on. The
// client sends message 0x482 to the server's window with a request buffer; the
// server works through it in place against its offset-addressed data block.
//
// Request buffer: records of a 12-byte header {kind, offset, size} (32-bit each)
// followed by `size` data bytes; kind 1 reads the block into the data bytes,
// kind 2 writes the data bytes into the block, kind 0 ends the buffer.
#pragma once

#include <cstdint>

#include "platform/win/win_windows.h"

constexpr const char* WIN_IPC_WINDOW_CLASS = "UIPCMAIN";
constexpr uint32_t WIN_IPC_MESSAGE = 0x482;
constexpr uint32_t WIN_IPC_BLOCK_SIZE = 0x10000;

enum WinIpcKind : uint32_t {
  WIN_IPC_END = 0,
  WIN_IPC_READ = 1,
  WIN_IPC_WRITE = 2,
};

struct WinIpcRecordHeader {
  uint32_t kind;
  uint32_t offset;
  uint32_t size;
};
static_assert(sizeof(WinIpcRecordHeader) == 12, "packed request header");

// Sends a message to a window and waits for its answer: non-zero when the window
// handled it. A request buffer the server cannot carry out whole (a record past
// the buffer or the block) is refused with 0 and nothing is done.
intptr_t win_send_message(WinHandle window, uint32_t message, void* data, uint32_t size);

// Host side.
bool win_ipc_server_start();   // creates "UIPCMAIN" with a zeroed block
void win_ipc_server_stop();    // removes the window
bool win_ipc_server_running();
// Block access by offset; false when the range leaves the block or no server runs.
bool win_ipc_server_write(uint32_t offset, const void* data, uint32_t size);
bool win_ipc_server_read(uint32_t offset, void* data, uint32_t size);
int32_t win_ipc_server_message_count();  // messages handled since start
