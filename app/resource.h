// Resource and control identifiers of every window, in one place so that
// each stays unique. Names follow the controls they stand for.
#pragma once

#define IDI_MORVIDO 1

#define IDC_STATIC_TEXT -1
