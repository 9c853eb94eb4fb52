#include "host/draw_recording.h"

#include "host/scenario.h"
#include "host/sim_host.h"

#ifdef VEK_HOST_HAS_GFX
#include "platform/gfx/gfx_recording.h"
#endif

namespace simhost {

#ifdef VEK_HOST_HAS_GFX
bool draw_recording_available() { return true; }

void draw_recording_enable(GaugeImage* image) {
  if (image && !gfx_recording_of(image)) gfx_recording_enable(image);
}

void draw_recording_disable(GaugeImage* image) {
  if (image && gfx_recording_of(image)) gfx_recording_disable(image);
}

void draw_recording_clear(GaugeImage* image) {
  if (GfxRecording* rec = image ? gfx_recording_of(image) : nullptr) rec->clear();
}

bool draw_recording_texts(const GaugeImage* image, std::vector<std::string>* texts) {
  const GfxRecording* rec = image ? gfx_recording_of(image) : nullptr;
  if (!rec) return false;
  *texts = rec->texts();
  return true;
}
#else
bool draw_recording_available() { return false; }
void draw_recording_enable(GaugeImage*) {}
void draw_recording_disable(GaugeImage*) {}
void draw_recording_clear(GaugeImage*) {}
bool draw_recording_texts(const GaugeImage*, std::vector<std::string>*) { return false; }
#endif

bool gauge_drew_text(const SimHost& host, const std::string& gauge, const std::string& text, std::string* why) {
  const PlacedGauge* g = host.find_gauge(gauge);
  if (!g) {
    if (why) *why = "no gauge " + gauge + " on the panel";
    return false;
  }
  bool recorded = false;
  for (const auto& img : g->images) {
    std::vector<std::string> texts;
    if (!img || !draw_recording_texts(img.get(), &texts)) continue;
    recorded = true;
    for (const std::string& t : texts)
      if (t.find(text) != std::string::npos) return true;
  }
  if (why) *why = recorded ? "not drawn in the last draw" : "the gauge's drawing is not recorded";
  return false;
}

}  // namespace simhost
