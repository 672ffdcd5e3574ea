#pragma once
// The screen-device list of older display interfaces, derived from the active
// displays of the last GetActiveDisplayList: one device per display, with the
// same rectangle, in the same order. Handles are small numbers, 0 for none.
#include <cstdint>

using GDHandle = uint32_t;

// Device attributes that TestDeviceAttribute answers.
enum GraphicsDeviceAttribute { screenDevice = 13, screenActive = 15 };

// A device's rectangle in 16-bit desktop coordinates.
struct DeviceRect {
    int16_t top = 0, left = 0, bottom = 0, right = 0;
};

GDHandle GetDeviceList();
GDHandle GetNextDevice(GDHandle device);
bool TestDeviceAttribute(GDHandle device, int attribute);
DeviceRect GetDeviceRect(GDHandle device);
// The device's display-manager id (its RandR output) in *id. Returns 0, or
// non-zero when the device has no output to name it by.
int GetDisplayIDByDevice(GDHandle device, uint32_t* id);
