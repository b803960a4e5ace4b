// The program's entry points, one per way it can be started from the command line.
#pragma once

// orvinta --batch [NAME=VALUE ...] [--out FILE]: computes a PSF without a window.
int batch_main(int argc, char **argv);
// orvinta --eval "EXPR" X Y: evaluates a formula of X and Y.
int eval_main(int argc, char **argv);
// orvinta [FILE]: the windowed program.
int window_main(int argc, char **argv);
// Whether a window system can be opened (exit status of --has-window-system).
bool window_system_available(int argc, char **argv);
