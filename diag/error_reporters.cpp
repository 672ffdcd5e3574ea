#include "diag/error_reporters.h"

void ERRORBOX(const char* /*message*/) {}

void ERRORCLOSE(const char* /*message*/) {}

int32_t CountFiles(const char* /*folder*/, const char* /*pattern*/) { return 0; }
