// Pupil synthesis: transmission (aperture, apodization, obscuration, struts), phase (phase
// plate, phase pattern, third-order terms, Fringe Zernike terms) and the complex pupil.
#pragma once

// The pupil's outline, round or rectangular, from the settings: a sample at normalised offsets
// |xn|, |yn| and normalised radius from the centre lies inside when contains() says so. rmax
// is 1 plus the allowance that takes in the samples half a step off the axes at the rim.
struct PupilOutline {
    float rmax, ymax;
    bool contains(float ax, float ay, float radius) const;
};
PupilOutline pupil_outline();

// Rebuilds r_input, phase_input, A_input, B_input, r and wavesrms from the settings; clears
// every field array first and leaves HaveCurrentPSF at 0.
void pillbox_input();

// Restarts the phase pattern's generator from its start-up state, so the next patterns are the
// ones a fresh run draws.
void reset_pattern_random();
