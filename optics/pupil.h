// Pupil synthesis: transmission (aperture, apodization, obscuration, struts), phase (phase
// plate, phase pattern, third-order terms, Fringe Zernike terms) and the complex pupil.
#pragma once

// Rebuilds r_input, phase_input, A_input, B_input, r and wavesrms from the settings; clears
// every field array first and leaves HaveCurrentPSF at 0.
void pillbox_input();

// The Fringe Zernike polynomial k (1..37), without normalisation, at (rho, theta).
double fringe_zernike(int k, double rho, double theta);

// Next value of the pattern generator, a non-negative 31-bit integer. The sequence is never
// seeded: every run draws the same patterns, and it continues from one rebuild to the next.
long pattern_random();
