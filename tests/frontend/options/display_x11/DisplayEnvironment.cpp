/** @file DisplayEnvironment.cpp The run-wide driver, fonts and skin, on the X server's window system. */
#include "frontend/forms/FormsTestSupport.cpp"
