// The World Magnetic Model WMM-2005 (degree and order 12, epoch 2005.0,
// secular variation for 2005.0-2010.0). The coefficient table is embedded in the source
// (wmm2005_coefficients.cpp, from the public-domain WMM.COF); nothing is read at run time.
// Source of the simulated host's numbered variable 82 (magnetic variation); the module's own
// `magvar` stays the simulator's value.
#pragma once

// Precomputes the Schmidt normalisation of the coefficient table and the recursion factors.
// Runs once (idempotent); part of the one-time initialise loads.
void magnetic_model_init();

// Magnetic declination (variation) in degrees, east positive, in (-180, 180], at the geodetic
// (WGS-84) position lat_deg (north positive), lon_deg (east positive), altitude alt_ft above
// the ellipsoid (feet), at decimal_year (e.g. 2007.5). The field is extrapolated linearly
// from epoch 2005.0 with the secular variation; the model is valid 2005.0 to 2010.0 and dates
// outside are extrapolated all the same. Calls magnetic_model_init() itself when needed.
// At the geographic poles the declination is taken along the start longitude's meridian
// (latitude limited to +-(90 - 1e-7) degrees); never returns NaN for finite input.
double magnetic_declination(double lat_deg, double lon_deg, double alt_ft, double decimal_year);
