// Installs the finished build into a temporary DESTDIR, runs the installed program from there
// and removes it again by the install manifest.
#include <fcntl.h>
#include <png.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <dirent.h>
#include <string>
#include <vector>

#include "app/command_line.h"
#include "tests/support/temp_folder.h"

namespace {

const std::string kBuild = KORVEL_BUILD_DIR;

struct Output {
    int status;  // the exit status, or -1 when the command did not exit
    std::string text;  // standard output and error together
};

Output RunCommand(const std::string& command) {
    FILE* pipe = popen((command + " 2>&1").c_str(), "r");
    Output output{-1, ""};
    if (!pipe) return output;
    char buffer[4096];
    while (size_t n = fread(buffer, 1, sizeof buffer, pipe)) output.text.append(buffer, n);
    const int status = pclose(pipe);
    if (WIFEXITED(status)) output.status = WEXITSTATUS(status);
    return output;
}

std::string Quoted(const std::string& text) { return "'" + text + "'"; }

bool IsFile(const std::string& path) {
    struct stat info;
    return stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

bool Exists(const std::string& path) {
    struct stat info;
    return lstat(path.c_str(), &info) == 0;
}

std::vector<std::string> FilesIn(const std::string& folder, const std::string& suffix) {
    std::vector<std::string> files;
    if (DIR* dir = opendir(folder.c_str())) {
        while (dirent* entry = readdir(dir)) {
            const std::string name = entry->d_name;
            if (name.size() > suffix.size() && name.compare(name.size() - suffix.size(), suffix.size(), suffix) == 0)
                files.push_back(folder + "/" + name);
        }
        closedir(dir);
    }
    return files;
}

// The share of a PNG frame's pixels that differ from black, the default background.
double LitShare(const std::string& path) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&image, path.c_str())) return -1;
    image.format = PNG_FORMAT_RGB;
    std::vector<png_byte> pixels(PNG_IMAGE_SIZE(image));
    if (!png_image_finish_read(&image, nullptr, pixels.data(), 0, nullptr)) return -1;
    size_t lit = 0;
    for (size_t i = 0; i < pixels.size(); i += 3) lit += (pixels[i] | pixels[i + 1] | pixels[i + 2]) != 0;
    return static_cast<double>(lit) / (image.width * image.height);
}

// Installs under a lock and keeps the build's own manifest, which a real install's
// `make uninstall` reads, as it was.
class InstallTest : public ::testing::Test {
protected:
    void SetUp() override {
        lock_ = open((kBuild + "/.install_test.lock").c_str(), O_CREAT | O_RDWR, 0644);
        ASSERT_GE(lock_, 0);
        ASSERT_EQ(flock(lock_, LOCK_EX), 0);
        const std::string manifest = kBuild + "/install_manifest.txt";
        const bool hadManifest = IsFile(manifest);
        const std::string saved = hadManifest ? ReadWholeFile(manifest) : "";
        install_ = RunCommand("DESTDIR=" + Quoted(destdir_.path()) + " " + Quoted(KORVEL_CMAKE_COMMAND) + " --install " +
                       Quoted(kBuild));
        manifest_ = destdir_ / "install_manifest.txt";
        WriteWholeFile(manifest_, ReadWholeFile(manifest));
        if (hadManifest) WriteWholeFile(manifest, saved);
        else unlink(manifest.c_str());
        root_ = destdir_.path() + KORVEL_INSTALL_PREFIX;
    }
    void TearDown() override {
        if (lock_ >= 0) close(lock_);
    }

    TempFolder destdir_;
    TempFolder work_;
    Output install_;
    std::string manifest_, root_;
    int lock_ = -1;
};

TEST_F(InstallTest, InstallsRunsFromTheInstalledTreeAndUninstalls) {
    ASSERT_EQ(install_.status, 0) << install_.text;
    const std::string program = root_ + "/bin/korvel3d";
    const std::vector<std::string> files = {
        program,
        root_ + "/share/korvel3d/quimble.drovanets",
        root_ + "/share/korvel3d/Korvel3DSS.ui",
        root_ + "/libexec/xscreensaver/korvel3d",
        root_ + "/share/xscreensaver/config/korvel3d.xml",
        root_ + "/share/applications/korvel3d.desktop",
        root_ + "/share/man/man1/korvel3d.1",
    };
    for (const std::string& file : files) EXPECT_TRUE(IsFile(file)) << file;
    EXPECT_EQ(access(program.c_str(), X_OK), 0);

    // XScreenSaver's copy is a relative link to the program, so the tree can move.
    char target[256] = {};
    ASSERT_GT(readlink((root_ + "/libexec/xscreensaver/korvel3d").c_str(), target, sizeof target - 1), 0);
    EXPECT_EQ(std::string(target), "../../bin/korvel3d");
    EXPECT_NE(ReadWholeFile(root_ + "/share/applications/korvel3d.desktop").find("\nExec=korvel3d --configure\n"),
              std::string::npos);
    EXPECT_EQ(ReadWholeFile(root_ + "/share/xscreensaver/config/korvel3d.xml"),
              ReadWholeFile(kBuild + "/app/korvel3d.xml"));

    // The installed program runs from the installed tree; its store goes to a folder of the test's.
    const std::string env = "KORVEL3D_CONFIG_DIR=" + Quoted(work_ / "config") + " ";
    const Output help = RunCommand(env + Quoted(program) + " --help");
    EXPECT_EQ(help.status, 0) << help.text;
    EXPECT_EQ(help.text.rfind("Usage: korvel3d", 0), 0u) << help.text;

    const Output bad = RunCommand(env + Quoted(program) + " --glyph-size 500");
    EXPECT_EQ(help.text, HelpText());
    EXPECT_EQ(bad.status, 2);
    EXPECT_EQ(bad.text, "korvel3d: --glyph-size takes a whole number from 5 to 60, not '500'\n");

    // The frames show glyphs only if the archive was found, and the only archive on the
    // installed program's search path is the one in DESTDIR's share/korvel3d.
    const std::string frames = work_ / "frames";
    const Output render = RunCommand(env + Quoted(program) + " --render " + Quoted(frames) +
                              " --frames 3 --fps 0.25 --size 160x120 --seed 5 --mode 2d --lines 400");
    EXPECT_EQ(render.status, 0) << render.text;
    const std::vector<std::string> pictures = FilesIn(frames, ".png");
    EXPECT_EQ(pictures.size(), 3u) << render.text;
    // Four seconds apart: by the last frame the columns have come into view.
    EXPECT_GT(LitShare(frames + "/frame-00003.png"), 0.01);

    // Uninstalling by the manifest removes every file and the program's data folder.
    const Output uninstall =
        RunCommand("DESTDIR=" + Quoted(destdir_.path()) + " " + Quoted(KORVEL_CMAKE_COMMAND) + " -DMANIFEST=" +
                   Quoted(manifest_) + " -P " + Quoted(std::string(KORVEL_SOURCE_DIR) + "/app/uninstall.cmake"));
    EXPECT_EQ(uninstall.status, 0) << uninstall.text;
    for (const std::string& file : files) EXPECT_FALSE(Exists(file)) << file;
    EXPECT_FALSE(Exists(root_ + "/share/korvel3d"));
}

}  // namespace
