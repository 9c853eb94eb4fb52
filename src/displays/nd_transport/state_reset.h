// Puts the transport navigation displays' globals back to the values they hold when the module is loaded.
#pragma once

void reset_nd_transport_state();
