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
