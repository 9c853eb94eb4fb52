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
// Forgets what the image recorded, before a new draw.
void draw_recording_clear(GaugeImage* image);
// Texts recorded on the image since the last clear; false when it is not recorded.
bool draw_recording_texts(const GaugeImage* image, std::vector<std::string>* texts);

}  // namespace simhost
