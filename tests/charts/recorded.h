// What a chart drew into a recording context: the primitives of one kind, and points written
// out as "(x,y)(x,y)" so that a mismatch prints readably.
#pragma once

#include <sstream>
#include <string>
#include <vector>

#include "platform/dc.h"

inline std::vector<RecordedOp> only(const std::vector<RecordedOp> &ops, RecordedKind kind)
{
    std::vector<RecordedOp> out;
    for (const RecordedOp &op : ops)
        if (op.kind == kind) out.push_back(op);
    return out;
}
inline std::vector<RecordedOp> only(HDC dc, RecordedKind kind)
{
    return only(RecordedOps(dc), kind);
}

inline std::string points_text(const std::vector<POINT> &points)
{
    std::ostringstream out;
    for (const POINT &p : points) out << "(" << p.x << "," << p.y << ")";
    return out.str();
}

// The points of each primitive in turn; a text primitive's text stands before its point.
inline std::vector<std::string> points_of(const std::vector<RecordedOp> &ops)
{
    std::vector<std::string> out;
    for (const RecordedOp &op : ops) out.push_back(op.text + points_text(op.points));
    return out;
}

// The kinds drawn, in order, each run of one kind with its length: "F1 L9 T6 P1000 L9".
inline std::string runs_text(const std::vector<RecordedOp> &ops)
{
    const char *letters = "LlPREFAXTB";  // one per RecordedKind, in its order
    std::ostringstream out;
    std::size_t i = 0;
    while (i < ops.size()) {
        std::size_t n = 1;
        while (i + n < ops.size() && ops[i + n].kind == ops[i].kind) ++n;
        out << (i ? " " : "") << letters[static_cast<int>(ops[i].kind)] << n;
        i += n;
    }
    return out.str();
}
