// Host gauge interface: the records a gauge module and the host exchange.
// Our own declarations, written from what the module expects of the host.
#pragma once

#include <cstddef>
#include <cstdint>

// Numbered panel services the host calls each gauge callback with.
enum PanelService : int32_t {
  PANEL_SERVICE_INSTALL = 2,
  PANEL_SERVICE_INITIALIZE = 4,
  PANEL_SERVICE_PRE_UPDATE = 6,
  PANEL_SERVICE_DRAW = 10,
  PANEL_SERVICE_GRAPHICS_START = 14,
  PANEL_SERVICE_GRAPHICS_STOP = 15,
};

constexpr uint32_t GAUGE_HEADER_VERSION = 0x320;

// Element image flags.
constexpr uint32_t IMAGE_HIDDEN = 0x40000000u;
constexpr uint32_t IMAGE_ON_SCREEN = 0x80000000u;

// The host-owned image of a drawn element. Its address is the element's device
// context: 32-bit ARGB pixels (premultiplied, as cairo keeps them), rows of
// `stride` bytes. `recorder` is the graphics recording sink a test switches on.
struct GaugeImage {
  uint32_t* pixels;
  int32_t width;
  int32_t height;
  int32_t stride;
  void* recorder;
};
using DeviceContext = GaugeImage*;

enum GaugeElementKind : int32_t {
  ELEMENT_BITMAP = 0,  // a static bitmap resource
  ELEMENT_DRAWN = 1,   // an image the gauge draws into through its device context
};

// One element of a gauge: declared by the module, its image made by the host.
struct GaugeElement {
  int32_t kind;          // GaugeElementKind
  int32_t bitmap_id;     // resource id of the bitmap (face, light, knob); 0 for none
  int32_t x, y;          // position in the gauge, design pixels
  int32_t width, height; // size in design pixels
  uint32_t image_flags;  // IMAGE_HIDDEN, IMAGE_ON_SCREEN
  GaugeImage* image;     // set by the host for drawn elements
};

struct MouseRect;
using MouseClickFn = int32_t (*)(MouseRect* rect, uint32_t event_flags);

enum MouseRectType : int32_t {
  MOUSE_RECT_EOL = 0,        // end of the list
  MOUSE_RECT_PARENT = 1,     // a rectangle holding child rectangles
  MOUSE_RECT_CHILD = 2,      // a click rectangle
  MOUSE_RECT_END_PARENT = 3, // end of a parent rectangle
};

enum MouseCursor : int32_t {
  CURSOR_NONE = 0,
  CURSOR_HAND = 5,
  CURSOR_DOWN_ARROW = 6,
  CURSOR_UP_ARROW = 7,
};

constexpr uint32_t MOUSE_LEFT_SINGLE = 0x20000000u;
constexpr uint32_t MOUSE_LEFT_REPEAT = 0x08000000u;  // repeats while held

#pragma pack(push, 4)
// 52-byte mouse-rectangle record. Boxes of children are relative to their parent.
struct MouseRect {
  int32_t type;  // MouseRectType
  int32_t x, y, width, height;
  int32_t cursor;  // MouseCursor
  int32_t help_id;
  uint32_t event_flags;
  int32_t event_id;
  MouseClickFn click;     // returns 0 when handled
  const char* key_chars;  // characters a keypad key enters, for scripted typing; may be null
};

struct GaugeHeader;
using GaugeCallback = void (*)(GaugeHeader* gauge, int32_t service_id, uintptr_t extra);

// 4-byte-packed gauge record. The module declares one per gauge; the host makes a
// copy for each placement on a panel and fills the placement fields.
struct GaugeHeader {
  uint32_t version;        // GAUGE_HEADER_VERSION
  const char* name;
  GaugeElement* elements;  // element array, `element_count` long
  int32_t element_count;
  MouseRect* mouse_rect;   // ends with MOUSE_RECT_EOL; null for no clicks
  GaugeCallback callback;
  uint32_t user_data;      // module's own per-gauge value (display window ident)
  // Filled by the host:
  const char* parameters;  // parameter string of the panel configuration line
  int32_t x, y, width, height;  // placement on the panel, pixels
  int32_t window_id;       // panel window the gauge sits in
  void* host_data;
};
#pragma pack(pop)

