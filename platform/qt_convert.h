// Every conversion between Win32 values and Qt values, as pairs. Internal to platform/.
#pragma once

#include <QColor>
#include <Qt>
#include <QPoint>
#include <QRect>
#include <QString>

#include "platform/win32types.h"

// RECT right/bottom are exclusive; QRect's right()/bottom() are inclusive.
inline QRect toQRect(const RECT &r)
{
    return QRect(QPoint(r.left, r.top), QPoint(r.right - 1, r.bottom - 1));
}
inline RECT toRECT(const QRect &r)
{
    return RECT{r.left(), r.top(), r.left() + r.width(), r.top() + r.height()};
}

inline QPoint toQPoint(const POINT &p) { return QPoint(p.x, p.y); }
inline POINT toPOINT(const QPoint &p) { return POINT{p.x(), p.y()}; }

// COLORREF is 0x00BBGGRR; the palette-relative flag (0x02000000) is dropped: the image is
// true colour, so the nearest palette colour is the colour itself.
inline QColor toQColor(COLORREF c) { return QColor(GetRValue(c), GetGValue(c), GetBValue(c)); }
inline COLORREF toCOLORREF(const QColor &c) { return RGB(c.red(), c.green(), c.blue()); }

// Program texts are single-byte; Latin-1 keeps every byte.
inline QString toQString(LPCSTR s) { return s ? QString::fromLatin1(s) : QString(); }
inline QString toQString(LPCSTR s, int length)
{
    return s ? QString::fromLatin1(s, length) : QString();
}
// A window title shown as written: the toolkit takes "[*]" for its modified-document mark and
// hides it unless it is doubled, and a file title may hold those three characters.
inline QString toQWindowTitle(LPCSTR s)
{
    return toQString(s).replace(QStringLiteral("[*]"), QStringLiteral("[*][*]"));
}

// The virtual-key code of a Qt key, or 0 for keys the program never asks about. Letters and
// digits keep their codes (both use ASCII).
inline int toVirtualKey(int qtKey)
{
    switch (qtKey) {
    case Qt::Key_PageUp: return VK_PRIOR;
    case Qt::Key_PageDown: return VK_NEXT;
    case Qt::Key_End: return VK_END;
    case Qt::Key_Home: return VK_HOME;
    case Qt::Key_Left: return VK_LEFT;
    case Qt::Key_Up: return VK_UP;
    case Qt::Key_Right: return VK_RIGHT;
    case Qt::Key_Down: return VK_DOWN;
    case Qt::Key_Return:
    case Qt::Key_Enter: return VK_RETURN;
    case Qt::Key_Escape: return VK_ESCAPE;
    case Qt::Key_Space: return ' ';
    default: break;
    }
    if ((qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9) || (qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z))
        return qtKey;
    return 0;
}
