#include "caps/gl_caps_rules.h"

#include <GL/glu.h>

#include <climits>
#include <cmath>
#include <cstring>

namespace {

struct FlagRule {
    bool GLCaps::*flag;
    const char* extension;
    const char* alternative;
    uint16_t version;  // 0: no version rule
};

#define KORVEL_GL_FLAG_RULE(name, alternative, version) {&GLCaps::has##name, "GL_" #name, alternative, version},
const FlagRule kFlagRules[] = {KORVEL_GL_EXTENSION_FLAGS(KORVEL_GL_FLAG_RULE)};
#undef KORVEL_GL_FLAG_RULE

static_assert(sizeof(kFlagRules) / sizeof(kFlagRules[0]) == kNumGLExtensionFlags, "89 extension flags");

bool Names(const GLubyte* extensions, const char* name) {
    return name && gluCheckExtension(reinterpret_cast<const GLubyte*>(name), extensions);
}

// Saturates instead of overflowing: the conversions below feed 16- and 32-bit fields.
int32_t TruncatedToInt32(double value) {
    if (std::isnan(value)) return 0;
    if (value >= 2147483647.0) return INT32_MAX;
    if (value <= -2147483648.0) return INT32_MIN;
    return static_cast<int32_t>(value);
}

}  // namespace

uint16_t GLVersionNumber(const char* version) {
    uint16_t number = 0;
    if (!version) return number;
    static const int kPlace[] = {256, 16, 1};
    int digits = 0;
    for (const char* p = version; *p == '.' || (*p >= '0' && *p <= '9'); ++p) {
        if (*p == '.') continue;
        if (digits < 3) number = static_cast<uint16_t>(number + (*p - '0') * kPlace[digits]);
        ++digits;
    }
    return number;
}

void SetGLExtensionFlags(GLCaps* caps, const char* extensions) {
    const GLubyte* list = reinterpret_cast<const GLubyte*>(extensions ? extensions : "");
    for (const FlagRule& rule : kFlagRules) {
        caps->*rule.flag = Names(list, rule.extension) || Names(list, rule.alternative) ||
                           (rule.version != 0 && caps->versionNumber >= rule.version);
    }
}

bool GLCapsFlag(const GLCaps& caps, int n) {
    if (n < 1 || n > kNumGLExtensionFlags) return false;
    return caps.*kFlagRules[n - 1].flag;
}

const char* GLCapsFlagExtension(int n) {
    if (n < 1 || n > kNumGLExtensionFlags) return "";
    return kFlagRules[n - 1].extension;
}

void CopyGLString(char (&to)[256], const char* from) {
    std::strncpy(to, from ? from : "", sizeof to - 1);
    to[sizeof to - 1] = '\0';
}

int32_t _getDictLong(const DisplayMode* mode, const char* key) {
    if (!mode) return -1;
    const auto found = mode->find(key);
    if (found == mode->end()) return -1;
    const double value = found->second;
    if (!(value >= -2147483648.0 && value <= 2147483647.0) || value != std::trunc(value)) return -1;
    return static_cast<int32_t>(value);
}

double _getDictDouble(const DisplayMode* mode, const char* key) {
    if (!mode) return -1.0;
    const auto found = mode->find(key);
    return found == mode->end() ? -1.0 : found->second;
}

int16_t ModeBitsPerPixel(const DisplayMode* mode) {
    return static_cast<int16_t>(_getDictLong(mode, "BitsPerPixel"));
}

int16_t ModeRefreshRate(const DisplayMode* mode) {
    return static_cast<int16_t>(TruncatedToInt32(_getDictDouble(mode, "RefreshRate") + 0.5));
}
