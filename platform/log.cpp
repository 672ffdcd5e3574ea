#include "platform/log.h"

#include <cstdarg>
#include <cstdio>
#include <string>

void NSLog(const char* format, ...) {
    char line[1024];
    va_list arguments;
    va_start(arguments, format);
    std::vsnprintf(line, sizeof line, format, arguments);
    va_end(arguments);
    // One write per line, so lines of several views never interleave.
    std::string out = std::string("korvel3d: ") + line + "\n";
    std::fputs(out.c_str(), stderr);
}
