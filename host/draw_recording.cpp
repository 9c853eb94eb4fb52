#include "host/draw_recording.h"

#include "host/scenario.h"
#include "host/sim_host.h"

#ifdef VEK_HOST_HAS_GFX
#include <algorithm>
#include <map>

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

namespace {

// What each recorded image showed before the draw in progress.
std::map<const GaugeImage*, std::vector<GfxRecord>> shown_before;

// A Clear, or a fill over the whole image.
bool covers_image(const std::vector<GfxRecord>& records, int32_t w, int32_t h) {
  for (const GfxRecord& r : records) {
    if (r.status != GFX_OK) continue;
    if (r.op == GfxOp::Clear) return true;
    std::vector<GfxPointF> pts;
    if (r.op == GfxOp::FillPolygon) pts = GfxRecording::device_points(r);
    if (r.op == GfxOp::FillRect && r.args.size() >= 4) {
      pts.push_back(GfxRecording::to_device(r, r.args[0], r.args[1]));
      pts.push_back(GfxRecording::to_device(r, r.args[0] + r.args[2], r.args[1] + r.args[3]));
    }
    if (pts.empty()) continue;
    double x0 = pts[0].x, x1 = pts[0].x, y0 = pts[0].y, y1 = pts[0].y;
    for (const GfxPointF& p : pts) {
      x0 = std::min<double>(x0, p.x), x1 = std::max<double>(x1, p.x);
      y0 = std::min<double>(y0, p.y), y1 = std::max<double>(y1, p.y);
    }
    if (x0 <= 0.5 && y0 <= 0.5 && x1 >= w - 0.5 && y1 >= h - 0.5) return true;
  }
  return false;
}

}  // namespace

void draw_recording_begin_draw(GaugeImage* image) {
  GfxRecording* rec = image ? gfx_recording_of(image) : nullptr;
  if (!rec) return;
  shown_before[image] = std::move(rec->records);
  rec->clear();
}

void draw_recording_end_draw(GaugeImage* image) {
  GfxRecording* rec = image ? gfx_recording_of(image) : nullptr;
  auto it = shown_before.find(image);
  if (!rec || it == shown_before.end()) return;
  std::vector<GfxRecord> before = std::move(it->second);
  shown_before.erase(it);
  const bool covers = covers_image(rec->records, rec->image_width, rec->image_height);
  if (rec->primitive_count() == 0 && !covers) {
    rec->records = std::move(before);
  } else if (!covers && covers_image(before, rec->image_width, rec->image_height)) {
    const int32_t offset = static_cast<int32_t>(before.size());
    for (GfxRecord& r : rec->records) {
      if (r.clip >= 0) r.clip += offset;
      before.push_back(std::move(r));
    }
    rec->records = std::move(before);
  }
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
void draw_recording_begin_draw(GaugeImage*) {}
void draw_recording_end_draw(GaugeImage*) {}
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
