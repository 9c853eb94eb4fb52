// The stand-in IPC server's request block: the input is the buffer a client sends with
// message 0x482. The server carries it out whole or refuses it, never touching memory
// outside the buffer or its block.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "platform/win/win_ipc.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (!win_ipc_server_running()) win_ipc_server_start();
  // An exact-size copy, so that the sanitizers see any read or write past its end.
  std::vector<uint8_t> request(data, data + size);
  win_send_message(win_find_window(WIN_IPC_WINDOW_CLASS), WIN_IPC_MESSAGE, request.data(),
                   static_cast<uint32_t>(request.size()));
  return 0;
}
