/** @file PlantedForm.h Back-includes the boundary check must name: a form past its link, and SDL outside os/. */
#pragma once

#include <SDL.h>

#include "host/ResourceScene.h"
