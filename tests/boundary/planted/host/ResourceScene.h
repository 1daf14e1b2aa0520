/** @file ResourceScene.h A listed crossing the boundary check must let pass. */
#pragma once

#include "frontend/preferences/PreferenceHost.h"
#include "frontend/preferences/PreferenceManager.h"
