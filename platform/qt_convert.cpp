// The conversions are inline; this unit makes sure the header stands on its own.
#include "platform/qt_convert.h"
