#include "tests/support/alert_capture.h"

#include <utility>

AlertCapture::AlertCapture() {
    previous_ = SetAlertHandler([this](const std::string& title, const std::string& text) {
        alerts.push_back({title, text});
    });
}

AlertCapture::~AlertCapture() { SetAlertHandler(std::move(previous_)); }
