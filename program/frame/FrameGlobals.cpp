#include "FrameGlobals.h"

QString PortName = QStringLiteral("COM1");
QString AppDirectory;
