#pragma once
// Error reporters that show nothing: their callers carry on with their own
// failure paths, so a message here would only interrupt the screen saver.
#include <cstdint>

void ERRORBOX(const char* message);
void ERRORCLOSE(const char* message);
// Kept for callers that expect it; counts nothing and returns 0.
int32_t CountFiles(const char* folder, const char* pattern);
