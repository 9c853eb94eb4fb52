#include "tests/host/fake_module.h"

#include <unistd.h>

#include <climits>
#include <cstdio>
#include <cstring>

#include "platform/gfx/gfx.h"

#ifdef FAKE_MODULE_EXPORTS
#define FAKE_LINKAGE Linkage
#define FAKE_IMPORTS ImportTable
#else
#define FAKE_LINKAGE fake_linkage
#define FAKE_IMPORTS fake_imports
#endif

FakeModuleLog fake_log;
double fake_server_value = 42.5;

extern ModuleImports FAKE_IMPORTS;

namespace {

PanelServiceTable* host() { return FAKE_IMPORTS.panel_services; }

void note(GaugeHeader* g, int service) { fake_log.calls.push_back(std::string(g->name) + " " + std::to_string(service)); }

int32_t click_a(MouseRect*, uint32_t) {
  fake_log.clicks.push_back("a");
  return 0;
}
int32_t click_big(MouseRect*, uint32_t) {
  fake_log.clicks.push_back("big");
  return 0;
}
int32_t click_one(MouseRect*, uint32_t) {
  fake_log.clicks.push_back("1");
  return 0;
}
int32_t click_space(MouseRect*, uint32_t) {
  fake_log.clicks.push_back("space");
  host()->panel_window_toggle(4012);
  return 0;
}

uintptr_t gfx_token = 0;

// Draws "TICK n" with the graphics library.
void draw_tick_text(GaugeImage* img, int tick) {
  GfxGraphics* gr = nullptr;
  if (gfx_create(img, &gr) != GFX_OK) return;
  GfxFontFamily* family = gfx_family_create(gr, "Arial");
  GfxFont* font = gfx_font_create(gr, family, 12.0, 0);
  GfxBrush* brush = gfx_brush_create(gr, 0xFFFFFFFFu);
  char text[32];
  std::snprintf(text, sizeof text, "TICK %d", tick);
  char16_t wide[32];
  gfx_widen(text, wide, 32);
  gfx_draw_string(gr, wide, -1, font, GfxRectF{10.0f, 10.0f, 0.0f, 0.0f}, brush);
  gfx_brush_delete(brush);
  gfx_font_delete(font);
  gfx_family_delete(family);
  gfx_delete(gr);
}

void nd_callback(GaugeHeader* g, int32_t service, uintptr_t) {
  note(g, service);
  if (service == PANEL_SERVICE_GRAPHICS_START && gfx_token == 0) gfx_startup(&gfx_token);
  if (service == PANEL_SERVICE_GRAPHICS_STOP && gfx_token != 0) {
    gfx_shutdown(gfx_token);
    gfx_token = 0;
  }
  if (service == PANEL_SERVICE_INSTALL) {
    char buf[PATH_MAX];
    if (getcwd(buf, sizeof buf)) fake_log.install_cwd = buf;
    fake_log.nd_parameters = g->parameters ? g->parameters : "";
    fake_log.nd_window_id = g->window_id;
  }
  if (service == PANEL_SERVICE_DRAW) {
    TokenVar t{};
    t.id = 1;
    host()->read_token_var(&t);
    fake_log.last_tick = t.value;
    GaugeImage* img = g->elements[0].image;
    if (img && img->pixels[0] != 0xFF00FF00u) {  // painted once
      for (int y = 0; y < img->height; ++y)
        for (int x = 0; x < img->width; ++x) img->pixels[y * (img->stride / 4) + x] = 0xFF00FF00u;
    }
    if (img) draw_tick_text(img, static_cast<int>(t.value));
  }
}

void server_handler(int32_t event_id, int32_t param, void*) {
  fake_log.events.push_back(event_id);
  if (event_id == 0x77777) host()->trigger_key_event(0x77777, param + 1);  // sends itself again
  if (event_id == 0x10338) {
    int32_t id = host()->check_named_variable("fake_vnav");
    host()->set_named_variable_value(id, host()->get_named_variable_value(id) > 0.5 ? 0.0 : 1.0);
  }
}

void server_callback(GaugeHeader* g, int32_t service, uintptr_t) {
  note(g, service);
  if (service == PANEL_SERVICE_GRAPHICS_START) {
    host()->register_shared_var("fake_act_wpt", SHARED_FLOAT64, &fake_server_value, sizeof fake_server_value);
    host()->register_key_event_handler(server_handler, nullptr);
    host()->register_named_variable("fake_vnav");
  }
  if (service == PANEL_SERVICE_GRAPHICS_STOP) {
    host()->unregister_shared_var("fake_act_wpt");
    host()->unregister_key_event_handler(server_handler, nullptr);
  }
}

GaugeElement nd_elements[] = {
    {ELEMENT_DRAWN, 0, 0, 0, FAKE_ND_DESIGN_W, FAKE_ND_DESIGN_H, 0, nullptr},
    {ELEMENT_BITMAP, 314, 0, 0, FAKE_ND_DESIGN_W, FAKE_ND_DESIGN_H, 0, nullptr},
    {ELEMENT_DRAWN, 0, 10, 100, 50, 30, IMAGE_HIDDEN, nullptr},
};

MouseRect nd_rects[] = {
    {MOUSE_RECT_PARENT, 0, 0, FAKE_ND_DESIGN_W, FAKE_ND_DESIGN_H, CURSOR_NONE, 0, 0, 0, nullptr, nullptr},
    {MOUSE_RECT_CHILD, 10, 10, 40, 20, CURSOR_HAND, 0, MOUSE_LEFT_SINGLE, 0, click_a, "A"},
    {MOUSE_RECT_CHILD, 90, 40, 100, 100, CURSOR_HAND, 0, MOUSE_LEFT_SINGLE, 0, click_big, nullptr},
    {MOUSE_RECT_PARENT, 100, 50, 80, 80, CURSOR_NONE, 0, 0, 0, nullptr, nullptr},
    {MOUSE_RECT_CHILD, 0, 0, 40, 40, CURSOR_HAND, 0, MOUSE_LEFT_SINGLE, 0, click_one, "1"},
    {MOUSE_RECT_CHILD, 40, 0, 40, 40, CURSOR_HAND, 0, MOUSE_LEFT_REPEAT, 0, click_space, " "},
    {MOUSE_RECT_END_PARENT, 0, 0, 0, 0, 0, 0, 0, 0, nullptr, nullptr},
    {MOUSE_RECT_END_PARENT, 0, 0, 0, 0, 0, 0, 0, 0, nullptr, nullptr},
    {MOUSE_RECT_EOL, 0, 0, 0, 0, 0, 0, 0, 0, nullptr, nullptr},
};

GaugeHeader nd_header = {GAUGE_HEADER_VERSION, "FAKE_ND", nd_elements, 3, nd_rects, nd_callback, 0,
                         nullptr, 0, 0, 0, 0, 0, nullptr};
GaugeHeader server_header = {GAUGE_HEADER_VERSION, "FAKE_SERVER", nullptr, 0, nullptr, server_callback, 0,
                             nullptr, 0, 0, 0, 0, 0, nullptr};
GaugeHeader* gauge_list[] = {&nd_header, &server_header, nullptr};

void module_init() { ++fake_log.inits; }
void module_deinit() { ++fake_log.deinits; }

}  // namespace

ModuleLinkage FAKE_LINKAGE = {0x1234, module_init, module_deinit, 0, 1, gauge_list};
ModuleImports FAKE_IMPORTS = {1, nullptr};
