#include "platform/graphics_devices.h"

#include "platform/display_services_x11.h"

namespace {

const ActiveDisplay* DisplayOf(GDHandle device) {
    const auto& displays = ActiveDisplays();
    if (device == 0 || device > displays.size()) return nullptr;
    return &displays[device - 1];
}

}  // namespace

GDHandle GetDeviceList() { return ActiveDisplays().empty() ? 0 : 1; }

GDHandle GetNextDevice(GDHandle device) { return device != 0 && DisplayOf(device + 1) ? device + 1 : 0; }

bool TestDeviceAttribute(GDHandle device, int attribute) {
    // Every device stands for an active display, so each is an active screen.
    return DisplayOf(device) && (attribute == screenDevice || attribute == screenActive);
}

DeviceRect GetDeviceRect(GDHandle device) {
    DeviceRect rect;
    const ActiveDisplay* display = DisplayOf(device);
    if (!display) return rect;
    // X coordinates fit in 16 bits; an edge beyond them wraps, as a 16-bit rectangle would.
    const DisplayBounds& b = display->bounds;
    auto edge = [](double v) { return static_cast<int16_t>(static_cast<int32_t>(v)); };
    rect.top = edge(b.y);
    rect.left = edge(b.x);
    rect.bottom = edge(b.y + b.height);
    rect.right = edge(b.x + b.width);
    return rect;
}

int GetDisplayIDByDevice(GDHandle device, uint32_t* id) {
    const ActiveDisplay* display = DisplayOf(device);
    if (!display || display->output == 0) return 1;
    if (id) *id = static_cast<uint32_t>(display->output);
    return 0;
}
