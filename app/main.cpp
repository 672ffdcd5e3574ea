// korvel3d: the Korvel 3D screen saver for Linux desktops.
#include <cstdio>
#include <string>

#include "app/command_line.h"
#include "app/configure_host.h"
#include "app/gl_info.h"
#include "app/hosts.h"

int main(int argc, char** argv) {
    std::string error;
    const std::optional<CommandLine> line = ParseCommandLine(argc, argv, &error);
    if (!line) return UsageError(error);
    switch (line->mode) {
        case HostMode::Help: std::fputs(HelpText().c_str(), stdout); return 0;
        case HostMode::Version: std::printf("korvel3d %s\n", KORVEL3D_VERSION); return 0;
        case HostMode::GLInfo: PrintGLInfo(stdout); return 0;
        case HostMode::Render: return RunRender(*line);
        case HostMode::Hack: return RunHack(*line);
        case HostMode::Window: return RunWindow(*line);
        case HostMode::Configure: return RunConfigure(*line);
        case HostMode::FullScreen: return line->preview ? RunWindow(*line) : RunFullScreen(*line);
    }
    return 0;
}
