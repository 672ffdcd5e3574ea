// `korvel3d --gl-info`, run as a user would, against a private two-monitor server.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

#include "tests/support/xvfb_server.h"

namespace {

const std::string kProgram = std::string(KORVEL_BUILD_DIR) + "/app/korvel3d";

// Runs the command and gives its standard output; *status is its exit status.
std::string RunCommand(const std::string& command, int* status) {
    std::string out;
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) return out;
    char buffer[4096];
    for (size_t n; (n = fread(buffer, 1, sizeof buffer, pipe)) > 0;) out.append(buffer, n);
    const int raw = pclose(pipe);
    *status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    return out;
}

TEST(GLInfoTest, OneBlockPerDisplayWithGeometryRendererAndFlags) {
    ASSERT_EQ(access(kProgram.c_str(), X_OK), 0) << kProgram << " is not built";
    XvfbServer server;
    ASSERT_TRUE(server.start(3840, 1080)) << server.error();
    ASSERT_TRUE(server.setMonitor({"LEFT", 0, 0, 1920, 1080, false, true}));
    ASSERT_TRUE(server.setMonitor({"RIGHT", 1920, 0, 1920, 1080, true, false}));

    int status = -1;
    const std::string out = RunCommand("DISPLAY=" + server.name() + " " + kProgram + " --gl-info", &status);
    EXPECT_EQ(status, 0);
    EXPECT_NE(out.find("2 displays on X display " + server.name()), std::string::npos) << out;
    const size_t first = out.find("Display 1 of 2");
    const size_t second = out.find("Display 2 of 2");
    ASSERT_NE(first, std::string::npos) << out;
    ASSERT_NE(second, std::string::npos) << out;
    // The primary comes first; each block has its geometry, renderer, version and flags.
    EXPECT_NE(out.find("1920 x 1080 at (1920, 0)", first), std::string::npos) << out;
    EXPECT_LT(out.find("1920 x 1080 at (1920, 0)", first), second);
    EXPECT_NE(out.find("1920 x 1080 at (0, 0)", second), std::string::npos) << out;
    for (size_t block : {first, second}) {
        EXPECT_NE(out.find("Renderer:", block), std::string::npos);
        EXPECT_NE(out.find("Version:", block), std::string::npos);
        EXPECT_NE(out.find("GL_ARB_multitexture", block), std::string::npos);
    }
}

TEST(GLInfoTest, WithoutADisplaySaysSoAndSucceeds) {
    ASSERT_EQ(access(kProgram.c_str(), X_OK), 0) << kProgram << " is not built";
    int status = -1;
    const std::string out = RunCommand("env -u DISPLAY " + kProgram + " --gl-info", &status);
    EXPECT_EQ(status, 0);
    EXPECT_NE(out.find("No active displays"), std::string::npos) << out;
}

}  // namespace
