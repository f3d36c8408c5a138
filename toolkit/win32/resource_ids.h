#pragma once

// Resources of the program, shared by its resource script and its code.
#define IDI_CLOCK 1
