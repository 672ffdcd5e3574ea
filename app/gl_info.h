#pragma once
// `korvel3d --gl-info`: the display capability table, readable in a problem report.
#include <cstdio>

void PrintGLInfo(FILE* out);