// 32-byte numbered-variable record: the host fills the value for the id.
struct TokenVar {
  int32_t id;
  int32_t index;
  union {
    double value;
    const char* text;  // text variables
  };
  uint8_t reserved[16];
};

// Shared-variable kinds for register_shared_var.
enum SharedVarKind : int32_t {
  SHARED_FLOAT64 = 0,
  SHARED_INT32 = 1,
  SHARED_BLOCK = 2,  // raw bytes, `size` long
};

using KeyEventHandler = void (*)(int32_t event_id, int32_t param, void* user);

// The host's panel-service function table, written into ImportTable.
struct PanelServiceTable {
  uint32_t version;
  // Numbered simulator variables.
  void (*read_token_var)(TokenVar* var);
  // Calculator code such as "(A:INDICATED ALTITUDE, feet)": 1 and the value, or 0.
  int32_t (*execute_calculator_code)(const char* code, double* result);
  // Aircraft variables with units.
  int32_t (*get_units_enum)(const char* unit_name);
  int32_t (*get_aircraft_var_enum)(const char* var_name);
  double (*aircraft_varget)(int32_t var, int32_t units, int32_t index);
  // Named variables: one namespace shared by every gauge and module.
  int32_t (*register_named_variable)(const char* name);  // id (existing id when present)
  int32_t (*check_named_variable)(const char* name);     // id, or -1
  double (*get_named_variable_value)(int32_t id);
  void (*set_named_variable_value)(int32_t id, double value);
  // Shared variables: storage a module publishes for other modules.
  int32_t (*register_shared_var)(const char* name, int32_t kind, void* storage, uint32_t size);
  int32_t (*unregister_shared_var)(const char* name);
  void* (*lookup_shared_var)(const char* name, int32_t* kind, uint32_t* size);
  // Key events.
  void (*trigger_key_event)(int32_t event_id, int32_t param);
  int32_t (*register_key_event_handler)(KeyEventHandler handler, void* user);
  int32_t (*unregister_key_event_handler)(KeyEventHandler handler, void* user);
  // Panel windows.
  int32_t (*panel_window_toggle)(int32_t ident);
  int32_t (*panel_window_show)(int32_t ident);
  int32_t (*panel_window_close)(int32_t ident);
  int32_t (*is_panel_window_visible)(int32_t ident);
  // Shared data blocks of the simulator, such as "FS2002 GPS DATA".
  const void* (*get_shared_data)(const char* name, uint32_t* size);
  // Simulator requests: tower view, fuel on board, zulu time.
  void (*set_tower_view)(double lat, double lon, double alt_ft);
  void (*set_fuel_total_gallons)(double gallons);
  void (*set_zulu_time)(int32_t hour, int32_t minute);
};

struct ModuleImports {
  uint32_t version;
  PanelServiceTable* panel_services;  // written by the host before any callback
};

struct ModuleLinkage {
  uint32_t module_id;
  void (*module_init)();
  void (*module_deinit)();
  uint32_t flags;
  uint32_t module_version;
  GaugeHeader** gauges;  // null-terminated
};

static_assert(sizeof(MouseRect) == 52, "MouseRect is 52 bytes");
static_assert(sizeof(TokenVar) == 32, "TokenVar is 32 bytes");
static_assert(alignof(GaugeHeader) == 4, "GaugeHeader is 4-byte packed");

// The exported symbols of a module (types ModuleLinkage and ModuleImports).
extern "C" ModuleLinkage Linkage;
extern "C" ModuleImports ImportTable;
