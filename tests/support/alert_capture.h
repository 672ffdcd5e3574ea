#pragma once
// Records critical alerts instead of showing them, for as long as it lives.
#include <string>
#include <vector>

#include "platform/alert.h"

struct CapturedAlert {
    std::string title;
    std::string text;
    bool operator==(const CapturedAlert& other) const { return title == other.title && text == other.text; }
};

class AlertCapture {
public:
    AlertCapture();
    ~AlertCapture();
    AlertCapture(const AlertCapture&) = delete;
    AlertCapture& operator=(const AlertCapture&) = delete;

    std::vector<CapturedAlert> alerts;

private:
    AlertHandler previous_;
};
