// Client of another add-on's window-message IPC server ("UIPCMAIN", message
// 0x482), read and written by offset. Requests are queued and carried out
// together by ipc_process.
#pragma once

#include <cstdint>
#include <string>

// Offsets in the server's block.
constexpr uint32_t IPC_OFFSET_PAYLOAD_COUNT = 5116;    // 4 bytes: payload stations
constexpr uint32_t IPC_OFFSET_STATION_WEIGHTS = 5120;  // 8 bytes each, stations 1..61, 48 apart
constexpr uint32_t IPC_STATION_STRIDE = 48;
constexpr int32_t IPC_MAX_STATIONS = 61;
constexpr uint32_t IPC_OFFSET_ZFW = 15356;             // 4 bytes, 1/256 pounds
// This module's own offsets for the runway request and the plan text.
constexpr uint32_t IPC_OFFSET_RUNWAY_AIRPORT = 0x0D00;  // 8 bytes: airport ident, zero-padded
constexpr uint32_t IPC_OFFSET_RUNWAY_ANSWER = 0x0D08;   // 4 x {number, side}: 2 departure, 2 arrival
constexpr uint32_t IPC_OFFSET_FPLAN_TEXT = 0x0D40;      // 128 bytes, zero-terminated
constexpr uint32_t IPC_FPLAN_TEXT_SIZE = 128;

// Bytes of requests and data one process call can carry, and pending reads.
constexpr uint32_t IPC_QUEUE_BYTES = 4096;
constexpr int IPC_MAX_READS = 64;

// 1 when the server window is found (the link is open), else 0.
int32_t ipc_open();
// Queue a read of `size` bytes at `offset` into `destination`, or a write; false
// when the link is not open or the queue has no room (the request is dropped).
bool ipc_read(uint32_t offset, uint32_t size, void* destination);
bool ipc_write(uint32_t offset, uint32_t size, const void* source);
// Carries out the queue; reads fill their destinations. 1 on success, 0 when the
// server refused or vanished (destinations untouched). The queue is empty after.
int32_t ipc_process();
void ipc_close();

// Writes a text (up to 127 characters) to the server.
void send_fplan_ipc(const char* text);

// Runway lines of the MCU's airport information: "%02d%s\n" per runway present.
extern std::string active_rwy_lines[4];
extern int32_t mcu_aptinfo_subpage_count;
// Empties the lines and sets one subpage; with the server it sends the airport
// ident, reads up to two departure and two arrival runways (number, side code 1 L,
// 2 R, 3 C, 4 W) and sets two subpages.
void request_active_runways_ipc(const char* airport_ident);
