/** @file Planted.h A back-include the boundary check must name: the core reaching up into the canvas. */
#pragma once

#include "KorvaneXDK/canvas/Canvas.h"
