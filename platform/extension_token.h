#pragma once
// Whether a space-separated extension list (GLX, EGL) names token as a whole word.
bool HasExtensionToken(const char* list, const char* token);
