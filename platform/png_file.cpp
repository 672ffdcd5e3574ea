#include "platform/png_file.h"

#include <png.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>

bool WritePNG(const std::string& path, int width, int height, const std::vector<uint8_t>& rgba,
              std::string* error) {
    auto fail = [&](const std::string& why) {
        if (error) *error = path + ": " + why;
        return false;
    };
    if (width <= 0 || height <= 0 || rgba.size() != static_cast<size_t>(width) * height * 4)
        return fail("image size does not match its pixels");

    std::unique_ptr<FILE, int (*)(FILE*)> file(std::fopen(path.c_str(), "wb"), std::fclose);
    if (!file) return fail(std::strerror(errno));

    // A frame on screen has no transparency: the alpha left in the framebuffer is dropped.
    std::vector<uint8_t> rgb(static_cast<size_t>(width) * height * 3);
    for (size_t i = 0, o = 0; i < rgba.size(); i += 4, o += 3) {
        rgb[o] = rgba[i];
        rgb[o + 1] = rgba[i + 1];
        rgb[o + 2] = rgba[i + 2];
    }

    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    image.width = static_cast<png_uint_32>(width);
    image.height = static_cast<png_uint_32>(height);
    image.format = PNG_FORMAT_RGB;
    // A half-written file is worse than none: remove it on failure.
    if (!png_image_write_to_stdio(&image, file.get(), 0, rgb.data(), 0, nullptr)) {
        const std::string why = image.message;
        file.reset();
        std::remove(path.c_str());
        return fail(why);
    }
    if (std::fflush(file.get()) != 0) {
        const std::string why = std::strerror(errno);
        file.reset();
        std::remove(path.c_str());
        return fail(why);
    }
    return true;
}
