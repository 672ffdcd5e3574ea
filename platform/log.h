#pragma once
// One line to the log (stderr), prefixed with the program's name.
void NSLog(const char* format, ...) __attribute__((format(printf, 1, 2)));
