// Recording of what the gauges draw, through the graphics library's recording sink.
#pragma once

#include <string>
#include <vector>

#include "platform/host/gauge_host.h"

namespace simhost {

// Whether this host was built with the graphics recording.
bool draw_recording_available();
void draw_recording_enable(GaugeImage* image);
void draw_recording_disable(GaugeImage* image);
// Around each draw of the image. A display that repaints only on request keeps its
// picture between draws, so the recording keeps it too: a draw that records nothing
// (not even a clear of the image) leaves the last recording, and a partial repaint (nothing covering the whole image)
// is added to a recording that began by covering it. Otherwise the recording holds
// the new draw alone.
void draw_recording_begin_draw(GaugeImage* image);
void draw_recording_end_draw(GaugeImage* image);
// Texts recorded on the image since the last clear; false when it is not recorded.
bool draw_recording_texts(const GaugeImage* image, std::vector<std::string>* texts);

}  // namespace simhost
