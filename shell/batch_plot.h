// Pictures of the plot views from the batch job: --size WIDTHxHEIGHT and --plot VIEW FILE.
#pragma once

#include <string>
#include <vector>

struct PlotRequest {
    int kind;          // plot view kind, 7 to 18 or 20 to 23
    std::string path;  // ends in .svg or .png
};

struct PlotOptions {
    int width = 800, height = 600;
    std::vector<PlotRequest> plots;
};

// When argv[k] is --size or --plot, takes it and its arguments (k is left on the last one)
// and returns 1; returns 0 for any other argument; returns -1 after one standard-error line
// naming a bad view, size or file ending.
int parse_plot_option(int argc, char **argv, int &k, PlotOptions &options);

// Draws and writes each picture in the order asked for, as the plot window of its kind paints
// it into a client rectangle of the given size. A chart's message is one standard-error line
// "orvinta: VIEW: TEXT". Returns 0, or 1 after the first failed write (path and reason on
// standard error), leaving the pictures already written and attempting no later one.
int write_plot_pictures(const PlotOptions &options);
