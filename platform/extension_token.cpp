#include "platform/extension_token.h"

#include <cstring>

bool HasExtensionToken(const char* list, const char* token) {
    const size_t length = std::strlen(token);
    for (const char* p = list; p && (p = std::strstr(p, token)); p += length)
        if ((p == list || p[-1] == ' ') && (p[length] == ' ' || p[length] == '\0')) return true;
    return false;
}
