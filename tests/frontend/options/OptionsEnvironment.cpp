/** @file OptionsEnvironment.cpp The run-wide driver, fonts and skin, shared with the standing forms' tests. */
#include "frontend/forms/FormsTestSupport.cpp"
