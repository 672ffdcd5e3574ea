#include "platform/renderer_info.h"

#include "platform/extension_token.h"

#include <GL/glx.h>
#include <GL/glxext.h>

#include <climits>
#include <cstring>

#include "platform/display_services_x11.h"

namespace {

int32_t Clamped(unsigned value) { return value > INT_MAX ? INT_MAX : static_cast<int32_t>(value); }

}  // namespace

bool QueryRendererInfo(uint32_t displayMask, std::vector<RendererDescription>* renderers) {
    renderers->clear();
    Display* dpy = DisplayServicesConnection();
    const ActiveDisplay* display = ActiveDisplayForMask(displayMask);
    if (!dpy || !display) return false;
    int errorBase = 0, eventBase = 0;
    if (!glXQueryExtension(dpy, &errorBase, &eventBase)) return false;

    PFNGLXQUERYRENDERERINTEGERMESAPROC query = nullptr;
    if (HasExtensionToken(glXQueryExtensionsString(dpy, display->screen), "GLX_MESA_query_renderer"))
        query = reinterpret_cast<PFNGLXQUERYRENDERERINTEGERMESAPROC>(
            glXGetProcAddressARB(reinterpret_cast<const GLubyte*>("glXQueryRendererIntegerMESA")));
    if (!query) {
        // GLX draws on this screen but says nothing of its renderer.
        renderers->push_back(RendererDescription{});
        return true;
    }
    // Renderers are numbered from 0; the first index the server does not know ends the list.
    for (int index = 0; index < 16; ++index) {
        unsigned vendor = 0, device = 0, accelerated = 0, memory = 0;
        if (!query(dpy, display->screen, index, GLX_RENDERER_VENDOR_ID_MESA, &vendor)) break;
        query(dpy, display->screen, index, GLX_RENDERER_DEVICE_ID_MESA, &device);
        query(dpy, display->screen, index, GLX_RENDERER_ACCELERATED_MESA, &accelerated);
        query(dpy, display->screen, index, GLX_RENDERER_VIDEO_MEMORY_MESA, &memory);
        RendererDescription renderer;
        renderer.accelerated = accelerated != 0;
        renderer.rendererID = static_cast<int32_t>(((vendor & 0xFFFFu) << 16) | (device & 0xFFFFu));
        renderer.videoMemory = Clamped(memory);
        renderers->push_back(renderer);
    }
    return true;
}
