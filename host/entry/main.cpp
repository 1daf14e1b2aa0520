/** @file main.cpp The process entry of the program. */
#include "host/Application.h"

int main()
{
    return ApplicationMain(nullptr);
}
