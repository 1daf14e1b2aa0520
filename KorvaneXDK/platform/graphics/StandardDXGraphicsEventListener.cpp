/** @file StandardDXGraphicsEventListener.cpp A graphics listener that ignores every event. */
#include "KorvaneXDK/platform/graphics/StandardDXGraphicsEventListener.h"

namespace korvane
{

void CStandardDXGraphicsEventListener::OnDeviceLost() {}
void CStandardDXGraphicsEventListener::OnDeviceReset() {}
void CStandardDXGraphicsEventListener::OnFullscreenChanging(bool) {}
void CStandardDXGraphicsEventListener::OnFullscreenChanged(bool) {}

} // namespace korvane
